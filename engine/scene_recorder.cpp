#include "engine/scene_recorder.h"

#include <bit>
#include <cstring>

namespace {

std::uint32_t Word(int value) {
  return static_cast<std::uint32_t>(value);
}

int Int(std::uint32_t word) {
  return static_cast<int>(word);
}

}  // namespace

void SceneRecorder::Begin() {
  words_.clear();
  vertices_.clear();
  holding_ = true;
  painted_ = false;
  startsWithClear_ = false;
}

bool SceneRecorder::End(bool maySkip) {
  if (!holding_) {
    // Drawn as it came, after an interruption: the screen matches no record.
    screenShowsLast_ = false;
    ++drawnScenes_;
    return true;
  }
  holding_ = false;
  if (maySkip && screenShowsLast_ && RepeatsLast()) {
    ++skippedScenes_;
    return false;
  }
  RunHeldBack();
  words_.swap(lastWords_);
  vertices_.swap(lastVertices_);
  // What a scene draws over an earlier picture depends on it, unless the scene cleared first.
  screenShowsLast_ = startsWithClear_;
  ++drawnScenes_;
  return true;
}

void SceneRecorder::DrawHeldBack() {
  if (!holding_) return;
  RunHeldBack();
  holding_ = false;
  screenShowsLast_ = false;
}

void SceneRecorder::BeforeDeviceChange() {
  DrawHeldBack();
  screenShowsLast_ = false;
}

void SceneRecorder::SetAlphaBlend(bool on) {
  Command(Op::kAlphaBlend, {on});
}

void SceneRecorder::SetDepthWrite(bool on) {
  Command(Op::kDepthWrite, {on});
}

void SceneRecorder::SetDepthTest(bool on) {
  Command(Op::kDepthTest, {on});
}

void SceneRecorder::SetColourAdd(bool on) {
  Command(Op::kColourAdd, {on});
}

void SceneRecorder::SetLinearFilter(bool on) {
  Command(Op::kLinearFilter, {on});
}

void SceneRecorder::BindTexture(unsigned name) {
  Command(Op::kBindTexture, {name});
}

void SceneRecorder::BindFramebuffer(unsigned framebuffer) {
  Command(Op::kBindFramebuffer, {framebuffer});
}

void SceneRecorder::SetViewport(int x, int y, int width, int height) {
  Command(Op::kViewport, {Word(x), Word(y), Word(width), Word(height)});
}

void SceneRecorder::SetTransform(const float matrix[16]) {
  std::uint32_t words[16];
  for (int i = 0; i < 16; ++i) words[i] = std::bit_cast<std::uint32_t>(matrix[i]);
  Command(Op::kTransform, std::span<const std::uint32_t>(words));
}

void SceneRecorder::Clear(std::uint32_t argb, bool depth) {
  Command(Op::kClear, {argb, depth});
}

void SceneRecorder::Draw(int kind, int count, const Vertex* vertices) {
  if (!holding_) {
    screenShowsLast_ = false;
    device_.Draw(kind, count, vertices);
    return;
  }
  const std::uint32_t arguments[] = {Word(kind), Word(count)};
  Record(Op::kDraw, arguments);
  vertices_.insert(vertices_.end(), vertices, vertices + static_cast<std::size_t>(kind) * count);
}

int SceneRecorder::ArgumentCount(Op op) {
  switch (op) {
    case Op::kViewport:
      return 4;
    case Op::kTransform:
      return 16;
    case Op::kDraw:
    case Op::kClear:
      return 2;
    default:
      return 1;
  }
}

void SceneRecorder::Command(Op op, std::span<const std::uint32_t> arguments) {
  if (holding_) {
    Record(op, arguments);
    return;
  }
  screenShowsLast_ = false;
  Run(op, arguments.data(), nullptr);
}

void SceneRecorder::Record(Op op, std::span<const std::uint32_t> arguments) {
  if (op == Op::kDraw || op == Op::kClear) {
    if (!painted_) startsWithClear_ = op == Op::kClear;
    painted_ = true;
  }
  words_.push_back(static_cast<std::uint32_t>(op));
  words_.insert(words_.end(), arguments.begin(), arguments.end());
}

void SceneRecorder::Run(Op op, const std::uint32_t* a, const Vertex** vertices) {
  switch (op) {
    case Op::kAlphaBlend:
      device_.SetAlphaBlend(a[0] != 0);
      return;
    case Op::kDepthWrite:
      device_.SetDepthWrite(a[0] != 0);
      return;
    case Op::kDepthTest:
      device_.SetDepthTest(a[0] != 0);
      return;
    case Op::kColourAdd:
      device_.SetColourAdd(a[0] != 0);
      return;
    case Op::kLinearFilter:
      device_.SetLinearFilter(a[0] != 0);
      return;
    case Op::kBindTexture:
      device_.BindTexture(a[0]);
      return;
    case Op::kBindFramebuffer:
      device_.BindFramebuffer(a[0]);
      return;
    case Op::kViewport:
      device_.SetViewport(Int(a[0]), Int(a[1]), Int(a[2]), Int(a[3]));
      return;
    case Op::kTransform: {
      float matrix[16];
      for (int i = 0; i < 16; ++i) matrix[i] = std::bit_cast<float>(a[i]);
      device_.SetTransform(matrix);
      return;
    }
    case Op::kDraw:
      device_.Draw(Int(a[0]), Int(a[1]), *vertices);
      *vertices += static_cast<std::size_t>(a[0]) * a[1];
      return;
    case Op::kClear:
      device_.Clear(a[0], a[1] != 0);
      return;
  }
}

void SceneRecorder::RunHeldBack() {
  const Vertex* vertices = vertices_.data();
  for (std::size_t i = 0; i < words_.size(); i += 1 + ArgumentCount(static_cast<Op>(words_[i]))) {
    Run(static_cast<Op>(words_[i]), &words_[i + 1], &vertices);
  }
}

bool SceneRecorder::RepeatsLast() const {
  return words_ == lastWords_ && vertices_.size() == lastVertices_.size() &&
         std::memcmp(vertices_.data(), lastVertices_.data(),
                     vertices_.size() * sizeof(Vertex)) == 0;
}
