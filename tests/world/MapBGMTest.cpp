#include "WorldLuaFixture.h"

#include <cmath>

#include "core/render/Bitmap.h"
#include "support/ScratchFolder.h"
#include "world/MapBGM.h"
#include "world/MapManager.h"

namespace
{
    Hitbox Frame(float pLft, float pTop)
    {
        return HitboxFromEdges(pLft, pTop, pLft + 480.0f, pTop + 360.0f);
    }

    void Place(BackgroundPack &sPack, float pLft, float pTop, float pRgt, float pBot)
    {
        sPack.mLft = pLft;
        sPack.mTop = pTop;
        sPack.mRgt = pRgt;
        sPack.mBot = pBot;
    }

    class MapBGMTest : public WorldLuaFixture
    {
    protected:
        void SetUp() override
        {
            WorldLuaFixture::SetUp();
            mMap = new MapManager();
            GetApplication()->mMapManager = mMap;
            RegisterMapBGMLua(L);
            RegisterDataLibraryLua(L);
            EntityManager::RegisterLua(L);
            // A picture without a texture: the numbers are all the packs read here.
            Bitmap *nImage = new Bitmap();
            nImage->SetSize(256, 128);
            nImage->SetTextureSize(256, 128);
            mLibrary->AddPath("Root/Images/Backgrounds/Sky/");
            mLibrary->AddEntry("Root/Images/Backgrounds/Sky/Sky", nImage, Bitmap::DeleteThis, DL_KIND_BITMAP);
        }

        void TearDown() override
        {
            delete mMap;
            WorldLuaFixture::TearDown();
        }

        MapManager *mMap;
    };
}

// A pack 2000 wide and 1000 high with a 256 x 128 picture repeated four times across, twice
// down: span 1024 x 256, so the picture has 976 units to travel across and 744 down.
TEST(MapBGMPlacement, ParallaxFollowsTheCameraAcrossThePack)
{
    BackgroundPack tPack;
    Place(tPack, 0.0f, 0.0f, 2000.0f, 1000.0f);
    tPack.mAppearancesX = 4.0f;
    tPack.mAppearancesY = 2.0f;

    BackgroundPlacement tLeft = ComputeBackgroundPlacement(tPack, Frame(0.0f, 0.0f), 256.0f, 128.0f);
    EXPECT_FLOAT_EQ(tLeft.mOffsetX, 0.0f);
    EXPECT_FLOAT_EQ(tLeft.mOffsetY, 0.0f);

    // Halfway: fx = 1000 / 2000, fy = 320 / (1000 - 360).
    BackgroundPlacement tMiddle = ComputeBackgroundPlacement(tPack, Frame(1000.0f, 320.0f), 256.0f, 128.0f);
    EXPECT_FLOAT_EQ(tMiddle.mFractionX, 0.5f);
    EXPECT_FLOAT_EQ(tMiddle.mOffsetX, 0.5f * 976.0f);
    EXPECT_FLOAT_EQ(tMiddle.mFractionY, 0.5f);
    EXPECT_FLOAT_EQ(tMiddle.mOffsetY, 0.5f * 744.0f);
    EXPECT_FLOAT_EQ(tMiddle.mScrollU, 0.0f);

    // The right and bottom edge: the frame's left at 1520 is fx 0.76; the bottom clamps to 1.
    BackgroundPlacement tRight = ComputeBackgroundPlacement(tPack, Frame(1520.0f, 640.0f), 256.0f, 128.0f);
    EXPECT_FLOAT_EQ(tRight.mOffsetX, 0.76f * 976.0f);
    EXPECT_FLOAT_EQ(tRight.mOffsetY, 744.0f);

    // Past the right edge without force scroll it stops at 1 and the texture does not move.
    BackgroundPlacement tBeyond = ComputeBackgroundPlacement(tPack, Frame(3000.0f, 2000.0f), 256.0f, 128.0f);
    EXPECT_FLOAT_EQ(tBeyond.mOffsetX, 976.0f);
    EXPECT_FLOAT_EQ(tBeyond.mScrollU, 0.0f);
}

