#pragma once
// Drawing the preset dialog over the dimmed main screen (the overlay of AppState 7).

#include "ui/list.h"

// The dialog box, the note box, the title, the selected preset's note (as plain text, never as
// a format), "No preset selected" without a selection or "Downloading..." while the preset
// downloads, then the dialog's widgets. Nothing while the dialog is closed.
void DrawPresetDialog();

// The list's draw callback: the list's frame, the scrollbar's track and thumb with its grip
// lines, and each row with the preset's name, hot rows on a grey band and the selected one in
// amber.
void DrawPresetRow(DrawInfo* info);

// Text colours of the dialog (ARGB).
inline constexpr unsigned kPresetWhite = 0xFFFFFFFFu;
inline constexpr unsigned kPresetAmber = 0xFFFFC000u;
