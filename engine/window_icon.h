#pragma once
// The window's icon (STATE_ICON). A program names its icon by resource number, as an executable's
// resource table would hold it, so the program registers its resources' bytes here before
// System_Initiate; an icon given by name is read through Resource_Load. Icons are PNG images.

#include <cstdint>
#include <span>
#include <vector>

#include "engine/png_codec.h"

// Makes `bytes` the program resource `number`; the bytes must stay valid while the engine may use
// them. Empty bytes forget the resource.
void RegisterProgramResource(int number, std::span<const unsigned char> bytes);
// The bytes of program resource `number`, or empty when none was registered.
std::span<const unsigned char> ProgramResource(int number);

// The image the engine last gave a window as its icon; empty until one was given.
const ImageArgb& LastWindowIcon();
