#include "engine/graphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "engine/bmp_writer.h"
#include "engine/engine_impl.h"
#include "engine/image_decode_ahead.h"
#include "engine/png_codec.h"
#include "engine/scaled_images.h"

namespace {
constexpr int kMaxLines = GlDevice::kMaxVertices / PRIM_LINES;
constexpr int kMaxTriangles = GlDevice::kMaxVertices / PRIM_TRIANGLES;
constexpr int kMaxQuads = GlDevice::kMaxQuads;

bool ValidKind(int kind) {
  return kind == PRIM_LINES || kind == PRIM_TRIANGLES || kind == PRIM_QUADS;
}
}  // namespace

Graphics::~Graphics() {
  Shutdown();
}

void Graphics::PrepareWindow(platform::WindowSpec* spec) {
  GlDevice::PrepareWindow(spec);
}

bool Graphics::HasDevice() const {
  return device_.Exists();
}

void Graphics::Fail(const char* message) {
  lastError_ = message;
  engine_.PostError("%s", message);
}

bool Graphics::Initiate() {
  const char* failure = nullptr;
  if (!device_.Create(engine_.window, &failure)) {
    if (device_.FailureDetail()[0] != '\0') engine_.System_Log("%s", device_.FailureDetail());
    Fail(failure);
    return false;
  }
  engine_.System_Log("GL Driver: %s", device_.Vendor());
  engine_.System_Log("Description: %s", device_.Renderer());
  engine_.System_Log("Version: %s", device_.Version());

  screenWidth_ = engine_.screenWidth;
  screenHeight_ = engine_.screenHeight;
  scale_ = std::max(engine_.pixelScale, 1);
  if (!device_.CreateFramebuffer(screenWidth_ * scale_, screenHeight_ * scale_, engine_.depthBuffer,
                                 &screenFramebuffer_, &screenTexture_, &screenDepth_)) {
    device_.Destroy();
    Fail("Can't create D3D device");
    return false;
  }
  engine_.screenBpp = 32;
  vsync_ = engine_.fps == -1;
  device_.SetSwapInterval(vsync_);
  device_.SetLineWidth(scale_);
  engine_.System_Log("Mode: %d x %d x %s\n", screenWidth_, screenHeight_, "X8R8G8B8");

  buffer_.assign(GlDevice::kMaxVertices, Vertex{});
  vertices_ = nullptr;
  primCount_ = 0;
  primKind_ = PRIM_QUADS;
  currentBlend_ = BLEND_DEFAULT;
  currentTexture_ = nullptr;
  linearFilter_ = engine_.textureFilter;
  scene_.SetLinearFilter(linearFilter_);
  BindTarget(nullptr);
  currentTarget_ = nullptr;
  Clear(0);
  return true;
}

void Graphics::Shutdown() {
  scene_.BeforeDeviceChange();
  vertices_ = nullptr;
  primCount_ = 0;
  for (GfxTexture* texture : textures_) DeleteTexture(texture);
  textures_.clear();
  // Textures from Texture_Create stay with their owner; only their device object goes.
  for (GfxTexture* texture : created_) {
    device_.DeleteTexture(texture->name);
    texture->name = 0;
  }
  for (GfxTarget* target : targets_) {
    device_.DeleteFramebuffer(target->framebuffer, target->texture.name, target->depth);
    delete target;
  }
  targets_.clear();
  device_.DeleteFramebuffer(screenFramebuffer_, screenTexture_, screenDepth_);
  screenFramebuffer_ = screenTexture_ = screenDepth_ = 0;
  device_.Destroy();
  scale_ = 1;
  currentTarget_ = nullptr;
  currentTexture_ = nullptr;
  currentBlend_ = BLEND_DEFAULT;
  primKind_ = PRIM_QUADS;
}

void Graphics::SetTextureFilter(bool on) {
  if (!device_.Exists()) return;
  Flush(false);
  linearFilter_ = on;
  engine_.textureFilter = on;
  scene_.SetLinearFilter(on);
}

