#include "core/render/DisplayManager.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_opengl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"
#include "core/render/GLEntryPoints.h"
#include "core/render/GLState.h"

// One letterbox for the process: the render handlers compute it and Begin2DView reads it.
static ViewportRect xLetterbox = {0, 0, 0, 0};

// Name -> u32 value; created with the first display and kept for the process.
static NamedLinkedList *xGLEnumerations = nullptr;

// The longest window side ever asked of the window system. GL drivers make framebuffers of at
// most 16384 on a side (X's own limit is 32767); past that, window and driver fail inside
// their own code and take the process with them.
static const int32_t cMaxWindowSide = 16384;

bool ClampWindowSize(int32_t &sWidth, int32_t &sHeight, int32_t pMaxWidth, int32_t pMaxHeight)
{
    if(pMaxWidth < 1 || pMaxWidth > cMaxWindowSide) pMaxWidth = cMaxWindowSide;
    if(pMaxHeight < 1 || pMaxHeight > cMaxWindowSide) pMaxHeight = cMaxWindowSide;
    if(sWidth <= pMaxWidth && sHeight <= pMaxHeight) return false;
    fprintf(stderr, "Display of size %i by %i is larger than a display can be made, using ", sWidth, sHeight);
    if(sWidth > pMaxWidth) sWidth = pMaxWidth;
    if(sHeight > pMaxHeight) sHeight = pMaxHeight;
    fprintf(stderr, "%i by %i.\n", sWidth, sHeight);
    return true;
}

// The largest width and height of the monitors the window system reports; 0 when it reports
// none, which leaves only the driver's limit.
static void LargestMonitor(int32_t &sWidth, int32_t &sHeight)
{
    sWidth = sHeight = 0;
    int tAdapters = al_get_num_video_adapters();
    for(int i = 0; i < tAdapters; i++)
    {
        ALLEGRO_MONITOR_INFO tInfo;
        if(!al_get_monitor_info(i, &tInfo)) continue;
        if(tInfo.x2 - tInfo.x1 > sWidth) sWidth = tInfo.x2 - tInfo.x1;
        if(tInfo.y2 - tInfo.y1 > sHeight) sHeight = tInfo.y2 - tInfo.y1;
    }
}

// Options are read only once the options manager exists; before that the built-in defaults
// stand in, so the display can also be made by code that runs without configuration.
static bool OptionBool(const char *pName)
{
    OptionsManager *rOptions = OptionsManager::Get();
    return rOptions && rOptions->GetBool(pName);
}

static int32_t OptionInt(const char *pName, int32_t pFallback)
{
    OptionsManager *rOptions = OptionsManager::Get();
    return rOptions ? rOptions->GetInt(pName) : pFallback;
}

// List deleters: each entry is a malloc'd cell holding the GL name of its object.
static void DeleteProgramCell(void *pCell)
{
    GLuint *nCell = (GLuint *)pCell;
    if(nCell && xglDeleteProgram) xglDeleteProgram(*nCell);
    free(nCell);
}

static void DeleteShaderCell(void *pCell)
{
    GLuint *nCell = (GLuint *)pCell;
    if(nCell && xglDeleteShader) xglDeleteShader(*nCell);
    free(nCell);
}

void FitViewport(int32_t pWindowW, int32_t pWindowH, int32_t pVirtualW, int32_t pVirtualH,
                 bool pForceDirect, ViewportRect &sRect, int32_t &sViewportW, int32_t &sViewportH)
{
    sViewportW = pWindowW;
    sViewportH = pWindowH;
    if(pVirtualW == 0) return;
    float tViewAspect = (float)pVirtualH / (float)pVirtualW;

    if(!pForceDirect)
    {
        if(pWindowW == 0) return;
        float tWindowAspect = (float)pWindowH / (float)pWindowW;
        sRect.mX = 0;
        sRect.mY = 0;
        sRect.mW = 0;
        sRect.mH = 0;
        if(tViewAspect == tWindowAspect) return;

        if(tViewAspect > tWindowAspect)
        {
            sRect.mX = (int32_t)(((float)pWindowW - (float)pWindowH / tViewAspect) / 2.0f);
            sRect.mW = pWindowW - 2 * sRect.mX;
            sRect.mH = pWindowH;
        }
        else
        {
            sRect.mY = (int32_t)(((float)pWindowH - (float)pWindowW * tViewAspect) / 2.0f);
            sRect.mH = pWindowH - 2 * sRect.mY;
            sRect.mW = pWindowW;
        }
        sViewportW = sRect.mW;
        sViewportH = sRect.mH;
        return;
    }

    float tSizeW = (float)pVirtualW;
    float tSizeH = (float)pVirtualH;
    while((float)pWindowW > tSizeW + pVirtualW && (float)pWindowH > tSizeH + pVirtualH)
    {
        tSizeW += pVirtualW;
        tSizeH += pVirtualH;
    }
    sRect.mX = (int32_t)(((float)pWindowW - tSizeW) / 2.0f);
    sRect.mY = (int32_t)(((float)pWindowH - tSizeH) / 2.0f);
    sRect.mW = (int32_t)tSizeW;
    sRect.mH = (int32_t)tSizeH;
}

