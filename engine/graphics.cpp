// Placeholder bodies until this part is built.
#include "engine/graphics.h"

unsigned Graphics::PrepareWindow() { return 0; }
bool Graphics::Initiate() { return false; }
void Graphics::Shutdown() {}
bool Graphics::HasDevice() const { return false; }
bool Graphics::SaveBackBuffer(const char* /*path*/) { return false; }