void Graphics::FollowTextureFilter() {
  if (engine_.textureFilter != linearFilter_) SetTextureFilter(engine_.textureFilter);
}

void Graphics::SetVsync(bool on) {
  if (!device_.Exists()) return;
  vsync_ = on;
  device_.SetSwapInterval(on);
}

// --- Scene and batch ---

bool Graphics::BeginScene(TargetHandle target) {
  if (!device_.Exists()) return false;
  if (vertices_ != nullptr) {
    Fail("Gfx_BeginScene: Scene is already being rendered");
    return false;
  }
  if ((engine_.fps == -1) != vsync_) SetVsync(engine_.fps == -1);
  if (target == nullptr) scene_.Begin();
  if (target != currentTarget_) {
    if (target != nullptr && target->framebuffer == 0) {
      Fail("Gfx_BeginScene: Can't set render target");
      return false;
    }
    currentTarget_ = target;
    BindTarget(target);
  }
  vertices_ = buffer_.data();
  return true;
}

void Graphics::EndScene() {
  if (vertices_ == nullptr) return;
  Flush(true);
  if (currentTarget_ != nullptr) return;
  // Under vertical synchronisation the swap paces the frames, so every scene is presented.
  const bool drawn = scene_.End(engine_.skipUnchangedFrames && !vsync_);
  SaveRequestedCapture();
  if (drawn) device_.Present(screenFramebuffer_, screenWidth_ * scale_, screenHeight_ * scale_);
}

void Graphics::Clear(std::uint32_t colour) {
  if (!device_.Exists()) return;
  // Primitives batched before the clear belong under what follows it, not on top.
  Flush(false);
  const bool depth = currentTarget_ ? currentTarget_->withDepth : engine_.depthBuffer;
  scene_.Clear(colour, depth);
}

void Graphics::Flush(bool ending) {
  if (vertices_ == nullptr) return;
  if (primCount_ > 0) {
    scene_.Draw(primKind_, primCount_, buffer_.data());
    ++drawCalls_;
  }
  primCount_ = 0;
  if (ending) vertices_ = nullptr;
}

void Graphics::PrepareBatch(int kind, int limit, TextureHandle texture, int blend) {
  FollowTextureFilter();
  if (primKind_ == kind && primCount_ < limit && texture == currentTexture_ &&
      blend == currentBlend_)
    return;
  Flush(false);
  primKind_ = kind;
  if (blend != currentBlend_) ApplyBlend(blend);
  if (texture != currentTexture_) ApplyTexture(texture);
}

void Graphics::ApplyBlend(int blend) {
  const int changed = blend ^ currentBlend_;
  if (changed & BLEND_ALPHA_BLEND) scene_.SetAlphaBlend(blend & BLEND_ALPHA_BLEND);
  if (changed & BLEND_DEPTH_WRITE) scene_.SetDepthWrite(blend & BLEND_DEPTH_WRITE);
  if (changed & BLEND_COLOR_ADD) scene_.SetColourAdd(blend & BLEND_COLOR_ADD);
  currentBlend_ = blend;
}

void Graphics::ApplyTexture(TextureHandle texture) {
  scene_.BindTexture(texture ? texture->name : 0);
  currentTexture_ = texture;
}

void Graphics::DrawLine(float x1, float y1, float x2, float y2, std::uint32_t colour, float z) {
  if (vertices_ == nullptr) return;
  PrepareBatch(PRIM_LINES, kMaxLines, nullptr, BLEND_DEFAULT);
  Vertex* v = vertices_ + primCount_ * PRIM_LINES;
  v[0] = Vertex{x1, y1, z, colour, 0, 0};
  v[1] = Vertex{x2, y2, z, colour, 0, 0};
  ++primCount_;
}

void Graphics::DrawTriangle(const Triangle* triangle) {
  if (vertices_ == nullptr || triangle == nullptr) return;
  PrepareBatch(PRIM_TRIANGLES, kMaxTriangles, triangle->texture, triangle->blend);
  std::memcpy(vertices_ + primCount_ * PRIM_TRIANGLES, triangle->v, sizeof triangle->v);
  ++primCount_;
}