TEST(MapBGMPlacement, ForceScrollShiftsTheTextureByTheExcess)
{
    BackgroundPack tPack;
    Place(tPack, 1000.0f, 0.0f, 2000.0f, 300.0f);
    tPack.mForceScrollX = 1;
    // The camera 500 left of the pack: fx = -0.5, so the texture moves by half the room.
    BackgroundPlacement tPlace = ComputeBackgroundPlacement(tPack, Frame(500.0f, 0.0f), 256.0f, 128.0f);
    EXPECT_FLOAT_EQ(tPlace.mFractionX, 0.0f);
    EXPECT_FLOAT_EQ(tPlace.mScrollU, 0.5f * (1000.0f - 256.0f) / 256.0f);
    // A pack lower than a screen never scrolls down.
    EXPECT_FLOAT_EQ(tPlace.mOffsetY, 0.0f);
}

TEST(MapBGMPlacement, SmallEmptyAndExactlyScreenSizedPacksStayPut)
{
    BackgroundPack tNarrow;
    Place(tNarrow, 0.0f, 0.0f, 479.0f, 2000.0f);
    BackgroundPlacement tPlace = ComputeBackgroundPlacement(tNarrow, Frame(100.0f, 0.0f), 64.0f, 64.0f);
    EXPECT_FLOAT_EQ(tPlace.mFractionX, 0.0f);

    BackgroundPack tOneScreen;
    Place(tOneScreen, 0.0f, 0.0f, 2000.0f, 360.0f);
    tPlace = ComputeBackgroundPlacement(tOneScreen, Frame(100.0f, 200.0f), 64.0f, 64.0f);
    EXPECT_TRUE(std::isfinite(tPlace.mOffsetY));
    EXPECT_FLOAT_EQ(tPlace.mOffsetY, 0.0f);

    BackgroundPack tInverted;
    Place(tInverted, 100.0f, 100.0f, -500.0f, -500.0f);
    tPlace = ComputeBackgroundPlacement(tInverted, Frame(0.0f, 0.0f), 0.0f, 0.0f);
    EXPECT_TRUE(std::isfinite(tPlace.mOffsetX) && std::isfinite(tPlace.mOffsetY) && std::isfinite(tPlace.mScrollU));

    // A frame that spans the whole pack leaves it where it is.
    BackgroundPack tSmall;
    Place(tSmall, 100.0f, 100.0f, 300.0f, 200.0f);
    tPlace = ComputeBackgroundPlacement(tSmall, Frame(0.0f, 0.0f), 64.0f, 64.0f);
    EXPECT_FLOAT_EQ(tPlace.mOffsetX + tPlace.mOffsetY, 0.0f);
}

TEST_F(MapBGMTest, ScriptsBuildPacksThatTheCleanScriptClears)
{
    int32_t tStack = mLibrary->GetActiveStackSize();
    Run("MapBGM_CreatePack('Far')"
        " MapBGM_SetPackProperty('Activate')"
        " MapBGM_SetPackProperty('Appearances', 3, 3)"
        " MapBGM_SetPackProperty('Image', 'Root/Images/Backgrounds/Sky/Sky')"
        " MapBGM_SetPackProperty('Dimensions', 0, -40, 3000, 600)"
        " MapBGM_SetPackProperty('Depth', -0.9)"
        " MapBGM_SetPackProperty('Appearances', 0, 2)"
        " MapBGM_SetPackProperty('Appearances', 12, 2)"
        " MapBGM_SetPackProperty('ForceScroll', true, false)");
    // Other counts, types and keys change nothing and say nothing.
    testing::internal::CaptureStderr();
    Run("MapBGM_SetPackProperty('Depth', 1, 2) MapBGM_SetPackProperty('NoSuchKey', 1)"
        " MapBGM_SetPackProperty('Dimensions', 0, 0, 'x', 1) MapBGM_SetPackProperty('Depth', 'deep')"
        " DL_PopActiveEntity()");
    EXPECT_EQ(CapturedStderr(), "");
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack);
    BackgroundPack *rPack = mMap->GetBackgrounds()->GetPack("Far");
    ASSERT_NE(rPack, nullptr);
    // Activated before the image was set: still inactive.
    EXPECT_EQ(rPack->mActive, 0);
    EXPECT_FLOAT_EQ(rPack->mAppearancesX, 12.0f);
    EXPECT_FLOAT_EQ(rPack->mAppearancesY, 2.0f);
    EXPECT_FLOAT_EQ(rPack->mTop, -40.0f);
    EXPECT_FLOAT_EQ(rPack->mDepth, -0.9f);
    EXPECT_EQ(rPack->mForceScrollX, 1);
    EXPECT_EQ(rPack->mForceScrollY, 0);

    Run("EM_PushEntity('None') DL_PopActiveEntity()");
    Run("MapBGM_CreatePack('Near') MapBGM_SetPackProperty('Image', 'Root/Images/Backgrounds/Sky/Sky')"
        " MapBGM_SetPackProperty('Activate')");
    EXPECT_EQ(mMap->GetBackgrounds()->GetPack("Near")->mActive, 1);
    // Purging the picture leaves the pack without one, and inactive.
    mLibrary->Purge("Root/Images/Backgrounds/Sky/Sky", false);
    EXPECT_EQ(mMap->GetBackgrounds()->GetPack("Near")->rImage, nullptr);
    EXPECT_EQ(mMap->GetBackgrounds()->GetPack("Near")->mActive, 0);

    // The pack still active goes with the clean script; the library forgets it.
    mMap->RunCleanScript();
    EXPECT_EQ(mMap->GetBackgrounds()->GetCount(), 0);
    EXPECT_EQ(mLibrary->GetActiveObject(), nullptr);
    Run("DL_PopActiveEntity()");
}

