// Placeholder bodies until this part is built.
#include "engine/skin_sheet.h"

SkinSheet::~SkinSheet() = default;
void SkinSheet::Create(const SkinRegion*, int, int, const unsigned char*, std::uint32_t) {}
void SkinSheet::DefineFrame(int, int, int) {}
void SkinSheet::Bind() {}
void SkinSheet::Release() {}
void DrawRegion(int, int, int, int) {}
void DrawRegionStretched(int, int, int, int, int, int) {}
void DrawFrame(int, int, int, int, int, int) {}
void FillRect(int, int, int, int, std::uint32_t) {}
void DrawRectOutline(int, int, int, int, std::uint32_t) {}
void DrawLine(int, int, int, int, std::uint32_t) {}
void DrawThickLine(int, int, int, int, int, std::uint32_t) {}
void DrawArcFan(int, int, int, float, float, int, int) {}