void Graphics::DrawQuad(const Quad* quad) {
  if (vertices_ == nullptr || quad == nullptr) return;
  PrepareBatch(PRIM_QUADS, kMaxQuads, quad->texture, quad->blend);
  std::memcpy(vertices_ + primCount_ * PRIM_QUADS, quad->v, sizeof quad->v);
  ++primCount_;
}

Vertex* Graphics::BeginBatch(int kind, TextureHandle texture, int blend, int* maximum) {
  if (vertices_ == nullptr || !ValidKind(kind)) return nullptr;
  FollowTextureFilter();
  Flush(false);
  primKind_ = kind;
  if (blend != currentBlend_) ApplyBlend(blend);
  if (texture != currentTexture_) ApplyTexture(texture);
  if (maximum != nullptr) *maximum = GlDevice::kMaxVertices / kind;
  return vertices_;
}

void Graphics::EndBatch(int primitiveCount) {
  // A count past the buffer would draw vertices nobody wrote.
  primCount_ = std::clamp(primitiveCount, 0, GlDevice::kMaxVertices / primKind_);
}

// --- Clipping and transforms ---

Graphics::Rect Graphics::Bounds() const {
  if (currentTarget_ != nullptr) return {0, 0, currentTarget_->width, currentTarget_->height};
  return {0, 0, screenWidth_, screenHeight_};
}

unsigned Graphics::CurrentFramebuffer() const {
  return currentTarget_ ? currentTarget_->framebuffer : screenFramebuffer_;
}

void Graphics::BindTarget(GfxTarget* target) {
  scene_.BindFramebuffer(target ? target->framebuffer : screenFramebuffer_);
  scene_.SetDepthTest(target ? target->withDepth : engine_.depthBuffer);
  const Rect bounds =
      target ? Rect{0, 0, target->width, target->height} : Rect{0, 0, screenWidth_, screenHeight_};
  SetViewport(bounds);
  view_ = Affine{};
  SetProjection(bounds);
}

// The screen's viewport is in physical pixels; a render target has no scale of its own.
void Graphics::SetViewport(const Rect& area) {
  const int s = currentTarget_ != nullptr ? 1 : scale_;
  scene_.SetViewport(area.x * s, area.y * s, area.width * s, area.height * s);
}

// Maps the area's pixels onto the whole viewport. Pixel edges stay on integer coordinates, so a
// quad at integer coordinates covers whole pixels and samples texel centres.
void Graphics::SetProjection(const Rect& area) {
  const float width = static_cast<float>(std::max(area.width, 1));
  const float height = static_cast<float>(std::max(area.height, 1));
  projection_ = Affine{2.0f / width,
                       0,
                       0,
                       2.0f / height,
                       -1.0f - 2.0f * area.x / width,
                       -1.0f - 2.0f * area.y / height};
  UploadTransform();
}

void Graphics::UploadTransform() {
  const Affine& p = projection_;
  const Affine& v = view_;
  // Depth 0 to 1 becomes clip z -1 to 1, so the depth buffer holds z itself.
  const float matrix[16] = {p.a * v.a,
                            p.d * v.b,
                            0,
                            0,  //
                            p.a * v.c,
                            p.d * v.d,
                            0,
                            0,  //
                            0,
                            0,
                            2,
                            0,  //
                            p.a * v.tx + p.tx,
                            p.d * v.ty + p.ty,
                            -1,
                            1};
  scene_.SetTransform(matrix);
}

void Graphics::SetClipRect(int x, int y, int width, int height) {
  if (!device_.Exists()) return;
  const Rect bounds = Bounds();
  Rect clip = bounds;
  if (width != 0) {
    if (x < 0) {
      width += x;
      x = 0;
    }
    if (y < 0) {
      height += y;
      y = 0;
    }
    width = std::min(width, bounds.width - x);
    height = std::min(height, bounds.height - y);
    clip = Rect{x, y, std::max(width, 0), std::max(height, 0)};
  }
  Flush(false);
  SetViewport(clip);
  SetProjection(clip);
}

