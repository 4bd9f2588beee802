#pragma once
// The drawing half of the engine: the device, the batch of one streaming vertex buffer, textures
// and render targets. EngineImpl forwards its Gfx_, Target_ and Texture_ operations here
// (engine_graphics.cpp); the GL calls themselves live in GlDevice.
//
// Batching. Primitives collect in one buffer of 4000 vertices (2000 lines, 1333 triangles or
// 1000 quads) and go to the device in one draw when the batch is flushed. A flush happens when:
//   - the primitive kind changes, or the batch is full;
//   - the texture or the blend value of the next primitive differs from the current one
//     (lines always use no texture and BLEND_DEFAULT);
//   - Gfx_BeginBatch starts, the clip rectangle, the view transform or the texture filter
//     changes, a texture that is bound is freed;
//   - the scene ends.
// Device state changes happen only when the blend bits or the texture differ from what is set.
// DrawCalls() counts the draws the batching made, for tests and benchmarks.
//
// A scene on the screen reaches the device only when it ends, through SceneRecorder, and is not
// drawn or presented again while it repeats the picture on the screen.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/frame_capture.h"
#include "engine/gl_device.h"
#include "engine/png_codec.h"
#include "engine/scene_recorder.h"

class EngineImpl;

// A texture: level 0 of a GL texture. The pixels of a lockable texture are copied to this side
// only while it is locked: read back from the device on lock, sent back and dropped on unlock.
struct GfxTexture {
  unsigned name = 0;                    // GL texture name, 0 once the device is gone
  int width = 0, height = 0;            // size of level 0, in screen pixels
  int density = 1;                      // texels per screen pixel: level 0 is density times larger
  int imageWidth = 0, imageHeight = 0;  // size of the image as decoded (listed textures)
  bool listed = false;                  // made by Texture_Load: freed by the graphics shutdown
  bool ownedByTarget = false;           // the colour texture of a render target
  bool mipmaps = false;
  bool lockable = false;              // A8R8G8B8: made by Texture_Load or Texture_Create
  std::vector<std::uint32_t> pixels;  // while locked: ARGB, rows top first, pitch = width
  bool locked = false;
  bool lockedReadOnly = false;
  int lockLeft = 0, lockTop = 0, lockWidth = 0, lockHeight = 0;
};

// A render target: a framebuffer drawing into its texture, with an optional depth buffer.
struct GfxTarget {
  int width = 0, height = 0;
  bool withDepth = false;
  unsigned framebuffer = 0;
  unsigned depth = 0;
  GfxTexture texture;
};

class Graphics {
 public:
  explicit Graphics(EngineImpl& engine) : engine_(engine) {}
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  // Asks for the GL context the device needs in the description of the window to be opened.
  static void PrepareWindow(platform::WindowSpec* spec);
  // Creates the context and the device resources for the engine's window (engine.window, of
  // screenWidth x screenHeight, with depthBuffer, textureFilter and fps as set). False with the
  // engine's error set on failure.
  bool Initiate();
  // Frees textures, targets, buffers and the context. Safe to call more than once.
  void Shutdown();
  // The device exists (stands for "the Direct3D interface object exists").
  bool HasDevice() const;
  // Writes the current back buffer to a Windows bitmap file.
  bool SaveBackBuffer(const char* path);
  // Writes the current back buffer to a PNG file.
  bool SaveBackBufferPng(const char* path);
  // Saves the next frame presented on the screen as a PNG at `path`, just before presenting it.
  void RequestCapture(const char* path);
  FrameCaptureStatus CaptureState() const { return captureStatus_; }
  // Physical pixels per screen pixel of the back buffer.
  int Scale() const { return scale_; }
  // Reads a rectangle of the back buffer (target null, in its physical pixels) or of a target
  // as ARGB, rows top first.
  // False when the rectangle does not lie inside it.
  bool ReadPixels(TargetHandle target, int x, int y, int width, int height, std::uint32_t* argb);

  // True between a successful BeginScene and EndScene.
  bool InScene() const { return vertices_ != nullptr; }
  // Flushes the batch and switches bilinear filtering on or off. A change of the engine's
  // textureFilter (STATE_TEXTURE_FILTER) is picked up by itself before the next primitive.
  void SetTextureFilter(bool on);
  // Switches vertical synchronisation. A change of the engine's fps to or from -1 (STATE_FPS) is
  // picked up by itself at the next Gfx_BeginScene.
  void SetVsync(bool on);
  // Draws the batching made since the graphics were made (a skipped scene's draws count too).
  std::uint64_t DrawCalls() const { return drawCalls_; }
  // Scenes on the screen drawn and presented, and scenes that repeated the picture on the screen.
  std::uint64_t DrawnScenes() const { return scene_.DrawnScenes(); }
  std::uint64_t SkippedScenes() const { return scene_.SkippedScenes(); }
  // The window's picture was lost (exposed, resized): the next scene is drawn whatever it holds.
  void RepaintNextFrame() { scene_.Forget(); }
  // The last error message this part posted, or empty.
  const char* LastError() const { return lastError_; }

