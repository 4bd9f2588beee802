#include "engine/gl_device.h"

#include "engine/gl_api.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "engine/gl_shader.h"

namespace {
constexpr int kGlMajor = 3;
constexpr int kGlMinor = 3;
constexpr int kIndicesPerQuad = 6;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// ARGB words are B, G, R, A bytes in memory on this little-endian platform.
constexpr GLenum kPixelFormat = GL_BGRA;
constexpr GLenum kPixelType = GL_UNSIGNED_BYTE;

// Texture work must not disturb the texture the batch has bound.
class TextureBindingKeeper {
 public:
  TextureBindingKeeper() { glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound_); }
  ~TextureBindingKeeper() { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound_)); }
  TextureBindingKeeper(const TextureBindingKeeper&) = delete;
  TextureBindingKeeper& operator=(const TextureBindingKeeper&) = delete;

 private:
  GLint bound_ = 0;
};

GLenum PrimitiveMode(int kind) {
  return kind == PRIM_LINES ? GL_LINES : GL_TRIANGLES;
}
}  // namespace

// The scene is drawn into a framebuffer of our own; the window needs colour only, which is what
// the platform gives a GL window.
void GlDevice::PrepareWindow(platform::WindowSpec* spec) {
  spec->glMajor = kGlMajor;
  spec->glMinor = kGlMinor;
}

bool GlDevice::Create(void* window, const char** failure) {
  detail_[0] = '\0';
  window_ = window;
  context_ = window != nullptr ? platform::Current().CreateGlContext(window) : nullptr;
  if (context_ == nullptr) {
    std::snprintf(detail_, sizeof detail_, "%s", platform::Current().LastError());
    *failure = "Can't create D3D device";
    return false;
  }
  if (LoadGlFunctions() < kGlMajor * 10 + kGlMinor || !CreateProgram()) {
    *failure = "Can't create D3D device";
    Destroy();
    return false;
  }
  if (!CreateBuffers()) {
    *failure = "Can't create D3D vertex buffer";
    Destroy();
    return false;
  }
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_FALSE);
  glDisable(GL_DEPTH_TEST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glGenSamplers(1, &sampler_);
  glBindSampler(0, sampler_);
  SetLinearFilter(true);
  whiteTexture_ = CreateTexture(1, 1, &kWhite, false);
  BindTexture(0);
  return true;
}

bool GlDevice::CreateProgram() {
  program_ = BuildShaderProgram(detail_, sizeof detail_);
  if (program_ == 0) return false;
  glUseProgram(program_);
  transformLocation_ = glGetUniformLocation(program_, kUniformTransform);
  colourAddLocation_ = glGetUniformLocation(program_, kUniformColourAdd);
  glUniform1i(glGetUniformLocation(program_, kUniformTexture), 0);
  glUniform1i(colourAddLocation_, 0);
  return true;
}

bool GlDevice::CreateBuffers() {
  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  glGenBuffers(1, &vertexBuffer_);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  glBufferData(GL_ARRAY_BUFFER, kMaxVertices * sizeof(Vertex), nullptr, GL_STREAM_DRAW);
  glEnableVertexAttribArray(kAttribPosition);
  glVertexAttribPointer(kAttribPosition, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                        reinterpret_cast<void*>(offsetof(Vertex, x)));
  glEnableVertexAttribArray(kAttribColour);
  // GL_BGRA as the size reads the ARGB word in the order the shader wants (r, g, b, a).
  glVertexAttribPointer(kAttribColour, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                        reinterpret_cast<void*>(offsetof(Vertex, colour)));
  glEnableVertexAttribArray(kAttribTexCoord);
  glVertexAttribPointer(kAttribTexCoord, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                        reinterpret_cast<void*>(offsetof(Vertex, u)));

  // Quad n is the triangles (4n, 4n+1, 4n+2) and (4n+2, 4n+3, 4n).
  std::vector<std::uint16_t> indices(kMaxQuads * kIndicesPerQuad);
  for (int n = 0; n < kMaxQuads; ++n) {
    const auto base = static_cast<std::uint16_t>(4 * n);
    const std::uint16_t quad[kIndicesPerQuad] = {base,
                                                 static_cast<std::uint16_t>(base + 1),
                                                 static_cast<std::uint16_t>(base + 2),
                                                 static_cast<std::uint16_t>(base + 2),
                                                 static_cast<std::uint16_t>(base + 3),
                                                 base};
    for (int i = 0; i < kIndicesPerQuad; ++i) indices[n * kIndicesPerQuad + i] = quad[i];
  }
  glGenBuffers(1, &indexBuffer_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(std::uint16_t), indices.data(),
               GL_STATIC_DRAW);
  return glGetError() == GL_NO_ERROR;
}