void Graphics::SetTransform(float x, float y, float dx, float dy, float rotation, float hscale,
                            float vscale) {
  if (!device_.Exists()) return;
  Affine view;
  if (vscale != 0.0f) {
    // Move (x, y) to the origin, scale, rotate by -rotation, then move to (x + dx, y + dy).
    const float cosine = std::cos(-rotation);
    const float sine = std::sin(-rotation);
    const float a = hscale * cosine, b = hscale * sine;
    const float c = -vscale * sine, d = vscale * cosine;
    view = Affine{a, b, c, d, -(a * x + c * y) + x + dx, -(b * x + d * y) + y + dy};
  }
  Flush(false);
  view_ = view;
  UploadTransform();
}

// --- Render targets ---

TargetHandle Graphics::TargetCreate(int width, int height, bool withDepth) {
  const int maxSide = device_.Exists() ? device_.MaxTextureSize() : 0;
  if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) {
    Fail("Can't create render target texture");
    return nullptr;
  }
  auto* target = new GfxTarget;
  target->width = width;
  target->height = height;
  target->withDepth = withDepth;
  scene_.BeforeDeviceChange();
  if (!device_.CreateFramebuffer(width, height, withDepth, &target->framebuffer,
                                 &target->texture.name, &target->depth)) {
    unsigned fb = 0, texture = 0, depth = 0;
    const bool colourWorks =
        withDepth && device_.CreateFramebuffer(width, height, false, &fb, &texture, &depth);
    device_.DeleteFramebuffer(fb, texture, depth);
    delete target;
    Fail(colourWorks ? "Can't create render target depth buffer"
                     : "Can't create render target texture");
    scene_.BindFramebuffer(CurrentFramebuffer());
    return nullptr;
  }
  target->texture.width = width;
  target->texture.height = height;
  target->texture.ownedByTarget = true;
  targets_.insert(targets_.begin(), target);
  scene_.BindFramebuffer(CurrentFramebuffer());
  return target;
}

void Graphics::TargetFree(TargetHandle target) {
  auto found = std::find(targets_.begin(), targets_.end(), target);
  if (target == nullptr || found == targets_.end()) return;
  if (currentTexture_ == &target->texture) {
    Flush(false);
    ApplyTexture(nullptr);
  }
  if (currentTarget_ == target) {
    Flush(false);
    currentTarget_ = nullptr;
    BindTarget(nullptr);
  }
  targets_.erase(found);
  scene_.BeforeDeviceChange();
  device_.DeleteFramebuffer(target->framebuffer, target->texture.name, target->depth);
  delete target;
}

TextureHandle Graphics::TargetTexture(TargetHandle target) {
  return target ? &target->texture : nullptr;
}

// --- Textures ---

TextureHandle Graphics::MakeTexture(int width, int height, const std::uint32_t* pixels,
                                    bool mipmaps, int density) {
  scene_.BeforeDeviceChange();
  const unsigned name = device_.CreateTexture(width, height, pixels, mipmaps);
  if (name == 0) return nullptr;
  auto* texture = new GfxTexture;
  texture->name = name;
  texture->width = texture->imageWidth = width / density;
  texture->height = texture->imageHeight = height / density;
  texture->density = density;
  texture->mipmaps = mipmaps;
  // Locks hand out pixels of the texture's own size, which a scaled texture does not have.
  texture->lockable = density == 1;
  return texture;
}

void Graphics::DeleteTexture(TextureHandle texture) {
  scene_.BeforeDeviceChange();
  device_.DeleteTexture(texture->name);
  delete texture;
}

