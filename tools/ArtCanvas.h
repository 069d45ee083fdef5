// ArtCanvas.h: the picture helpers shared by the art tools: a blank memory canvas, the
// dark rim, and saving into the output directory given on the command line. Each tool is one
// program, so these are file-local.
#pragma once
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

static char xRoot[2048];
static const char *xToolName = "art";

// Makes the folder and those above it. The build runs the generators side by side and they
// share folders, so a folder that another one made a moment ago counts as made; a check-then-
// make walk would fail on that race.
static bool MakeArtFolder(const char *pPath)
{
    char tPath[4096];
    size_t tLength = strlen(pPath);
    if(tLength == 0 || tLength >= sizeof(tPath)) return false;
    memcpy(tPath, pPath, tLength + 1);
    for(size_t i = 1; i <= tLength; i++)
    {
        if(tPath[i] != '/' && tPath[i] != '\0') continue;
        char tKept = tPath[i];
        tPath[i] = '\0';
        if(mkdir(tPath, 0755) != 0 && errno != EEXIST) return false;
        tPath[i] = tKept;
    }
    struct stat tInfo;
    return stat(pPath, &tInfo) == 0 && S_ISDIR(tInfo.st_mode);
}

static ALLEGRO_BITMAP *NewCanvas(int pWidth, int pHeight)
{
    ALLEGRO_BITMAP *nBitmap = al_create_bitmap(pWidth, pHeight);
    if(!nBitmap)
    {
        fprintf(stderr, "%s: cannot make a %i by %i picture\n", xToolName, pWidth, pHeight);
        exit(1);
    }
    al_set_target_bitmap(nBitmap);
    al_clear_to_color(al_map_rgba(0, 0, 0, 0));
    ALLEGRO_TRANSFORM tIdentity;
    al_identity_transform(&tIdentity);
    al_use_transform(&tIdentity);
    return nBitmap;
}

// A dark rim around everything drawn so far, so she reads against any background. Only
// transparent pixels next to drawn ones change, so the swappable colours stay exact.
[[maybe_unused]] static void Outline(ALLEGRO_BITMAP *pBitmap)
{
    const int tW = al_get_bitmap_width(pBitmap);
    const int tH = al_get_bitmap_height(pBitmap);
    ALLEGRO_LOCKED_REGION *rLock = al_lock_bitmap(pBitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READWRITE);
    if(!rLock) return;
    unsigned char *nSolid = (unsigned char *)calloc((size_t)tW * (size_t)tH, 1);
    if(!nSolid)
    {
        al_unlock_bitmap(pBitmap);
        return;
    }
    for(int y = 0; y < tH; y++)
    {
        const unsigned char *rRow = (const unsigned char *)rLock->data + y * rLock->pitch;
        for(int x = 0; x < tW; x++) nSolid[y * tW + x] = rRow[x * 4 + 3] > 0;
    }
    for(int y = 0; y < tH; y++)
    {
        unsigned char *rRow = (unsigned char *)rLock->data + y * rLock->pitch;
        for(int x = 0; x < tW; x++)
        {
            if(nSolid[y * tW + x]) continue;
            bool tNear = (x > 0 && nSolid[y * tW + x - 1]) || (x + 1 < tW && nSolid[y * tW + x + 1]) ||
                         (y > 0 && nSolid[(y - 1) * tW + x]) || (y + 1 < tH && nSolid[(y + 1) * tW + x]);
            if(!tNear) continue;
            rRow[x * 4 + 0] = 24;
            rRow[x * 4 + 1] = 20;
            rRow[x * 4 + 2] = 40;
            rRow[x * 4 + 3] = 255;
        }
    }
    free(nSolid);
    al_unlock_bitmap(pBitmap);
}

// Saves under the output directory and frees the picture.
static void Save(ALLEGRO_BITMAP *pBitmap, const char *pName)
{
    char tPath[4096];
    int tWritten = snprintf(tPath, sizeof(tPath), "%s%s.png", xRoot, pName);
    if(tWritten < 0 || (size_t)tWritten >= sizeof(tPath))
    {
        fprintf(stderr, "%s: path too long for %s\n", xToolName, pName);
        exit(1);
    }
    al_set_target_bitmap(nullptr);
    if(!al_save_bitmap(tPath, pBitmap))
    {
        fprintf(stderr, "%s: cannot write %s\n", xToolName, tPath);
        exit(1);
    }
    al_destroy_bitmap(pBitmap);
}

[[maybe_unused]] static void SaveNumbered(ALLEGRO_BITMAP *pBitmap, const char *pStem, int pIndex)
{
    char tName[256];
    snprintf(tName, sizeof(tName), "%s%02i", pStem, pIndex);
    Save(pBitmap, tName);
}

// Takes the output directory from the command line, starts Allegro without a display and
// makes the directory. False after printing why when any of it fails.
static bool StartArtTool(const char *pToolName, int argc, char **argv)
{
    xToolName = pToolName;
    if(argc != 2)
    {
        fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", pToolName);
        return false;
    }
    size_t tLength = strlen(argv[1]);
    bool tSlash = tLength > 0 && argv[1][tLength - 1] == '/';
    int tWritten = snprintf(xRoot, sizeof(xRoot), "%s%s", argv[1], tSlash ? "" : "/");
    if(tWritten < 0 || (size_t)tWritten >= sizeof(xRoot))
    {
        fprintf(stderr, "%s: directory name too long\n", pToolName);
        return false;
    }
    if(!al_init() || !al_init_image_addon() || !al_init_primitives_addon())
    {
        fprintf(stderr, "%s: cannot start Allegro\n", pToolName);
        return false;
    }
    if(!MakeArtFolder(xRoot))
    {
        fprintf(stderr, "%s: cannot make the folder %s\n", pToolName, xRoot);
        return false;
    }
    // Memory pictures need no display, so this runs on build machines without one.
    al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP | ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    return true;
}