DisplayManager::DisplayManager()
{
    mBooted = 1;
    mProgramList = new NamedLinkedList(1);
    mShaderList = new NamedLinkedList(1);
    mFullscreenWindow = 0;
    mCurrentProgram = 0;

    Application *rApp = GetApplication();
    if(OptionBool("Fullscreen"))
    {
        al_set_new_display_flags(ALLEGRO_FULLSCREEN_WINDOW | ALLEGRO_OPENGL);
        mFullscreenWindow = 1;
    }
    else
    {
        al_set_new_display_flags(ALLEGRO_WINDOWED | ALLEGRO_OPENGL);
    }
    if(!OptionBool("BlockDepthBuffer")) al_set_new_display_option(ALLEGRO_DEPTH_SIZE, 16, ALLEGRO_SUGGEST);
    if(!OptionBool("BlockStencilBuffer")) al_set_new_display_option(ALLEGRO_STENCIL_SIZE, 8, ALLEGRO_SUGGEST);

    int32_t tStartX = OptionInt("StartWinX", 0);
    int32_t tStartY = OptionInt("StartWinY", 0);
    if(tStartX != 0 || tStartY != 0) al_set_new_window_position(tStartX, tStartY);

    rApp->mWindowWidth = OptionInt("WinSizeX", rApp->mWindowWidth);
    rApp->mWindowHeight = OptionInt("WinSizeY", rApp->mWindowHeight);
    int32_t tMonitorW, tMonitorH;
    LargestMonitor(tMonitorW, tMonitorH);
    ClampWindowSize(rApp->mWindowWidth, rApp->mWindowHeight, tMonitorW, tMonitorH);
    rApp->mDisplay = al_create_display(rApp->mWindowWidth, rApp->mWindowHeight);
    if(!rApp->mDisplay)
    {
        fprintf(stderr, "Display of size %i by %i failed to create.\n", rApp->mWindowWidth, rApp->mWindowHeight);
        fprintf(stderr, "With no display, the program will now exit\n");
        rApp->mQuitFlag = 1;
        return;
    }

    al_set_target_backbuffer(rApp->mDisplay);
    al_set_window_title(rApp->mDisplay, "Brontel");
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    GLState::DropClearFragments();
    BuildGLEnumerations();
}

DisplayManager::~DisplayManager()
{
    delete mProgramList;
    delete mShaderList;
}

DisplayManager *DisplayManager::Get()
{
    return GetApplication()->mDisplayManager;
}

void DisplayManager::ComputeViewport()
{
    Application *rApp = GetApplication();
    FitViewport(rApp->mWindowWidth, rApp->mWindowHeight, rApp->mVirtualWidth, rApp->mVirtualHeight,
                OptionBool("ForceDirectAspectRatios"), xLetterbox, rApp->mViewportWidth, rApp->mViewportHeight);
}

const ViewportRect &DisplayManager::GetLetterbox()
{
    return xLetterbox;
}

void DisplayManager::ToggleFullscreen()
{
    Application *rApp = GetApplication();
    if(!rApp->mDisplay) return;
    mFullscreenWindow = !mFullscreenWindow;
    al_set_display_flag(rApp->mDisplay, ALLEGRO_FULLSCREEN_WINDOW, mFullscreenWindow);
    rApp->mWindowWidth = al_get_display_width(rApp->mDisplay);
    rApp->mWindowHeight = al_get_display_height(rApp->mDisplay);
}

void DisplayManager::RegisterProgram(const char *pName)
{
    if(!pName || !xglCreateProgram) return;
    GLuint *nCell = (GLuint *)malloc(sizeof(GLuint));
    if(!nCell) return;
    *nCell = xglCreateProgram();
    mProgramList->AddElementWithDeleter(pName, nCell, DeleteProgramCell);
}

