// The normal and sanitizer trees build every fuzz target without libFuzzer, around this entry
// point: it runs each file of the given directories (or each given file) through the target
// once, so every committed seed and every input kept from a past failure is replayed by the
// unit tests, and the targets keep compiling with the engine they exercise.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize);
extern "C" int LLVMFuzzerInitialize(int *pArgc, char ***pArgv) __attribute__((weak));

namespace
{
    bool ReplayFile(const char *pPath)
    {
        FILE *fInput = fopen(pPath, "rb");
        if(!fInput)
        {
            fprintf(stderr, "replay: cannot open %s\n", pPath);
            return false;
        }
        uint8_t *tData = nullptr;
        size_t tSize = 0;
        size_t tCapacity = 0;
        bool tSound = true;
        while(tSound)
        {
            if(tSize == tCapacity)
            {
                tCapacity = tCapacity ? tCapacity * 2 : 4096;
                uint8_t *tGrown = (uint8_t *)realloc(tData, tCapacity);
                tSound = tGrown != nullptr;
                if(tGrown) tData = tGrown;
                if(!tSound) break;
            }
            size_t tRead = fread(tData + tSize, 1, tCapacity - tSize, fInput);
            if(tRead == 0) break;
            tSize += tRead;
        }
        fclose(fInput);
        if(tSound)
        {
            fprintf(stderr, "replay: %s (%zu bytes)\n", pPath, tSize);
            LLVMFuzzerTestOneInput(tData, tSize);
        }
        free(tData);
        return tSound;
    }

    bool ReplayPath(const char *pPath)
    {
        struct stat tInfo;
        if(stat(pPath, &tInfo) != 0) return false;
        if(!S_ISDIR(tInfo.st_mode)) return ReplayFile(pPath);

        struct dirent **tEntries = nullptr;
        int tCount = scandir(pPath, &tEntries, nullptr, alphasort);
        if(tCount < 0) return false;
        bool tSound = true;
        for(int i = 0; i < tCount; i++)
        {
            char tChild[4096];
            int tWritten = snprintf(tChild, sizeof(tChild), "%s/%s", pPath, tEntries[i]->d_name);
            struct stat tChildInfo;
            if(tEntries[i]->d_name[0] != '.' && tWritten > 0 && (size_t)tWritten < sizeof(tChild) &&
               stat(tChild, &tChildInfo) == 0 && S_ISREG(tChildInfo.st_mode))
            {
                tSound = ReplayFile(tChild) && tSound;
            }
            free(tEntries[i]);
        }
        free(tEntries);
        return tSound;
    }
}

int main(int argc, char **argv)
{
    if(LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    bool tSound = argc > 1;
    for(int i = 1; i < argc; i++) tSound = ReplayPath(argv[i]) && tSound;
    return tSound ? 0 : 1;
}
