#pragma once
// UIList: an owner-drawn column of equal-height rows over an array of item pointers, with a
// selection, a hot row under the mouse, a scrollbar with a draggable thumb, paging by pressing on
// the track, and wheel scrolling. The list draws nothing itself: it hands each part to the
// application's draw callback.

#include <cstdint>

#include "ui/base.h"

class UIPanel;

struct ListItem {
  void* data = nullptr;  // the application's item
  std::int32_t reserved1 = 0;
  std::int32_t reserved2 = 0;
  std::int32_t flags = 0;
};

// Kind bits of a DrawInfo.
enum ListPart : std::int32_t {
  LIST_BACKGROUND = 1,  // the whole list rectangle
  LIST_TRACK = 2,       // the scrollbar track
  LIST_THUMB = 4,       // the scrollbar thumb
  LIST_ROW = 8,         // one row
  LIST_PRESSED = 16,    // with LIST_ROW the selected item; with LIST_THUMB dragged
  LIST_HOT = 32         // with LIST_ROW the item under the mouse; with LIST_THUMB under the mouse
};

// One part of the list for the draw callback to draw.
struct DrawInfo {
  std::int32_t kind;        // ListPart bits
  std::int32_t x, y, w, h;  // the rectangle to draw
  std::int32_t index;       // item index, -1 when not an item
  void* data;               // the item's data, null when not an item
};

using ListDrawCallback = void (*)(DrawInfo* info);

class UIList : public UIBase {
 public:
  // An empty list with its top-left at (x, y), `w` wide including the scrollbar, showing `rows`
  // rows of `itemHeight` pixels, holding up to `capacity` items. While the thumb is dragged the
  // list is the capture control of `panel` (which may be null).
  UIList(int id, int x, int y, int w, int itemHeight, int rows, int capacity, UIPanel* panel);
  // Frees the item array, not the items' data.
  ~UIList() override;

  // Scrolls, pages, drags, tracks the hot row and selects on the first frame of a press; true
  // only while the thumb is being dragged.
  bool HandleMouse(int event, int x, int y) override;
  // Hands the background, the shown rows, the track and (when the items overflow) the thumb to
  // the draw callback.
  void Draw() override;
  // Moves the list to (x, y); the scroll position stays.
  void SetPosition(int x, int y) override;

  // Appends an item; its index, or -1 when the list is full.
  int AddItem(void* data);
  // The selected item's index, -1 for none.
  int Selected() const { return selected; }
  // Sets the function that draws the list's parts.
  void SetDrawCallback(ListDrawCallback draw) { drawCallback = draw; }

  std::int32_t listX = 0, listY = 0;
  std::int32_t listW = 0;
  std::int32_t listH = 0;  // itemHeight x rows
  std::int32_t selected = -1;
  std::int32_t hot = -1;
  std::int32_t count = 0;
  std::int32_t capacity = 0;
  std::int32_t rows = 0;
  std::int32_t shown = 0;  // items that take a row
  std::int32_t itemHeight = 0;
  std::int32_t firstRow = 0;  // scroll position
  std::int32_t maxScroll = 0;
  std::int32_t previousEvent = -1;
  std::int32_t scrollX = 0;  // left edge of the scrollbar
  std::int32_t thumbOffset = 0;
  std::int32_t scrollW = 0;
  std::int32_t thumbH = 0;
  std::int32_t minThumb = 0;
  std::int32_t maxThumb = 0;
  std::int32_t travel = 0;      // how far the thumb can move
  std::int32_t grabOffset = 0;  // thumb top minus mouse y when the drag began
  bool dragging = false;
  bool overThumb = false;
  bool thumbPressed = false;
  ListItem* items = nullptr;
  UIPanel* panel = nullptr;
  ListDrawCallback drawCallback = nullptr;

 private:
  enum class Zone { kOutside, kAboveThumb, kOnThumb, kBelowThumb };

  void Reset();
  void UpdateScrollbar();
  void ThumbToScroll();
  void ScrollToThumb();
  Zone ScrollbarZone(int x, int y) const;
  void StartDrag(int rowY);
  void EndDrag();
  void TrackRows(int event, int ry);
  void Emit(int kind, int x, int y, int w, int h, int index, void* data) const;
};
