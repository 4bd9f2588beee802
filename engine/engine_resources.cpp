// Placeholder bodies until this part is built.
#include "engine/engine_impl.h"

void EngineImpl::System_Log(const char* /*format*/, ...) {}
void* EngineImpl::Resource_Load(const char* /*name*/, std::uint32_t* /*size*/) { return {}; }
void EngineImpl::Resource_Free(void* /*data*/) {}
bool EngineImpl::Resource_AddPack(const char* /*fileName*/, const char* /*password*/) { return {}; }
void EngineImpl::Resource_RemovePack(const char* /*fileName*/) {}
void EngineImpl::Resource_RemoveAllPacks() {}
const char* EngineImpl::Resource_FullPath(const char* /*name*/) { return {}; }
const char* EngineImpl::Resource_FindFile(const char* /*pattern*/) { return {}; }
const char* EngineImpl::Resource_FindFolder(const char* /*pattern*/) { return {}; }
void EngineImpl::Ini_WriteInt(const char* /*section*/, const char* /*key*/, int /*value*/) {}
int EngineImpl::Ini_ReadInt(const char* /*section*/, const char* /*key*/, int /*defaultValue*/) { return {}; }
void EngineImpl::Ini_WriteFloat(const char* /*section*/, const char* /*key*/, float /*value*/) {}
float EngineImpl::Ini_ReadFloat(const char* /*section*/, const char* /*key*/, float /*defaultValue*/) { return {}; }
void EngineImpl::Ini_WriteString(const char* /*section*/, const char* /*key*/, const char* /*value*/) {}
const char* EngineImpl::Ini_ReadString(const char* /*section*/, const char* /*key*/, const char* /*defaultValue*/) { return {}; }
void EngineImpl::Random_Seed(std::uint32_t /*seed*/) {}
int EngineImpl::Random_Integer(int /*min*/, int /*max*/) { return {}; }
float EngineImpl::Random_Real(float /*min*/, float /*max*/) { return {}; }
