#pragma once
// The device commands of a scene on the screen, held back until the scene ends. A scene whose
// commands repeat those of the picture on the screen, and start with a clear so that they do not
// build on what was there, would draw the same picture again: it is neither drawn nor presented,
// and an idle window costs the software renderer nothing. Anything else that touches the device
// (textures, framebuffers, a scene into a render target) makes the next scene draw again.
//
// Outside a scene on the screen the commands pass straight to the device.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "engine/engine.h"
#include "engine/gl_device.h"

class SceneRecorder {
 public:
  explicit SceneRecorder(GlDevice& device) : device_(device) {}

  // A scene on the screen begins: its commands are held back.
  void Begin();
  // The scene ends. Returns true when it was drawn and must be presented; false when skipping is
  // allowed and it repeats the picture on the screen, which then stays as it is.
  bool End(bool maySkip);
  // Something is about to read the screen's pixels: what is held back is drawn now, and the rest
  // of the scene goes straight to the device.
  void DrawHeldBack();
  // The device is about to change other than by a scene's commands: DrawHeldBack, and the next
  // scene draws even if it repeats the last one.
  void BeforeDeviceChange();
  // The window needs painting again (exposed, resized): the next scene draws.
  void Forget() { screenShowsLast_ = false; }

  // Scenes presented, and scenes found unchanged, since the recorder was made.
  std::uint64_t DrawnScenes() const { return drawnScenes_; }
  std::uint64_t SkippedScenes() const { return skippedScenes_; }

  // The device's scene commands (see GlDevice).
  void SetAlphaBlend(bool on);
  void SetDepthWrite(bool on);
  void SetDepthTest(bool on);
  void SetColourAdd(bool on);
  void SetLinearFilter(bool on);
  void BindTexture(unsigned name);
  void BindFramebuffer(unsigned framebuffer);
  void SetViewport(int x, int y, int width, int height);
  void SetTransform(const float matrix[16]);
  void Draw(int kind, int count, const Vertex* vertices);
  void Clear(std::uint32_t argb, bool depth);

 private:
  enum class Op : std::uint32_t {
    kAlphaBlend,
    kDepthWrite,
    kDepthTest,
    kColourAdd,
    kLinearFilter,
    kBindTexture,
    kBindFramebuffer,
    kViewport,
    kTransform,
    kDraw,
    kClear,
  };

  static int ArgumentCount(Op op);
  // Records the command, or runs it at once outside a held-back scene.
  void Command(Op op, std::span<const std::uint32_t> arguments);
  void Command(Op op, std::initializer_list<std::uint32_t> arguments) {
    Command(op, std::span<const std::uint32_t>(arguments.begin(), arguments.size()));
  }
  void Record(Op op, std::span<const std::uint32_t> arguments);
  // Runs one command; a draw takes its vertices from *vertices and moves it past them.
  void Run(Op op, const std::uint32_t* arguments, const Vertex** vertices);
  void RunHeldBack();
  bool RepeatsLast() const;

  GlDevice& device_;
  bool holding_ = false;         // commands are being recorded
  bool startsWithClear_ = false;  // the first drawing command recorded is a clear
  bool painted_ = false;          // a draw or clear was recorded
  bool screenShowsLast_ = false;  // the screen holds exactly what last_ drew
  std::vector<std::uint32_t> words_;
  std::vector<Vertex> vertices_;
  std::vector<std::uint32_t> lastWords_;
  std::vector<Vertex> lastVertices_;
  std::uint64_t drawnScenes_ = 0;
  std::uint64_t skippedScenes_ = 0;
};
