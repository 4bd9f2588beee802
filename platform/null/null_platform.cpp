#include "platform/null/null_platform.h"

#include <cctype>

namespace platform::null {
namespace {
constexpr int kVkSpace = 32;
constexpr int kLastVirtualKey = 255;
}  // namespace

void SteppedClock::SleepUntil(std::uint32_t deadline) {
  // The signed difference keeps a deadline just past the wrap in the future.
  if (static_cast<std::int32_t>(deadline - now_) > 0) now_ = deadline;
}

NullPlatform::NullPlatform() = default;
NullPlatform::~NullPlatform() = default;

NullWindow* NullPlatform::Window(NativeWindow window) const {
  for (const auto& kept : windows_) {
    if (kept.get() == window) return kept.get();
  }
  return nullptr;
}

bool NullPlatform::StartVideo() {
  ++videoStarts_;
  return true;
}

bool NullPlatform::DisplayBounds(Rect* bounds) {
  *bounds = display_;
  return true;
}

NativeWindow NullPlatform::OpenWindow(const WindowSpec& spec) {
  if (videoStarts_ == 0) {
    error_ = "the video was not started";
    return nullptr;
  }
  auto window = std::make_unique<NullWindow>();
  window->title = spec.title;
  window->bounds = spec.bounds;
  window->borderless = spec.borderless;
  window->fullscreen = spec.fullscreen;
  window->hidden = spec.hidden;
  windows_.push_back(std::move(window));
  return windows_.back().get();
}

void NullPlatform::CloseWindow(NativeWindow window) {
  std::erase_if(windows_, [window](const auto& kept) { return kept.get() == window; });
}

std::uint32_t NullPlatform::WindowId(NativeWindow window) {
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    if (windows_[i].get() == window) return static_cast<std::uint32_t>(i + 1);
  }
  return 0;
}

void NullPlatform::SetWindowPosition(NativeWindow window, int left, int top) {
  if (NullWindow* kept = Window(window)) kept->bounds.left = left, kept->bounds.top = top;
}

void NullPlatform::GetWindowPosition(NativeWindow window, int* left, int* top) {
  if (NullWindow* kept = Window(window)) *left = kept->bounds.left, *top = kept->bounds.top;
}

void NullPlatform::SetWindowSize(NativeWindow window, int width, int height) {
  if (NullWindow* kept = Window(window)) kept->bounds.width = width, kept->bounds.height = height;
}

void NullPlatform::GetWindowSize(NativeWindow window, int* width, int* height) {
  if (NullWindow* kept = Window(window)) *width = kept->bounds.width, *height = kept->bounds.height;
}

void NullPlatform::GetDrawableSize(NativeWindow window, int* width, int* height) {
  GetWindowSize(window, width, height);
}

bool NullPlatform::UsableBounds(NativeWindow window, Rect* bounds) {
  if (Window(window) == nullptr) return false;
  *bounds = display_;
  return true;
}

void NullPlatform::SetTitle(NativeWindow window, const char* title) {
  if (NullWindow* kept = Window(window)) kept->title = title;
}

void NullPlatform::SetFullscreen(NativeWindow window, bool fullscreen) {
  if (NullWindow* kept = Window(window)) kept->fullscreen = fullscreen;
}

bool NullPlatform::SetIcon(NativeWindow window, const std::uint32_t* /*argb*/, int width,
                           int height) {
  NullWindow* kept = Window(window);
  if (kept == nullptr) return false;
  kept->iconWidth = width;
  kept->iconHeight = height;
  return true;
}

void NullPlatform::HideWindow(NativeWindow window) {
  if (NullWindow* kept = Window(window)) kept->hidden = true;
}

void NullPlatform::MinimizeWindow(NativeWindow window) {
  if (NullWindow* kept = Window(window)) kept->minimized = true, kept->inputFocus = false;
}

bool NullPlatform::IsMinimized(NativeWindow window) {
  const NullWindow* kept = Window(window);
  return kept != nullptr && kept->minimized;
}

void NullPlatform::BringToFront(NativeWindow window) {
  NullWindow* kept = Window(window);
  if (kept == nullptr) return;
  kept->minimized = false;
  kept->inputFocus = true;
  ++kept->raised;
}

bool NullPlatform::HasInputFocus(NativeWindow window) {
  const NullWindow* kept = Window(window);
  return kept != nullptr && kept->inputFocus;
}

void NullPlatform::TakeInputFocus(NativeWindow window) {
  if (NullWindow* kept = Window(window)) kept->inputFocus = true;
}

bool NullPlatform::SetDragTest(NativeWindow window, DragTest test, const void* context) {
  NullWindow* kept = Window(window);
  if (kept == nullptr) return false;
  kept->dragTest = test;
  kept->dragContext = test != nullptr ? context : nullptr;
  return true;
}

void NullPlatform::PointerOnDesktop(int* x, int* y) {
  *x = pointerX_;
  *y = pointerY_;
}

bool NullPlatform::PointerOver(NativeWindow window) {
  const NullWindow* kept = Window(window);
  if (kept == nullptr) return false;
  const Rect& b = kept->bounds;
  return pointerX_ >= b.left && pointerY_ >= b.top && pointerX_ < b.left + b.width &&
         pointerY_ < b.top + b.height;
}

bool NullPlatform::WarpPointer(NativeWindow window, int x, int y) {
  const NullWindow* kept = Window(window);
  if (kept == nullptr || !pointerPlaceable_) return false;
  pointerX_ = kept->bounds.left + x;
  pointerY_ = kept->bounds.top + y;
  return true;
}

// Letters, digits and the space bar type their US characters; no other key types one.
int NullPlatform::CharacterFromKey(int virtualKey, int /*scanCode*/, int modifiers) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    const bool upper = ((modifiers & kShiftDown) != 0) != ((modifiers & kCapsLockOn) != 0);
    return upper ? virtualKey : std::tolower(virtualKey);
  }
  if ((virtualKey >= '0' && virtualKey <= '9') || virtualKey == kVkSpace) return virtualKey;
  return 0;
}

bool NullPlatform::HasKey(int virtualKey) {
  return virtualKey > 0 && virtualKey <= kLastVirtualKey;
}

bool NullPlatform::PollEvent(Event* event) {
  if (queue_.empty()) return false;
  *event = queue_.front();
  queue_.pop_front();
  return true;
}

bool NullPlatform::PostEvent(NativeWindow /*window*/, const Event& event) {
  const bool key = event.kind == EventKind::kKeyDown || event.kind == EventKind::kKeyUp;
  if (key && !HasKey(event.virtualKey)) return false;
  queue_.push_back(event);
  return true;
}

GlContext NullPlatform::CreateGlContext(NativeWindow /*window*/) {
  error_ = "the null platform has no GL";
  return nullptr;
}

bool NullPlatform::ShowMessageBox(NativeWindow /*owner*/, const MessageBox& box,
                                  BoxAnswer* answer) {
  boxes_.push_back({box.icon, box.caption, box.text, box.question, box.defaultNo});
  *answer = box.question ? answer_ : BoxAnswer::kOk;
  return true;
}

bool NullPlatform::OpenUrl(const char* url) {
  if (url == nullptr) return false;
  urls_.emplace_back(url);
  return urlsOpen_;
}

}  // namespace platform::null
