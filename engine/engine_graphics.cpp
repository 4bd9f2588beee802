// The engine's graphics operations; the work is done by Graphics.
#include "engine/engine_impl.h"

bool EngineImpl::Gfx_BeginScene(TargetHandle target) {
  return graphics.BeginScene(target);
}
void EngineImpl::Gfx_EndScene() {
  graphics.EndScene();
}
void EngineImpl::Gfx_Clear(std::uint32_t colour) {
  graphics.Clear(colour);
}

void EngineImpl::Gfx_DrawLine(float x1, float y1, float x2, float y2, std::uint32_t colour,
                              float z) {
  graphics.DrawLine(x1, y1, x2, y2, colour, z);
}

void EngineImpl::Gfx_DrawTriangle(const Triangle* triangle) {
  graphics.DrawTriangle(triangle);
}
void EngineImpl::Gfx_DrawQuad(const Quad* quad) {
  graphics.DrawQuad(quad);
}

Vertex* EngineImpl::Gfx_BeginBatch(int primitiveKind, TextureHandle texture, int blend,
                                   int* maximum) {
  return graphics.BeginBatch(primitiveKind, texture, blend, maximum);
}

void EngineImpl::Gfx_EndBatch(int primitiveCount) {
  graphics.EndBatch(primitiveCount);
}

void EngineImpl::Gfx_SetClipRect(int x, int y, int width, int height) {
  graphics.SetClipRect(x, y, width, height);
}

void EngineImpl::Gfx_SetTransform(float x, float y, float dx, float dy, float rotation,
                                  float hscale, float vscale) {
  graphics.SetTransform(x, y, dx, dy, rotation, hscale, vscale);
}

TargetHandle EngineImpl::Target_Create(int width, int height, bool withDepth) {
  return graphics.TargetCreate(width, height, withDepth);
}
void EngineImpl::Target_Free(TargetHandle target) {
  graphics.TargetFree(target);
}
TextureHandle EngineImpl::Target_Texture(TargetHandle target) {
  return graphics.TargetTexture(target);
}

TextureHandle EngineImpl::Texture_Create(int width, int height) {
  return graphics.TextureCreate(width, height);
}

TextureHandle EngineImpl::Texture_Load(const void* dataOrName, std::uint32_t size, bool mipmaps) {
  return graphics.TextureLoad(dataOrName, size, mipmaps);
}

void EngineImpl::Texture_Free(TextureHandle texture) {
  graphics.TextureFree(texture);
}

int EngineImpl::Texture_Width(TextureHandle texture, bool fromImage) {
  return graphics.TextureWidth(texture, fromImage);
}

int EngineImpl::Texture_Height(TextureHandle texture, bool fromImage) {
  return graphics.TextureHeight(texture, fromImage);
}

std::uint32_t* EngineImpl::Texture_Lock(TextureHandle texture, bool readOnly, int left, int top,
                                        int width, int height) {
  return graphics.TextureLock(texture, readOnly, left, top, width, height);
}

void EngineImpl::Texture_Unlock(TextureHandle texture) {
  graphics.TextureUnlock(texture);
}