void DisplayManager::RegisterShader(const char *pName, const char *pPath, bool pIsVertex)
{
    if(!pName || !pPath || !xglCreateShader) return;
    GLuint *nCell = (GLuint *)malloc(sizeof(GLuint));
    if(!nCell) return;
    *nCell = xglCreateShader(pIsVertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    mShaderList->AddElementWithDeleter(pName, nCell, DeleteShaderCell);

    // An unreadable file leaves the shader without source: its compile then fails and logs.
    char *tText = ReadTextFile(pPath);
    if(tText && xglShaderSource)
    {
        const GLchar *rSource = tText;
        xglShaderSource(*nCell, 1, &rSource, nullptr);
    }
    free(tText);
}

void DisplayManager::AttachShader(const char *pProgramName, const char *pShaderName)
{
    GLuint *rProgram = (GLuint *)mProgramList->GetElementByName(pProgramName);
    GLuint *rShader = (GLuint *)mShaderList->GetElementByName(pShaderName);
    if(!rProgram || !rShader)
    {
        fprintf(stderr, "%p %p\n", (void *)rProgram, (void *)rShader);
        return;
    }
    if(xglAttachShader) xglAttachShader(*rProgram, *rShader);
}

// Prints a shader's or program's info log to standard error when it has one.
static void PrintInfoLog(GLuint pObject, bool pIsProgram)
{
    GLint tLength = 0;
    if(pIsProgram)
    {
        if(!xglGetProgramiv || !xglGetProgramInfoLog) return;
        xglGetProgramiv(pObject, GL_INFO_LOG_LENGTH, &tLength);
    }
    else
    {
        if(!xglGetShaderiv || !xglGetShaderInfoLog) return;
        xglGetShaderiv(pObject, GL_INFO_LOG_LENGTH, &tLength);
    }
    if(tLength <= 0) return;

    char *tLog = (char *)malloc((size_t)tLength + 1);
    if(!tLog) return;
    GLsizei tWritten = 0;
    if(pIsProgram) xglGetProgramInfoLog(pObject, tLength, &tWritten, tLog);
    else           xglGetShaderInfoLog(pObject, tLength, &tWritten, tLog);
    if(tWritten < 0) tWritten = 0;
    if(tWritten > tLength) tWritten = tLength;
    tLog[tWritten] = '\0';
    fprintf(stderr, "%s\n", tLog);
    free(tLog);
}

void DisplayManager::CompileShaders()
{
    Debug::Print("[DisplayManager] Compiling shaders\n");
    if(xglGetShaderiv && xglCompileShader)
    {
        GLuint *rCell = (GLuint *)mShaderList->PushIterator();
        while(rCell)
        {
            GLint tStatus = 0;
            xglGetShaderiv(*rCell, GL_COMPILE_STATUS, &tStatus);
            if(tStatus == 0)
            {
                xglCompileShader(*rCell);
                xglGetShaderiv(*rCell, GL_COMPILE_STATUS, &tStatus);
                Debug::Print("Shader %i %s Status: %i\n", (int)*rCell, mShaderList->GetIteratorName(), (int)tStatus);
                if(tStatus == 0) PrintInfoLog(*rCell, false);
            }
            rCell = (GLuint *)mShaderList->IterateNext();
        }
    }
    Debug::Print("[DisplayManager] Finished shader compilation\n");
}

void DisplayManager::LinkProgram(const char *pName)
{
    GLuint *rProgram = (GLuint *)mProgramList->GetElementByName(pName);
    if(!rProgram || !xglLinkProgram) return;
    xglLinkProgram(*rProgram);
    PrintInfoLog(*rProgram, true);
}

void DisplayManager::UseProgram(const char *pName)
{
    if(!xglUseProgram) return;
    if(!pName)
    {
        xglUseProgram(0);
        return;
    }
    mCurrentProgram = 0;
    GLuint *rProgram = (GLuint *)mProgramList->GetElementByName(pName);
    if(!rProgram) return;
    xglUseProgram(*rProgram);
    mCurrentProgram = *rProgram;
}

static void AddEnumeration(const char *pName, uint32_t pValue)
{
    uint32_t *nValue = (uint32_t *)malloc(sizeof(uint32_t));
    if(!nValue) return;
    *nValue = pValue;
    xGLEnumerations->AddElement(pName, nValue);
}

void BuildGLEnumerations()
{
    if(xGLEnumerations) return;
    xGLEnumerations = new NamedLinkedList(1);
    AddEnumeration("GL_LINEAR", 0x2601);
    AddEnumeration("GL_NEAREST", 0x2600);
    AddEnumeration("GL_LINEAR_MIPMAP_LINEAR", 0x2703);
    AddEnumeration("GL_LINEAR_MIPMAP_NEAREST", 0x2701);
    AddEnumeration("GL_NEAREST_MIPMAP_LINEAR", 0x2702);
    AddEnumeration("GL_NEAREST_MIPMAP_NEAREST", 0x2700);
    AddEnumeration("GL_CLAMP_TO_EDGE", 0x812F);
    AddEnumeration("GL_CLAMP_TO_BORDER", 0x812D);
    AddEnumeration("GL_MIRRORED_REPEAT", 0x8370);
    AddEnumeration("GL_REPEAT", 0x2901);
}

uint32_t GetGLEnumeration(const char *pName)
{
    if(!pName || !xGLEnumerations) return 0;
    uint32_t *rValue = (uint32_t *)xGLEnumerations->GetElementByName(pName);
    if(!rValue)
    {
        Debug::ForcePrint("Error locating enumeration %s\n", pName);
        return 0;
    }
    return *rValue;
}

char *ReadTextFile(const char *pPath)
{
    if(!pPath) return nullptr;
    FILE *fInfile = fopen(pPath, "r");
    if(!fInfile) return nullptr;

    char *tText = nullptr;
    long tLength = -1;
    if(fseek(fInfile, 0, SEEK_END) == 0) tLength = ftell(fInfile);
    if(tLength > 0 && fseek(fInfile, 0, SEEK_SET) == 0)
    {
        tText = (char *)malloc((size_t)tLength + 1);
        if(tText)
        {
            size_t tRead = fread(tText, 1, (size_t)tLength, fInfile);
            tText[tRead] = '\0';
            if(tRead == 0)
            {
                free(tText);
                tText = nullptr;
            }
        }
    }
    fclose(fInfile);
    return tText;
}
