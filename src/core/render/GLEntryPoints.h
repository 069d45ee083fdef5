#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// OpenGL entry points above version 1.1, fetched by name once the display exists. They carry
// their own names so that no header's aliasing of the gl* names can reach them. Each stays
// null when the driver does not offer it; callers test before calling.
extern PFNGLATTACHSHADERPROC xglAttachShader;
extern PFNGLBINDBUFFERPROC xglBindBuffer;
extern PFNGLBUFFERDATAPROC xglBufferData;
extern PFNGLCOMPILESHADERPROC xglCompileShader;
extern PFNGLCOMPRESSEDTEXIMAGE2DPROC xglCompressedTexImage2D;
extern PFNGLCREATEPROGRAMPROC xglCreateProgram;
extern PFNGLCREATESHADERPROC xglCreateShader;
extern PFNGLDELETEPROGRAMPROC xglDeleteProgram;
extern PFNGLDELETESHADERPROC xglDeleteShader;
extern PFNGLGENBUFFERSPROC xglGenBuffers;
extern PFNGLGETSHADERIVPROC xglGetShaderiv;
extern PFNGLGETSHADERINFOLOGPROC xglGetShaderInfoLog;
extern PFNGLGETPROGRAMIVPROC xglGetProgramiv;
extern PFNGLGETPROGRAMINFOLOGPROC xglGetProgramInfoLog;
extern PFNGLGETUNIFORMLOCATIONPROC xglGetUniformLocation;
extern PFNGLLINKPROGRAMPROC xglLinkProgram;
extern PFNGLSHADERSOURCEPROC xglShaderSource;
extern PFNGLUSEPROGRAMPROC xglUseProgram;
extern PFNGLUNIFORM1IPROC xglUniform1i;
extern PFNGLUNIFORM4FPROC xglUniform4f;

// Fetches all twenty through Allegro (the display's context must be current) and traces each
// name with its address. Called once at boot, before the shaders are built.
void LoadGLEntryPoints();