void GlDevice::Destroy() {
  if (context_ == nullptr) return;
  if (whiteTexture_ != 0) glDeleteTextures(1, &whiteTexture_);
  if (sampler_ != 0) glDeleteSamplers(1, &sampler_);
  if (indexBuffer_ != 0) glDeleteBuffers(1, &indexBuffer_);
  if (vertexBuffer_ != 0) glDeleteBuffers(1, &vertexBuffer_);
  if (vertexArray_ != 0) glDeleteVertexArrays(1, &vertexArray_);
  if (program_ != 0) glDeleteProgram(program_);
  whiteTexture_ = sampler_ = indexBuffer_ = vertexBuffer_ = vertexArray_ = program_ = 0;
  platform::Current().DeleteGlContext(context_);
  context_ = nullptr;
  window_ = nullptr;
}

const char* GlDevice::Vendor() const {
  return reinterpret_cast<const char*>(glGetString(GL_VENDOR));
}
const char* GlDevice::Renderer() const {
  return reinterpret_cast<const char*>(glGetString(GL_RENDERER));
}
const char* GlDevice::Version() const {
  return reinterpret_cast<const char*>(glGetString(GL_VERSION));
}

int GlDevice::MaxTextureSize() const {
  GLint size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  return size;
}

void GlDevice::SetSwapInterval(bool vsync) {
  platform::Current().SetSwapInterval(vsync ? 1 : 0);
}

void GlDevice::SetAlphaBlend(bool on) {
  glBlendFunc(GL_SRC_ALPHA, on ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
}
void GlDevice::SetDepthWrite(bool on) {
  glDepthMask(on ? GL_TRUE : GL_FALSE);
}
void GlDevice::SetDepthTest(bool on) {
  on ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
}
void GlDevice::SetColourAdd(bool on) {
  glUniform1i(colourAddLocation_, on ? 1 : 0);
}

void GlDevice::SetLinearFilter(bool on) {
  // Single-level textures clamp their level range, so the mip part of the filter is harmless.
  glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER,
                      on ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST);
  glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, on ? GL_LINEAR : GL_NEAREST);
}

void GlDevice::BindTexture(unsigned name) {
  glBindTexture(GL_TEXTURE_2D, name != 0 ? name : whiteTexture_);
}

void GlDevice::SetViewport(int x, int y, int width, int height) {
  glViewport(x, y, width, height);
}

void GlDevice::SetLineWidth(int pixels) {
  GLfloat range[2] = {1, 1};
  glGetFloatv(GL_ALIASED_LINE_WIDTH_RANGE, range);
  glLineWidth(std::min(static_cast<GLfloat>(pixels), range[1]));
}

void GlDevice::SetTransform(const float matrix[16]) {
  glUniformMatrix4fv(transformLocation_, 1, GL_FALSE, matrix);
}

void GlDevice::Draw(int kind, int count, const Vertex* vertices) {
  if (count <= 0) return;
  const int vertexCount = kind * count;
  // Orphaning the buffer lets the driver keep drawing the previous batch while we fill this one.
  glBufferData(GL_ARRAY_BUFFER, kMaxVertices * sizeof(Vertex), nullptr, GL_STREAM_DRAW);
  glBufferSubData(GL_ARRAY_BUFFER, 0, vertexCount * sizeof(Vertex), vertices);
  if (kind == PRIM_QUADS) {
    glDrawElements(GL_TRIANGLES, count * kIndicesPerQuad, GL_UNSIGNED_SHORT, nullptr);
  } else {
    glDrawArrays(PrimitiveMode(kind), 0, vertexCount);
  }
  ++drawCalls_;
}

