#pragma once
// The GL functions the engine draws with (gl_device.cpp, gl_shader.cpp). On Linux libepoxy
// resolves them. Windows has no libepoxy, and opengl32 exports only GL 1.1, so there they are
// pointers of a table of our own, filled once a context is current (engine/win32/gl_functions.cpp)
// and reached under their usual names.

#if defined(_WIN32)

// The calling convention glcorearb.h would otherwise take from <windows.h>, whose macros must
// not reach the engine's drawing code.
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#include <GL/glcorearb.h>

// Every GL function the engine calls, with its pointer type, named without the "gl" prefix.
#define CORSARO_GL_FUNCTIONS(X)                                \
  X(PFNGLATTACHSHADERPROC, AttachShader)                       \
  X(PFNGLBINDBUFFERPROC, BindBuffer)                           \
  X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                 \
  X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)               \
  X(PFNGLBINDSAMPLERPROC, BindSampler)                         \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                         \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                 \
  X(PFNGLBLENDFUNCPROC, BlendFunc)                             \
  X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)                 \
  X(PFNGLBUFFERDATAPROC, BufferData)                           \
  X(PFNGLBUFFERSUBDATAPROC, BufferSubData)                     \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)   \
  X(PFNGLCLEARPROC, Clear)                                     \
  X(PFNGLCLEARCOLORPROC, ClearColor)                           \
  X(PFNGLCLEARDEPTHPROC, ClearDepth)                           \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                     \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                     \
  X(PFNGLCREATESHADERPROC, CreateShader)                       \
  X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                     \
  X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)           \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                     \
  X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)         \
  X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                   \
  X(PFNGLDELETESHADERPROC, DeleteShader)                       \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                   \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)           \
  X(PFNGLDEPTHFUNCPROC, DepthFunc)                             \
  X(PFNGLDEPTHMASKPROC, DepthMask)                             \
  X(PFNGLDISABLEPROC, Disable)                                 \
  X(PFNGLDRAWARRAYSPROC, DrawArrays)                           \
  X(PFNGLDRAWELEMENTSPROC, DrawElements)                       \
  X(PFNGLENABLEPROC, Enable)                                   \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray) \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer) \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)       \
  X(PFNGLGENBUFFERSPROC, GenBuffers)                           \
  X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                 \
  X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)               \
  X(PFNGLGENSAMPLERSPROC, GenSamplers)                         \
  X(PFNGLGENTEXTURESPROC, GenTextures)                         \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                 \
  X(PFNGLGENERATEMIPMAPPROC, GenerateMipmap)                   \
  X(PFNGLGETBOOLEANVPROC, GetBooleanv)                         \
  X(PFNGLGETERRORPROC, GetError)                               \
  X(PFNGLGETFLOATVPROC, GetFloatv)                             \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                         \
  X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)             \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                       \
  X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)               \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                         \
  X(PFNGLGETSTRINGPROC, GetString)                             \
  X(PFNGLGETTEXIMAGEPROC, GetTexImage)                         \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)           \
  X(PFNGLLINEWIDTHPROC, LineWidth)                             \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                         \
  X(PFNGLPIXELSTOREIPROC, PixelStorei)                         \
  X(PFNGLREADPIXELSPROC, ReadPixels)                           \
  X(PFNGLRENDERBUFFERSTORAGEPROC, RenderbufferStorage)         \
  X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)             \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                       \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                           \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                     \
  X(PFNGLTEXSUBIMAGE2DPROC, TexSubImage2D)                     \
  X(PFNGLUNIFORM1IPROC, Uniform1i)                             \
  X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)               \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                           \
  X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)         \
  X(PFNGLVIEWPORTPROC, Viewport)

namespace corsaro_gl {
#define CORSARO_GL_DECLARE(type, name) extern type name;
CORSARO_GL_FUNCTIONS(CORSARO_GL_DECLARE)
#undef CORSARO_GL_DECLARE
}  // namespace corsaro_gl

