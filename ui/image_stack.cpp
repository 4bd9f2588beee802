#include "ui/image_stack.h"

#include <cassert>

namespace {
constexpr float kEnabledAlpha = 1.0f;
constexpr float kDisabledAlpha = 0.5f;
}  // namespace

UIImageStack::UIImageStack(std::initializer_list<UIImage*> images) {
  assert(images.size() <= kMaxImages);
  for (UIImage* image : images) {
    if (count_ < kMaxImages) images_[count_++] = image;
  }
}

void UIImageStack::Draw(float factor) const {
  for (int i = 0; i < count_; ++i) images_[i]->Draw(factor);
}

void UIImageStack::Place(int x, int y) {
  for (int i = 0; i < count_; ++i) images_[i]->Place(x, y);
}

void UIImageStack::Resize(int w, int h) {
  for (int i = 0; i < count_; ++i) images_[i]->Resize(w, h);
}

void UIImageStack::ShowEnabled(bool enabled) {
  for (int i = 0; i < count_; ++i) images_[i]->alpha = enabled ? kEnabledAlpha : kDisabledAlpha;
}

void UIImageStack::HideAll() {
  for (int i = 0; i < count_; ++i) images_[i]->hidden = true;
}
