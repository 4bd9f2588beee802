#pragma once
// The fonts and the skin sheet built from the art the program carries (start-up steps 16 to 18)
// and released at tear-down.

#include "engine/bitmap_font.h"
#include "engine/skin_sheet.h"

// Small font (glyphs 22 pixels high): status texts of the firmware-update screen.
extern BitmapFont* SmallFont;
// Large font (27 pixels): preset list texts, the update-error text.
extern BitmapFont* LargeFont;
// The one skin sheet every screen and control draws from.
extern SkinSheet* Skin;

// Starts decoding the carried images on a worker thread, so that CreateCarriedArt finds them
// decoded; start-up calls it before the window opens. What is never created is dropped by
// ForgetCarriedArtAhead.
void DecodeCarriedArtAhead();
void ForgetCarriedArtAhead();

// Builds the small font, the large font, then the skin sheet with its three frames, from the
// carried files. A global whose allocation fails stays null; true when all three exist.
bool CreateCarriedArt();
// Releases and deletes the skin sheet, then deletes the small and the large font. Safe to call
// when nothing was created.
void ReleaseCarriedArt();

// The program's icon resource number (STATE_ICON).
inline constexpr int kIconResource = 107;
// Registers the carried window icon with the engine as program resource kIconResource.
void RegisterCarriedResources();
