#include "core/render/GLEntryPoints.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_opengl.h>

#include "core/DebugPrint.h"

PFNGLATTACHSHADERPROC xglAttachShader = nullptr;
PFNGLBINDBUFFERPROC xglBindBuffer = nullptr;
PFNGLBUFFERDATAPROC xglBufferData = nullptr;
PFNGLCOMPILESHADERPROC xglCompileShader = nullptr;
PFNGLCOMPRESSEDTEXIMAGE2DPROC xglCompressedTexImage2D = nullptr;
PFNGLCREATEPROGRAMPROC xglCreateProgram = nullptr;
PFNGLCREATESHADERPROC xglCreateShader = nullptr;
PFNGLDELETEPROGRAMPROC xglDeleteProgram = nullptr;
PFNGLDELETESHADERPROC xglDeleteShader = nullptr;
PFNGLGENBUFFERSPROC xglGenBuffers = nullptr;
PFNGLGETSHADERIVPROC xglGetShaderiv = nullptr;
PFNGLGETSHADERINFOLOGPROC xglGetShaderInfoLog = nullptr;
PFNGLGETPROGRAMIVPROC xglGetProgramiv = nullptr;
PFNGLGETPROGRAMINFOLOGPROC xglGetProgramInfoLog = nullptr;
PFNGLGETUNIFORMLOCATIONPROC xglGetUniformLocation = nullptr;
PFNGLLINKPROGRAMPROC xglLinkProgram = nullptr;
PFNGLSHADERSOURCEPROC xglShaderSource = nullptr;
PFNGLUSEPROGRAMPROC xglUseProgram = nullptr;
PFNGLUNIFORM1IPROC xglUniform1i = nullptr;
PFNGLUNIFORM4FPROC xglUniform4f = nullptr;

// Fetches one entry point into its slot and traces it; the slot's type drives the cast.
template <typename T>
static void FetchEntryPoint(T &sSlot, const char *pName)
{
    void *rAddress = al_get_opengl_proc_address(pName);
    sSlot = reinterpret_cast<T>(rAddress);
    Debug::Print("%s %p\n", pName, rAddress);
}

void LoadGLEntryPoints()
{
    Debug::PushPrint(1, "[GL Wrangling] Begin\n");
    FetchEntryPoint(xglAttachShader, "glAttachShader");
    FetchEntryPoint(xglBindBuffer, "glBindBuffer");
    FetchEntryPoint(xglBufferData, "glBufferData");
    FetchEntryPoint(xglCompileShader, "glCompileShader");
    FetchEntryPoint(xglCompressedTexImage2D, "glCompressedTexImage2D");
    FetchEntryPoint(xglCreateProgram, "glCreateProgram");
    FetchEntryPoint(xglCreateShader, "glCreateShader");
    FetchEntryPoint(xglDeleteProgram, "glDeleteProgram");
    FetchEntryPoint(xglDeleteShader, "glDeleteShader");
    FetchEntryPoint(xglGenBuffers, "glGenBuffers");
    FetchEntryPoint(xglGetShaderiv, "glGetShaderiv");
    FetchEntryPoint(xglGetShaderInfoLog, "glGetShaderInfoLog");
    FetchEntryPoint(xglGetProgramiv, "glGetProgramiv");
    FetchEntryPoint(xglGetProgramInfoLog, "glGetProgramInfoLog");
    FetchEntryPoint(xglGetUniformLocation, "glGetUniformLocation");
    FetchEntryPoint(xglLinkProgram, "glLinkProgram");
    FetchEntryPoint(xglShaderSource, "glShaderSource");
    FetchEntryPoint(xglUseProgram, "glUseProgram");
    FetchEntryPoint(xglUniform1i, "glUniform1i");
    FetchEntryPoint(xglUniform4f, "glUniform4f");
    Debug::PopPrint("[GL Wrangling] Done\n");
}
