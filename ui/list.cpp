#include "ui/list.h"

#include <algorithm>

#include "ui/panel.h"
#include "ui/pixels.h"

namespace {
constexpr int kScrollW = 24;
constexpr int kMinThumb = 32;
constexpr int kThumbMargin = 32;  // maxThumb is the list height less this
}  // namespace

UIList::UIList(int listId, int atX, int atY, int width, int rowHeight, int rowCount, int maxItems,
               UIPanel* owner) {
  kind = KIND_LIST;
  id = listId;
  x = listX = atX;
  y = listY = atY;
  w = listW = width;
  // A list without rows or with empty rows would divide by zero when it finds the row under the
  // mouse; it gets at least one row of one pixel.
  itemHeight = std::max(rowHeight, 1);
  rows = std::max(rowCount, 1);
  h = listH = itemHeight * rows;
  capacity = std::max(maxItems, 0);
  items = new ListItem[capacity];
  scrollW = kScrollW;
  minThumb = kMinThumb;
  maxThumb = listH - kThumbMargin;
  panel = owner;
  Reset();
}

UIList::~UIList() {
  EndDrag();
  delete[] items;
}

void UIList::Reset() {
  count = shown = maxScroll = firstRow = 0;
  selected = hot = -1;
  for (int i = 0; i < capacity; ++i) items[i].flags = 0;
  UpdateScrollbar();
}

int UIList::AddItem(void* data) {
  if (count >= capacity) return -1;
  const int index = count;
  items[index] = ListItem{data, 0, 0, 0};
  count = shown = count + 1;
  maxScroll = std::max(0, count - rows);
  UpdateScrollbar();
  return index;
}

void UIList::UpdateScrollbar() {
  scrollX = listX + listW - scrollW;
  if (count == 0) {
    thumbH = minThumb;
    thumbOffset = 0;
    return;
  }
  // Single precision, as the thumb sizes and positions have always been computed.
  thumbH = TruncToInt(static_cast<float>(listH) / static_cast<float>(shown) * rows);
  if (thumbH < minThumb) {
    thumbH = minThumb;
  } else if (thumbH > maxThumb) {
    thumbH = maxThumb;
  }
  travel = listH - thumbH;
}

void UIList::ThumbToScroll() {
  thumbOffset = std::clamp(thumbOffset, 0, std::max(travel, 0));
  // A list shorter than the smallest thumb has no travel at all.
  if (travel <= 0) {
    firstRow = 0;
    return;
  }
  firstRow = TruncToInt(static_cast<float>(thumbOffset) / static_cast<float>(travel) * maxScroll);
}

void UIList::ScrollToThumb() {
  firstRow = std::clamp(firstRow, 0, maxScroll);
  if (maxScroll == 0 || travel <= 0) {
    thumbOffset = 0;
    return;
  }
  thumbOffset = TruncToInt(static_cast<float>(firstRow) / static_cast<float>(maxScroll) * travel);
}

UIList::Zone UIList::ScrollbarZone(int mouseX, int mouseY) const {
  const int ry = mouseY - listY;
  if (mouseX < scrollX || mouseX > scrollX + scrollW || ry < 0 || ry > listH) return Zone::kOutside;
  if (ry < thumbOffset) return Zone::kAboveThumb;
  if (ry <= thumbOffset + thumbH) return Zone::kOnThumb;
  return Zone::kBelowThumb;
}

void UIList::StartDrag(int rowY) {
  grabOffset = thumbOffset - rowY;
  dragging = thumbPressed = true;
  if (panel) panel->capture = this;
}

void UIList::EndDrag() {
  if (panel && panel->capture == this) panel->capture = nullptr;
  dragging = thumbPressed = false;
}

bool UIList::HandleMouse(int event, int mouseX, int mouseY) {
  if (!visible || !enabled) return false;
  const int ry = mouseY - listY;
  const Zone zone = ScrollbarZone(mouseX, mouseY);
  overThumb = zone == Zone::kOnThumb;

  // The held event repeats every frame, so holding on the track pages once a frame until the
  // thumb arrives under the mouse, which then starts a drag.
  if (!dragging && event == EVENT_HELD) {
    if (zone == Zone::kOnThumb) {
      StartDrag(ry);
    } else if (zone == Zone::kAboveThumb) {
      thumbOffset -= thumbH;
      ThumbToScroll();
    } else if (zone == Zone::kBelowThumb) {
      thumbOffset += thumbH;
      ThumbToScroll();
    }
  }

  bool consumed = false;
  if (dragging) {
    thumbOffset = grabOffset + ry;
    ThumbToScroll();
    consumed = true;
    if (event == EVENT_RELEASED) EndDrag();
  }

  const bool inRows = mouseX >= listX && mouseX < scrollX && ry >= 0 && ry <= listH;
  if (inRows) {
    TrackRows(event, ry);
  } else {
    hot = -1;
  }
  previousEvent = event;
  return consumed;
}

void UIList::TrackRows(int event, int ry) {
  if (!dragging) {
    if (event & EVENT_WHEEL_UP) {
      --firstRow;
      ScrollToThumb();
    }
    if (event & EVENT_WHEEL_DOWN) {
      ++firstRow;
      ScrollToThumb();
    }
  }
  const int row = std::clamp(ry / itemHeight, 0, rows - 1);
  const int item = firstRow + row;
  hot = item < count ? item : -1;
  // Only the first frame of a press selects; a press under the last item clears the selection.
  if (!dragging && event == EVENT_HELD && previousEvent != EVENT_HELD) selected = hot;
}

void UIList::Emit(int partKind, int px, int py, int pw, int ph, int index, void* data) const {
  DrawInfo info = {partKind, px, py, pw, ph, index, data};
  drawCallback(&info);
}

void UIList::Draw() {
  if (!drawCallback) return;
  Emit(LIST_BACKGROUND, listX, listY, listW, listH, -1, nullptr);
  for (int n = 0; n < rows && firstRow + n < count; ++n) {
    const int index = firstRow + n;
    int partKind = LIST_ROW;
    if (index == selected) partKind |= LIST_PRESSED;
    if (index == hot) partKind |= LIST_HOT;
    Emit(partKind, listX, listY + n * itemHeight, listW, itemHeight, index, items[index].data);
  }
  Emit(LIST_TRACK, scrollX, listY, scrollW, listH, -1, nullptr);
  if (count > rows) {
    int thumbKind = LIST_THUMB;
    if (thumbPressed) {
      thumbKind |= LIST_PRESSED;
    } else if (overThumb) {
      thumbKind |= LIST_HOT;
    }
    Emit(thumbKind, scrollX, listY + thumbOffset, scrollW, thumbH, -1, nullptr);
  }
}

void UIList::SetPosition(int newX, int newY) {
  UIBase::SetPosition(newX, newY);
  listX = newX;
  listY = newY;
  UpdateScrollbar();
}