  bool BeginScene(TargetHandle target);
  void EndScene();
  void Clear(std::uint32_t colour);
  void DrawLine(float x1, float y1, float x2, float y2, std::uint32_t colour, float z);
  void DrawTriangle(const Triangle* triangle);
  void DrawQuad(const Quad* quad);
  Vertex* BeginBatch(int kind, TextureHandle texture, int blend, int* maximum);
  void EndBatch(int primitiveCount);
  void SetClipRect(int x, int y, int width, int height);
  void SetTransform(float x, float y, float dx, float dy, float rotation, float hscale,
                    float vscale);

  TargetHandle TargetCreate(int width, int height, bool withDepth);
  void TargetFree(TargetHandle target);
  TextureHandle TargetTexture(TargetHandle target);

  TextureHandle TextureCreate(int width, int height);
  TextureHandle TextureLoad(const void* dataOrName, std::uint32_t size, bool mipmaps);
  void TextureFree(TextureHandle texture);
  int TextureWidth(TextureHandle texture, bool fromImage);
  int TextureHeight(TextureHandle texture, bool fromImage);
  std::uint32_t* TextureLock(TextureHandle texture, bool readOnly, int left, int top, int width,
                             int height);
  void TextureUnlock(TextureHandle texture);

 private:
  // 2D affine map: x' = a x + c y + tx, y' = b x + d y + ty.
  struct Affine {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
  };
  struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
  };

  void Fail(const char* message);
  void Flush(bool ending);
  void SaveRequestedCapture();
  // Flushes when the next primitive cannot join the batch, then applies its state.
  void PrepareBatch(int kind, int limit, TextureHandle texture, int blend);
  // Follows STATE_TEXTURE_FILTER when the engine's field changed since it was applied.
  void FollowTextureFilter();
  void ApplyBlend(int blend);
  void ApplyTexture(TextureHandle texture);
  void BindTarget(GfxTarget* target);
  void SetProjection(const Rect& area);
  void SetViewport(const Rect& area);
  void UploadTransform();
  Rect Bounds() const;
  unsigned CurrentFramebuffer() const;
  // width and height are the pixels given; the texture measures them divided by density.
  TextureHandle MakeTexture(int width, int height, const std::uint32_t* pixels, bool mipmaps,
                            int density = 1);
  bool DecodeForScale(const void* bytes, std::uint32_t size, bool inMemory, ImageArgb* image,
                      int* density);
  void DeleteTexture(TextureHandle texture);

  EngineImpl& engine_;
  GlDevice device_;
  SceneRecorder scene_{device_};
  std::uint64_t drawCalls_ = 0;
  const char* lastError_ = "";

  // The screen's back buffer: a framebuffer of our own, kept after presenting like a copy swap.
  unsigned screenFramebuffer_ = 0;
  unsigned screenTexture_ = 0;
  unsigned screenDepth_ = 0;
  int screenWidth_ = 0, screenHeight_ = 0;  // the screen's size; its pixels are scale_ times
  int scale_ = 1;

  std::vector<GfxTarget*> targets_;
  std::vector<GfxTexture*> textures_;  // Texture_Load, newest first
  std::vector<GfxTexture*> created_;   // Texture_Create, outlive the shutdown
  GfxTarget* currentTarget_ = nullptr;
  Affine view_;
  Affine projection_;  // pixel space to normalised device space for the viewport

  std::vector<Vertex> buffer_;  // the vertex buffer's CPU side, "locked" while a scene is open
  Vertex* vertices_ = nullptr;
  int primCount_ = 0;
  int primKind_ = PRIM_QUADS;
  int currentBlend_ = BLEND_DEFAULT;
  TextureHandle currentTexture_ = nullptr;
  bool linearFilter_ = true;  // filter set on the device
  bool vsync_ = false;        // swap interval set on the device

  std::string capturePath_;  // the next presented frame goes here; empty when none is asked for
  FrameCaptureStatus captureStatus_ = FrameCaptureStatus::kNone;
};