TextureHandle Graphics::TextureCreate(int width, int height) {
  const int maxSide = device_.Exists() ? device_.MaxTextureSize() : 0;
  TextureHandle texture = nullptr;
  if (width > 0 && height > 0 && width <= maxSide && height <= maxSide) {
    // Blank means transparent black; the zeros live only as long as the upload.
    const std::vector<std::uint32_t> blank(static_cast<std::size_t>(width) * height, 0);
    texture = MakeTexture(width, height, blank.data(), false);
  }
  if (texture == nullptr) {
    Fail("Can't create texture");
    return nullptr;
  }
  created_.push_back(texture);
  return texture;
}

namespace {
// Decodes PNG or BMP bytes, taking what was decoded ahead for bytes in memory.
bool DecodeImage(const void* bytes, std::uint32_t size, bool inMemory, ImageArgb* image) {
  if (inMemory && TakeDecodedImage(bytes, size, image)) return true;
  if (IsPng(bytes, size)) return DecodePng(bytes, size, image);
  if (IsBmp(bytes, size)) return DecodeBmp(bytes, size, image);
  return false;
}
}  // namespace

// On a screen of scale 2 the registered doubled image comes in place of the image; any other
// image is scaled up to the screen's pixels by repeating pixels. Either way the texture measures
// as the image, so texture coordinates in its pixels stay as they are.
bool Graphics::DecodeForScale(const void* bytes, std::uint32_t size, bool inMemory,
                              ImageArgb* image, int* density) {
  *density = 1;
  if (inMemory && scale_ == 2) {
    const std::span<const unsigned char> doubled = DoubledImageOf(bytes);
    if (!doubled.empty() &&
        DecodeImage(doubled.data(), static_cast<std::uint32_t>(doubled.size()), true, image)) {
      *density = 2;
      return true;
    }
  }
  if (!DecodeImage(bytes, size, inMemory, image)) return false;
  if (scale_ == 1) return true;
  const int maxSide = device_.MaxTextureSize();
  if (image->width <= maxSide / scale_ && image->height <= maxSide / scale_) {
    *image = NearestScaled(*image, scale_);
    *density = scale_;
  }
  return true;
}

TextureHandle Graphics::TextureLoad(const void* dataOrName, std::uint32_t size, bool mipmaps) {
  const void* bytes = dataOrName;
  void* loaded = nullptr;
  if (size == 0) {
    if (dataOrName == nullptr) return nullptr;
    loaded = engine_.Resource_Load(static_cast<const char*>(dataOrName), &size);
    if (loaded == nullptr) return nullptr;
    bytes = loaded;
  }
  ImageArgb image;
  int density = 1;
  const bool decoded = DecodeForScale(bytes, size, loaded == nullptr, &image, &density);
  if (loaded != nullptr) engine_.Resource_Free(loaded);

  const int maxSide = device_.Exists() ? device_.MaxTextureSize() : 0;
  TextureHandle texture = nullptr;
  if (decoded && image.width <= maxSide && image.height <= maxSide) {
    texture = MakeTexture(image.width, image.height, image.pixels.data(), mipmaps, density);
  }
  if (texture == nullptr) {
    Fail("Can't create texture");
    return nullptr;
  }
  texture->listed = true;
  textures_.insert(textures_.begin(), texture);
  return texture;
}

void Graphics::TextureFree(TextureHandle texture) {
  // Only textures this part still holds: a handle the shutdown already freed, or a target's
  // texture, is not freed again.
  const bool known = std::find(textures_.begin(), textures_.end(), texture) != textures_.end() ||
                     std::find(created_.begin(), created_.end(), texture) != created_.end();
  if (texture == nullptr || !known) return;
  if (texture == currentTexture_) {
    Flush(false);
    ApplyTexture(nullptr);
  }
  std::erase(textures_, texture);
  std::erase(created_, texture);
  DeleteTexture(texture);
}

int Graphics::TextureWidth(TextureHandle texture, bool fromImage) {
  if (texture == nullptr) return 0;
  if (fromImage) return texture->listed ? texture->imageWidth : 0;
  return texture->width;
}

int Graphics::TextureHeight(TextureHandle texture, bool fromImage) {
  if (texture == nullptr) return 0;
  if (fromImage) return texture->listed ? texture->imageHeight : 0;
  return texture->height;
}