#define glAttachShader corsaro_gl::AttachShader
#define glBindBuffer corsaro_gl::BindBuffer
#define glBindFramebuffer corsaro_gl::BindFramebuffer
#define glBindRenderbuffer corsaro_gl::BindRenderbuffer
#define glBindSampler corsaro_gl::BindSampler
#define glBindTexture corsaro_gl::BindTexture
#define glBindVertexArray corsaro_gl::BindVertexArray
#define glBlendFunc corsaro_gl::BlendFunc
#define glBlitFramebuffer corsaro_gl::BlitFramebuffer
#define glBufferData corsaro_gl::BufferData
#define glBufferSubData corsaro_gl::BufferSubData
#define glCheckFramebufferStatus corsaro_gl::CheckFramebufferStatus
#define glClear corsaro_gl::Clear
#define glClearColor corsaro_gl::ClearColor
#define glClearDepth corsaro_gl::ClearDepth
#define glCompileShader corsaro_gl::CompileShader
#define glCreateProgram corsaro_gl::CreateProgram
#define glCreateShader corsaro_gl::CreateShader
#define glDeleteBuffers corsaro_gl::DeleteBuffers
#define glDeleteFramebuffers corsaro_gl::DeleteFramebuffers
#define glDeleteProgram corsaro_gl::DeleteProgram
#define glDeleteRenderbuffers corsaro_gl::DeleteRenderbuffers
#define glDeleteSamplers corsaro_gl::DeleteSamplers
#define glDeleteShader corsaro_gl::DeleteShader
#define glDeleteTextures corsaro_gl::DeleteTextures
#define glDeleteVertexArrays corsaro_gl::DeleteVertexArrays
#define glDepthFunc corsaro_gl::DepthFunc
#define glDepthMask corsaro_gl::DepthMask
#define glDisable corsaro_gl::Disable
#define glDrawArrays corsaro_gl::DrawArrays
#define glDrawElements corsaro_gl::DrawElements
#define glEnable corsaro_gl::Enable
#define glEnableVertexAttribArray corsaro_gl::EnableVertexAttribArray
#define glFramebufferRenderbuffer corsaro_gl::FramebufferRenderbuffer
#define glFramebufferTexture2D corsaro_gl::FramebufferTexture2D
#define glGenBuffers corsaro_gl::GenBuffers
#define glGenFramebuffers corsaro_gl::GenFramebuffers
#define glGenRenderbuffers corsaro_gl::GenRenderbuffers
#define glGenSamplers corsaro_gl::GenSamplers
#define glGenTextures corsaro_gl::GenTextures
#define glGenVertexArrays corsaro_gl::GenVertexArrays
#define glGenerateMipmap corsaro_gl::GenerateMipmap
#define glGetBooleanv corsaro_gl::GetBooleanv
#define glGetError corsaro_gl::GetError
#define glGetFloatv corsaro_gl::GetFloatv
#define glGetIntegerv corsaro_gl::GetIntegerv
#define glGetProgramInfoLog corsaro_gl::GetProgramInfoLog
#define glGetProgramiv corsaro_gl::GetProgramiv
#define glGetShaderInfoLog corsaro_gl::GetShaderInfoLog
#define glGetShaderiv corsaro_gl::GetShaderiv
#define glGetString corsaro_gl::GetString
#define glGetTexImage corsaro_gl::GetTexImage
#define glGetUniformLocation corsaro_gl::GetUniformLocation
#define glLineWidth corsaro_gl::LineWidth
#define glLinkProgram corsaro_gl::LinkProgram
#define glPixelStorei corsaro_gl::PixelStorei
#define glReadPixels corsaro_gl::ReadPixels
#define glRenderbufferStorage corsaro_gl::RenderbufferStorage
#define glSamplerParameteri corsaro_gl::SamplerParameteri
#define glShaderSource corsaro_gl::ShaderSource
#define glTexImage2D corsaro_gl::TexImage2D
#define glTexParameteri corsaro_gl::TexParameteri
#define glTexSubImage2D corsaro_gl::TexSubImage2D
#define glUniform1i corsaro_gl::Uniform1i
#define glUniformMatrix4fv corsaro_gl::UniformMatrix4fv
#define glUseProgram corsaro_gl::UseProgram
#define glVertexAttribPointer corsaro_gl::VertexAttribPointer
#define glViewport corsaro_gl::Viewport

#else

#include <epoxy/gl.h>

#endif

// With the context current: makes the GL functions callable and answers the context's version as
// major * 10 + minor, or 0 when a function is missing (the context cannot carry the engine).
int LoadGlFunctions();
