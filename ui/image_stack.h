#pragma once
// UIImageStack: the images of one control that lie one over the other at one place, such as a
// button's normal, pressed and hover looks. They move, resize, dim, hide and draw together; which
// one shows stays the control's business. The control owns the images.

#include <initializer_list>

#include "ui/image.h"

class UIImageStack {
 public:
  // The images in drawing order, at most four; they must outlive the stack.
  UIImageStack(std::initializer_list<UIImage*> images);
  UIImageStack(const UIImageStack&) = delete;
  UIImageStack& operator=(const UIImageStack&) = delete;

  // Draws every image in order at its alpha times `factor`; hidden ones draw nothing.
  void Draw(float factor) const;
  // Anchors every image at (x, y).
  void Place(int x, int y);
  // Gives every image the size w by h.
  void Resize(int w, int h);
  // Full alpha when enabled, half when disabled.
  void ShowEnabled(bool enabled);
  // Hides every image.
  void HideAll();

 private:
  static constexpr int kMaxImages = 4;
  UIImage* images_[kMaxImages] = {};
  int count_ = 0;
};
