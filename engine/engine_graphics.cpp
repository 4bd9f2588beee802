// Placeholder bodies until this part is built.
#include "engine/engine_impl.h"

bool EngineImpl::Gfx_BeginScene(TargetHandle /*target*/) { return {}; }
void EngineImpl::Gfx_EndScene() {}
void EngineImpl::Gfx_Clear(std::uint32_t /*colour*/) {}
void EngineImpl::Gfx_DrawLine(float /*x1*/, float /*y1*/, float /*x2*/, float /*y2*/, std::uint32_t /*colour*/, float /*z*/) {}
void EngineImpl::Gfx_DrawTriangle(const Triangle* /*triangle*/) {}
void EngineImpl::Gfx_DrawQuad(const Quad* /*quad*/) {}
Vertex* EngineImpl::Gfx_BeginBatch(int /*primitiveKind*/, TextureHandle /*texture*/, int /*blend*/, int* /*maximum*/) { return {}; }
void EngineImpl::Gfx_EndBatch(int /*primitiveCount*/) {}
void EngineImpl::Gfx_SetClipRect(int /*x*/, int /*y*/, int /*width*/, int /*height*/) {}
void EngineImpl::Gfx_SetTransform(float /*x*/, float /*y*/, float /*dx*/, float /*dy*/, float /*rotation*/, float /*hscale*/, float /*vscale*/) {}
TargetHandle EngineImpl::Target_Create(int /*width*/, int /*height*/, bool /*withDepth*/) { return {}; }
void EngineImpl::Target_Free(TargetHandle /*target*/) {}
TextureHandle EngineImpl::Target_Texture(TargetHandle /*target*/) { return {}; }
TextureHandle EngineImpl::Texture_Create(int /*width*/, int /*height*/) { return {}; }
TextureHandle EngineImpl::Texture_Load(const void* /*dataOrName*/, std::uint32_t /*size*/, bool /*mipmaps*/) { return {}; }
void EngineImpl::Texture_Free(TextureHandle /*texture*/) {}
int EngineImpl::Texture_Width(TextureHandle /*texture*/, bool /*fromImage*/) { return {}; }
int EngineImpl::Texture_Height(TextureHandle /*texture*/, bool /*fromImage*/) { return {}; }
std::uint32_t* EngineImpl::Texture_Lock(TextureHandle /*texture*/, bool /*readOnly*/, int /*left*/, int /*top*/, int /*width*/, int /*height*/) { return {}; }
void EngineImpl::Texture_Unlock(TextureHandle /*texture*/) {}
