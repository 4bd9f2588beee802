#pragma once
// The OpenGL 3.3 core backend: the only file that calls GL. It owns the context, the shader, the
// streaming vertex buffer with its static quad index buffer, and offers the few operations the
// batching layer (Graphics) needs: state changes, one draw per call, textures and framebuffers.

#include <cstdint>

#include "engine/engine.h"
#include "engine/platform/platform.h"

class GlDevice {
 public:
  static constexpr int kMaxVertices = 4000;
  static constexpr int kMaxQuads = 1000;

  // Asks for a window that carries a 3.3 core context.
  static void PrepareWindow(platform::WindowSpec* spec);

  // Creates the context on the window, the shader, the buffers and the default state. On failure
  // returns false and points *failure at one of the engine's graphics messages.
  bool Create(void* window, const char** failure);
  void Destroy();
  bool Exists() const { return context_ != nullptr; }
  // The driver's own words about the last failure of Create (may be empty).
  const char* FailureDetail() const { return detail_; }

  const char* Vendor() const;
  const char* Renderer() const;
  const char* Version() const;
  int MaxTextureSize() const;
  void SetSwapInterval(bool vsync);

  // State, applied as given (the caller skips unchanged values).
  void SetAlphaBlend(bool on);
  void SetDepthWrite(bool on);
  void SetDepthTest(bool on);
  void SetColourAdd(bool on);
  void SetLinearFilter(bool on);
  // Binds the texture to unit 0; 0 binds a white texel so untextured vertices keep their colour.
  void BindTexture(unsigned name);
  void SetViewport(int x, int y, int width, int height);
  // Lines as wide as one screen pixel at the physical scale.
  void SetLineWidth(int pixels);
  // Column-major 4x4 matrix from pixel space to clip space.
  void SetTransform(const float matrix[16]);

  // Uploads `count` primitives of `kind` vertices each and draws them in one call.
  void Draw(int kind, int count, const Vertex* vertices);
  std::uint64_t DrawCalls() const { return drawCalls_; }

  // Textures hold ARGB pixels, rows top first. Returns 0 on failure.
  unsigned CreateTexture(int width, int height, const std::uint32_t* argb, bool mipmaps);
  // Reads level 0 of a texture `width` pixels wide into argb, rows top first.
  void ReadTexture(unsigned name, int width, std::uint32_t* argb);
  // Replaces a rectangle; rows of the source are `pitch` pixels apart.
  void UpdateTexture(unsigned name, int x, int y, int width, int height, const std::uint32_t* argb,
                     int pitch, bool mipmaps);
  void DeleteTexture(unsigned name);

  // A framebuffer drawing into an RGBA texture of the size, with an optional 16-bit depth buffer.
  bool CreateFramebuffer(int width, int height, bool withDepth, unsigned* framebuffer,
                         unsigned* texture, unsigned* depth);
  void DeleteFramebuffer(unsigned framebuffer, unsigned texture, unsigned depth);
  void BindFramebuffer(unsigned framebuffer);

  void Clear(std::uint32_t argb, bool depth);
  // Reads a rectangle of the framebuffer as ARGB, rows top first.
  void ReadPixels(unsigned framebuffer, int x, int y, int width, int height, std::uint32_t* argb);
  // Copies the framebuffer (rows top first) to the window's drawable, scaled to its size, and
  // swaps.
  void Present(unsigned framebuffer, int width, int height);

 private:
  bool CreateProgram();
  bool CreateBuffers();

  void* window_ = nullptr;
  void* context_ = nullptr;
  unsigned program_ = 0;
  int transformLocation_ = -1;
  int colourAddLocation_ = -1;
  unsigned vertexArray_ = 0;
  unsigned vertexBuffer_ = 0;
  unsigned indexBuffer_ = 0;
  unsigned whiteTexture_ = 0;
  unsigned sampler_ = 0;
  std::uint64_t drawCalls_ = 0;
  char detail_[512] = {};
};