unsigned GlDevice::CreateTexture(int width, int height, const std::uint32_t* argb, bool mipmaps) {
  while (glGetError() != GL_NO_ERROR) {
  }
  const TextureBindingKeeper keeper;
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  if (!mipmaps) {
    // Told before the upload, the driver stores level 0 alone instead of guessing a whole chain
    // from the default minification filter (the sampler object does the real filtering).
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  }
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, kPixelFormat, kPixelType, argb);
  if (mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
  const bool ok = glGetError() == GL_NO_ERROR;
  if (!ok) {
    glDeleteTextures(1, &name);
    name = 0;
  }
  return name;
}

void GlDevice::UpdateTexture(unsigned name, int x, int y, int width, int height,
                             const std::uint32_t* argb, int pitch, bool mipmaps) {
  const TextureBindingKeeper keeper;
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, pitch);
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, kPixelFormat, kPixelType, argb);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  if (mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
}

void GlDevice::ReadTexture(unsigned name, int width, std::uint32_t* argb) {
  const TextureBindingKeeper keeper;
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_PACK_ROW_LENGTH, width);
  glGetTexImage(GL_TEXTURE_2D, 0, kPixelFormat, kPixelType, argb);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}

void GlDevice::DeleteTexture(unsigned name) {
  if (name != 0 && context_ != nullptr) glDeleteTextures(1, &name);
}

bool GlDevice::CreateFramebuffer(int width, int height, bool withDepth, unsigned* framebuffer,
                                 unsigned* texture, unsigned* depth) {
  *framebuffer = *depth = 0;
  *texture = CreateTexture(width, height, nullptr, false);
  if (*texture == 0) return false;
  glGenFramebuffers(1, framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, *framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, *texture, 0);
  if (withDepth) {
    glGenRenderbuffers(1, depth);
    glBindRenderbuffer(GL_RENDERBUFFER, *depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, *depth);
  }
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (!complete) {
    DeleteFramebuffer(*framebuffer, *texture, *depth);
    *framebuffer = *texture = *depth = 0;
  }
  return complete;
}

void GlDevice::DeleteFramebuffer(unsigned framebuffer, unsigned texture, unsigned depth) {
  if (context_ == nullptr) return;
  if (framebuffer != 0) glDeleteFramebuffers(1, &framebuffer);
  if (depth != 0) glDeleteRenderbuffers(1, &depth);
  DeleteTexture(texture);
}

void GlDevice::BindFramebuffer(unsigned framebuffer) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void GlDevice::Clear(std::uint32_t argb, bool depth) {
  constexpr float kScale = 1.0f / 255.0f;
  glClearColor(((argb >> 16) & 0xFF) * kScale, ((argb >> 8) & 0xFF) * kScale,
               (argb & 0xFF) * kScale, (argb >> 24) * kScale);
  GLbitfield mask = GL_COLOR_BUFFER_BIT;
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  if (depth) {
    // Depth writes may be off by the blend bits; clearing must still reach the depth buffer.
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  glClear(mask);
  glDepthMask(depthWrites);
}

void GlDevice::ReadPixels(unsigned framebuffer, int x, int y, int width, int height,
                          std::uint32_t* argb) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glReadPixels(x, y, width, height, kPixelFormat, kPixelType, argb);
}

void GlDevice::Present(unsigned framebuffer, int width, int height) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  int drawableWidth = width, drawableHeight = height;
  platform::Current().GetDrawableSize(window_, &drawableWidth, &drawableHeight);
  // Smaller only where a scale above the desktop's was forced; a larger one keeps sharp pixels.
  const GLenum filter = drawableWidth < width ? GL_LINEAR : GL_NEAREST;
  // Our rows run top first; the window's run bottom first.
  glBlitFramebuffer(0, 0, width, height, 0, drawableHeight, drawableWidth, 0, GL_COLOR_BUFFER_BIT,
                    filter);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  platform::Current().SwapWindow(window_);
}
