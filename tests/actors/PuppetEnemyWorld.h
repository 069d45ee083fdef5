#pragma once

#include "support/EnemyWorld.h"

#include <unistd.h>

#include "core/render/Bitmap.h"
#include "skeleton/CorvelPuppet.h"

// The enemies' world, run from the game's data directory so that the generated sample puppets
// and the game's scripts are found by their own paths. The puppets' texture is faked: a texture
// without a GL name lets a puppet pose and count its draws with no window.
class PuppetEnemyWorld : public EnemyWorld
{
protected:
    void SetUp() override
    {
        EnemyWorld::SetUp();
        CorvelPuppet::SetTextureLoader(FakeTexture);
        ASSERT_NE(getcwd(mPreviousDir, sizeof(mPreviousDir)), nullptr);
        ASSERT_EQ(chdir(CORVEL_SOURCE_DIR "/game"), 0);
    }

    void TearDown() override
    {
        if(chdir(mPreviousDir) != 0) ADD_FAILURE() << "could not return to " << mPreviousDir;
        CorvelPuppet::SetTextureLoader(nullptr);
        EnemyWorld::TearDown();
    }

    static Bitmap *FakeTexture(const char *)
    {
        Bitmap *nBitmap = new Bitmap();
        nBitmap->SetSize(256, 256);
        nBitmap->SetTextureSize(256, 256);
        return nBitmap;
    }

    char mPreviousDir[512];
};
