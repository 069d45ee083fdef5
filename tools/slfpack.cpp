// slfpack: writes a lump file (".slf") from a text manifest.
//
// Usage: slfpack MANIFEST OUTPUT.slf
//
// The manifest format is described in src/core/data/LumpManifest.h. The header defaults to
// "Corvel lump file"; the directory is written sorted by name (strcmp order), whatever the
// order of the manifest. A mistake in the manifest writes nothing.

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <cstdio>

#include "core/data/LumpManifest.h"
#include "core/data/LumpWriter.h"

int main(int argc, char **argv)
{
    if(argc != 3)
    {
        fprintf(stderr, "usage: slfpack MANIFEST OUTPUT.slf\n");
        return 2;
    }
    if(!al_init() || !al_init_image_addon())
    {
        fprintf(stderr, "slfpack: cannot start the image loader\n");
        return 1;
    }

    FILE *fManifest = fopen(argv[1], "rb");
    if(!fManifest)
    {
        fprintf(stderr, "slfpack: cannot open %s\n", argv[1]);
        return 1;
    }
    LumpWriter tWriter;
    tWriter.SetHeader("Corvel lump file");
    bool tRead = ReadLumpManifest(fManifest, argv[1], &tWriter);
    fclose(fManifest);
    if(!tRead) return 1;

    if(!tWriter.WriteToFile(argv[2]))
    {
        fprintf(stderr, "slfpack: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