// A pack whose picture never made it into the library, or came from a file that was missing
// (the loader stores a picture with no pixels), says so with its own name and the picture's,
// and the script line that named the picture.
TEST_F(MapBGMTest, APackWithoutAUsablePictureNamesItselfThePictureAndTheLine)
{
    mLibrary->AddEntry("Root/Images/Backgrounds/Sky/Lost", new Bitmap(), Bitmap::DeleteThis, DL_KIND_BITMAP);
    ScratchFolder tFolder("mapbgm");
    ASSERT_TRUE(tFolder.WriteText("Packs.lua", "MapBGM_CreatePack('Clouds')\n"
                                               "MapBGM_SetPackProperty('Image', 'Root/Images/Backgrounds/Sky/Skyy')\n"
                                               "MapBGM_SetPackProperty('Activate') DL_PopActiveEntity()\n"
                                               "MapBGM_CreatePack('Hills')\n"
                                               "MapBGM_SetPackProperty('Image', 'Root/Images/Backgrounds/Sky/Lost')\n"
                                               "DL_PopActiveEntity()\n"
                                               "MapBGM_CreatePack('Sky')\n"
                                               "MapBGM_SetPackProperty('Image', 'Root/Images/Backgrounds/Sky/Sky')\n"
                                               "DL_PopActiveEntity()\n"));
    const std::string tPath = tFolder.File("Packs.lua");
    testing::internal::CaptureStderr();
    mLua->ExecuteFile(tPath.c_str());
    EXPECT_EQ(CapturedStderr(), "MapBGM_SetPackProperty: " + tPath + ":2: warning, pack Clouds names "
                                "Root/Images/Backgrounds/Sky/Skyy, which holds no picture; the pack draws nothing.\n"
                                "MapBGM_SetPackProperty: " + tPath + ":5: warning, pack Hills shows "
                                "Root/Images/Backgrounds/Sky/Lost, a picture with no pixels (its file was missing or "
                                "unreadable); the pack draws nothing.\n");
    EXPECT_EQ(mMap->GetBackgrounds()->GetPack("Clouds")->mActive, 0);
    EXPECT_STREQ(mMap->GetBackgrounds()->GetPack("Sky")->GetName(), "Sky");
}

TEST_F(MapBGMTest, GlobalsRefuseWrongCountsAndObjects)
{
    testing::internal::CaptureStderr();
    int32_t tStack = mLibrary->GetActiveStackSize();
    Run("MapBGM_CreatePack() MapBGM_CreatePack('A', 'B') MapBGM_CreatePack({})");
    // Every call pushed, failed or not.
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack + 3);
    EXPECT_EQ(mMap->GetBackgrounds()->GetCount(), 0);
    Run("MapBGM_SetPackProperty('Depth', 3) MapBGM_SetPackProperty()");
    // The player is active now: not a pack.
    mEntities->CreatePlayer();
    Run("EM_PushEntity('Player') MapBGM_SetPackProperty('Depth', 3) DL_PopActiveEntity()");
    std::string tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("MapBGM_CreatePack: Failed, invalid argument list"), std::string::npos);
    EXPECT_NE(tErrors.find("MapBGM_SetPackProperty: Failed, invalid argument list"), std::string::npos);
    size_t tFirst = tErrors.find("MapBGM_SetPackProperty: Failed, rActiveObject was wrong type");
    ASSERT_NE(tFirst, std::string::npos);
    EXPECT_NE(tErrors.find("MapBGM_SetPackProperty: Failed, rActiveObject was wrong type", tFirst + 1), std::string::npos);
    EXPECT_EQ(lua_gettop(L), 0);
}
