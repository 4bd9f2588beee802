#include "app/preset_dialog_drawing.h"

#include <cstdint>

#include "app/carried_art.h"
#include "app/preset_dialog.h"
#include "app/shell_engine.h"
#include "engine/skin_sheet.h"
#include "online/settings_document.h"

namespace {

constexpr int kOpaque = 255;
constexpr int kDialogFrame = 0;
constexpr int kNoteFrame = 1;
constexpr int kListFrame = 2;
constexpr int kNoteBoxH = 100;
constexpr int kTitleInset = 20;
constexpr int kTitleDrop = 15;
constexpr int kNoteInset = 10;
constexpr int kNoteTextH = 80;
constexpr int kListBorder = 10;
constexpr int kNameInset = 10;
constexpr int kHotBandRise = 2;

constexpr const char* kTitle = "Corsaro 270 Customiser Presets";
constexpr const char* kNoSelection = "No preset selected";
constexpr const char* kDownloading = "Downloading...";

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kHotBand = 0xFF606060u;
constexpr std::uint32_t kThumbUnderMouse = 0xFFFFDC00u;
constexpr std::uint32_t kThumbDragged = 0xFFFFA000u;
constexpr std::uint32_t kGripLight = 0xFFFFF000u;
constexpr std::uint32_t kGripDark = 0xFFFF8C00u;

// Texts from the settings document may be of any length: each is drawn only inside its own
// place, so that it never runs over the dialog or the screen beneath.
class ClipTo {
 public:
  ClipTo(int x, int y, int w, int h) : engine_(ShellEngine()) {
    if (engine_ != nullptr) engine_->Gfx_SetClipRect(x, y, w, h);
  }
  ~ClipTo() {
    if (engine_ != nullptr) engine_->Gfx_SetClipRect();
  }
  ClipTo(const ClipTo&) = delete;
  ClipTo& operator=(const ClipTo&) = delete;

 private:
  Engine* engine_;
};

struct GripLine {
  int offset;  // from the thumb's middle
  std::uint32_t colour;
};
constexpr GripLine kGripLines[] = {
    {-3, kGripLight}, {-2, kGripDark}, {3, kGripLight}, {4, kGripDark}};

void DrawThumb(const DrawInfo& info) {
  std::uint32_t colour = kPresetAmber;
  if (info.kind & LIST_HOT) {
    colour = kThumbUnderMouse;
  } else if (info.kind & LIST_PRESSED) {
    colour = kThumbDragged;
  }
  FillRect(info.x + 2, info.y + 2, info.w - 5, info.h - 5, colour);
  const int middle = info.y + info.h / 2;
  for (const GripLine& line : kGripLines) {
    DrawLine(info.x + 6, middle + line.offset, info.x + info.w - 7, middle + line.offset,
             line.colour);
  }
}

void DrawRow(const DrawInfo& info) {
  if (info.kind & LIST_HOT) FillRect(info.x, info.y - kHotBandRise, info.w, info.h, kHotBand);
  const auto* preset = static_cast<const PresetEntry*>(info.data);
  if (LargeFont == nullptr || preset == nullptr) return;
  LargeFont->SetColor((info.kind & LIST_PRESSED) ? kPresetAmber : kPresetWhite);
  // Names come from the network: printed as they are, never as a format, inside their row.
  const ClipTo row(info.x, info.y, info.w, info.h);
  LargeFont->PrintText(static_cast<float>(info.x + kNameInset), static_cast<float>(info.y),
                       TEXT_LEFT, preset->name);
}

void DrawNote() {
  if (SmallFont == nullptr) return;
  const PresetDialogGeometry& g = PresetGeometry;
  const float x = static_cast<float>(g.listX + kNoteInset);
  const float y = static_cast<float>(g.listY + g.listAreaH + kNoteInset);
  const float w = static_cast<float>(g.listW - 2 * kNoteInset);
  const int selected = PresetList != nullptr ? PresetList->Selected() : -1;
  const char* text = kNoSelection;
  std::uint32_t colour = kPresetAmber;
  if (PresetDownloadRunning()) {
    text = kDownloading;
  } else if (selected >= 0 && static_cast<std::size_t>(selected) < Settings.presets.size()) {
    text = Settings.presets[selected].note;
    colour = kPresetWhite;
  }
  SmallFont->SetColor(colour);
  const ClipTo box(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), kNoteTextH);
  SmallFont->PrintBoxText(x, y, w, static_cast<float>(kNoteTextH), TEXT_LEFT, text);
}

}  // namespace

void DrawPresetDialog() {
  if (PresetDialog == nullptr) return;
  const PresetDialogGeometry& g = PresetGeometry;
  DrawFrame(kDialogFrame, g.dialogX, g.dialogY, g.dialogW, g.dialogH, kOpaque);
  DrawFrame(kNoteFrame, g.listX - kListBorder, g.listY + g.listAreaH, g.listW + 2 * kListBorder,
            kNoteBoxH, kOpaque);
  if (LargeFont != nullptr) {
    LargeFont->SetColor(kPresetWhite);
    LargeFont->PrintText(static_cast<float>(g.dialogX + kTitleInset),
                         static_cast<float>(g.dialogY + kTitleDrop), TEXT_LEFT, kTitle);
  }
  DrawNote();
  PresetDialog->DrawAll(kOpaque);
}

void DrawPresetRow(DrawInfo* info) {
  if (info == nullptr) return;
  if (info->kind & LIST_BACKGROUND) {
    DrawFrame(kListFrame, info->x - kListBorder, info->y - kListBorder, info->w + 2 * kListBorder,
              info->h + 2 * kListBorder, kOpaque);
  } else if (info->kind & LIST_TRACK) {
    FillRect(info->x, info->y, info->w, info->h, kBlack);
    DrawRectOutline(info->x, info->y, info->w, info->h, kPresetAmber);
  } else if (info->kind & LIST_THUMB) {
    DrawThumb(*info);
  } else if (info->kind & LIST_ROW) {
    DrawRow(*info);
  }
}