std::uint32_t* Graphics::TextureLock(TextureHandle texture, bool readOnly, int left, int top,
                                     int width, int height) {
  // Only A8R8G8B8 textures can be locked; render targets are not.
  if (texture == nullptr || !texture->lockable) return nullptr;
  if (width == 0 || height == 0) {
    left = top = 0;
    width = texture->width;
    height = texture->height;
  }
  const bool inside = left >= 0 && top >= 0 && width > 0 && height > 0 &&
                      width <= texture->width - left && height <= texture->height - top;
  if (texture->locked || !inside || texture->name == 0) {
    Fail("Can't lock texture");
    return nullptr;
  }
  texture->pixels.resize(static_cast<std::size_t>(texture->width) * texture->height);
  device_.ReadTexture(texture->name, texture->width, texture->pixels.data());
  texture->locked = true;
  texture->lockedReadOnly = readOnly;
  texture->lockLeft = left;
  texture->lockTop = top;
  texture->lockWidth = width;
  texture->lockHeight = height;
  return &texture->pixels[static_cast<std::size_t>(top) * texture->width + left];
}

void Graphics::TextureUnlock(TextureHandle texture) {
  if (texture == nullptr || !texture->locked) return;
  texture->locked = false;
  if (!texture->lockedReadOnly && texture->name != 0) {
    if (texture == currentTexture_) Flush(false);
    scene_.BeforeDeviceChange();
    const std::size_t first =
        static_cast<std::size_t>(texture->lockTop) * texture->width + texture->lockLeft;
    device_.UpdateTexture(texture->name, texture->lockLeft, texture->lockTop, texture->lockWidth,
                          texture->lockHeight, &texture->pixels[first], texture->width,
                          texture->mipmaps);
  }
  // The copy lives only while locked: most textures are never locked, and the device has them.
  std::vector<std::uint32_t>().swap(texture->pixels);
}

// --- Reading the picture back ---

bool Graphics::ReadPixels(TargetHandle target, int x, int y, int width, int height,
                          std::uint32_t* argb) {
  if (!device_.Exists() || argb == nullptr) return false;
  const int boundsWidth = target ? target->width : screenWidth_ * scale_;
  const int boundsHeight = target ? target->height : screenHeight_ * scale_;
  if (x < 0 || y < 0 || width <= 0 || height <= 0 || width > boundsWidth - x ||
      height > boundsHeight - y)
    return false;
  Flush(false);
  scene_.DrawHeldBack();
  device_.ReadPixels(target ? target->framebuffer : screenFramebuffer_, x, y, width, height, argb);
  // The back buffer has no alpha of its own (X8R8G8B8); what blending left there is not shown.
  if (target == nullptr) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i)
      argb[i] |= 0xFF000000u;
  }
  return true;
}

bool Graphics::SaveBackBuffer(const char* path) {
  const int width = screenWidth_ * scale_, height = screenHeight_ * scale_;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  return ReadPixels(nullptr, 0, 0, width, height, pixels.data()) &&
         WriteBmp(path, width, height, pixels.data());
}

void Graphics::RequestCapture(const char* path) {
  capturePath_ = path != nullptr ? path : "";
  captureStatus_ = capturePath_.empty() ? FrameCaptureStatus::kNone : FrameCaptureStatus::kPending;
}

void Graphics::SaveRequestedCapture() {
  if (capturePath_.empty()) return;
  const bool saved = SaveBackBufferPng(capturePath_.c_str());
  captureStatus_ = saved ? FrameCaptureStatus::kSaved : FrameCaptureStatus::kFailed;
  capturePath_.clear();
}

bool Graphics::SaveBackBufferPng(const char* path) {
  const int width = screenWidth_ * scale_, height = screenHeight_ * scale_;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  return ReadPixels(nullptr, 0, 0, width, height, pixels.data()) &&
         WritePng(path, width, height, pixels.data());
}
