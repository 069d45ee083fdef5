#include "core/DebugPrint.h"

#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
    struct DebugPrintStack
    {
        NamedLinkedList *mStack;
        int32_t mDepth;
    };

    // Built on first use and never torn down, so traces from static constructors and from
    // shutdown code always find a valid stack.
    DebugPrintStack &Stack()
    {
        static DebugPrintStack sStack = {new NamedLinkedList(1), 0};
        return sStack;
    }

    uint8_t TopIsOn()
    {
        uint8_t *rTop = (uint8_t *)Stack().mStack->GetHeadData();
        return rTop && *rTop;
    }

    void WriteLine(int32_t pIndent, const char *pFormat, va_list pArgs)
    {
        if(!pFormat) return;
        if(pIndent > 0) fprintf(stderr, "%*s", (int)pIndent, "");
        vfprintf(stderr, pFormat, pArgs);
    }

    // Entries are pushed as heads, so the head is always the top.
    void PushState(uint8_t pState)
    {
        uint8_t *nState = (uint8_t *)malloc(sizeof(uint8_t));
        if(!nState) return;
        *nState = pState ? 1 : 0;
        Stack().mStack->AddElementAsHead("X", nState);
        if(*nState) Stack().mDepth++;
    }
}

void Debug::PushPrintState(uint8_t pState)
{
    PushState(pState);
}

void Debug::PopPrintState()
{
    DebugPrintStack &rStack = Stack();
    if(rStack.mStack->GetCount() < 1) return;
    if(TopIsOn()) rStack.mDepth--;
    rStack.mStack->RemoveHead();
}

void Debug::PushPrint(uint8_t pState, const char *pFormat, ...)
{
    PushState(pState);
    if(!TopIsOn()) return;
    va_list tArgs;
    va_start(tArgs, pFormat);
    WriteLine(Stack().mDepth - 1, pFormat, tArgs);
    va_end(tArgs);
}

uint8_t Debug::ReadTagState(const char *pTag)
{
    if(!pTag) return 0;
    if(!strcmp(pTag, "TRUE")) return 1;
    OptionsManager *rOptions = OptionsManager::Get();
    if(!rOptions) return 0;
    return rOptions->GetBool(pTag);
}

void Debug::PushPrintTag(const char *pTag, const char *pFormat, ...)
{
    PushState(ReadTagState(pTag));
    if(!TopIsOn()) return;
    va_list tArgs;
    va_start(tArgs, pFormat);
    WriteLine(Stack().mDepth - 1, pFormat, tArgs);
    va_end(tArgs);
}

void Debug::Print(const char *pFormat, ...)
{
    if(!TopIsOn()) return;
    va_list tArgs;
    va_start(tArgs, pFormat);
    WriteLine(Stack().mDepth, pFormat, tArgs);
    va_end(tArgs);
}

void Debug::PopPrint(const char *pFormat, ...)
{
    if(TopIsOn())
    {
        va_list tArgs;
        va_start(tArgs, pFormat);
        WriteLine(Stack().mDepth - 1, pFormat, tArgs);
        va_end(tArgs);
    }
    PopPrintState();
}

void Debug::ForcePrint(const char *pFormat, ...)
{
    va_list tArgs;
    va_start(tArgs, pFormat);
    WriteLine(Stack().mDepth, pFormat, tArgs);
    va_end(tArgs);
}

int32_t Debug::GetPrintDepth()
{
    return Stack().mDepth;
}

int32_t Debug::GetPrintStackSize()
{
    return Stack().mStack->GetCount();
}
