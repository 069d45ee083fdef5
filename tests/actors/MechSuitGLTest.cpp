#include <gtest/gtest.h>

#include <GL/gl.h>

#include "support/RenderTestDisplay.h"
#include "actors/MechSuit.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"

#include <vector>

// The mech drawn on a real display: its body, wherever it lies inside the frame, must cover
// its box in either facing, as that box is what she boards and what stands on the floor.
class MechSuitGLTest : public DisplaySuite
{
protected:
    void SetUp() override
    {
        DisplaySuite::SetUp();
        if(IsSkipped()) return;
        rSavedLibrary = GetApplication()->mDataLibrary;
        GetApplication()->mDataLibrary = new DataLibrary();

        // A 128 by 160 frame, clear but for an opaque red body over 68..98 by 79..146.
        std::vector<uint8_t> tPixels(128 * 160 * 4, 0);
        for(int32_t y = 79; y < 146; y++)
        {
            for(int32_t x = 68; x < 98; x++)
            {
                uint8_t *rTexel = &tPixels[(size_t)(y * 128 + x) * 4];
                rTexel[0] = 200;
                rTexel[3] = 255;
            }
        }
        mFrame = Bitmap::FromRGBA(tPixels.data(), 128, 160);
        CorvelAnimation *nIdle = new CorvelAnimation();
        nIdle->SetTotalFrames(1);
        nIdle->SetTicksPerFrame(10.0f);
        nIdle->SetFrame(0, mFrame);
        DataLibrary *rLibrary = DataLibrary::Fetch();
        rLibrary->AddPath("Root/Animations/Enemies/MechBase/");
        rLibrary->AddEntry("Root/Animations/Enemies/MechBase/Idle", nIdle, CorvelAnimation::DeleteThis, DL_KIND_ROOTOBJECT);
        mMech.SetPosition(200.0f, 100.0f);
        mMech.SetAnimation(MECH_ANIM_IDLE, false, 0);
    }
    void TearDown() override
    {
        if(IsSkipped()) return;
        delete GetApplication()->mDataLibrary;
        GetApplication()->mDataLibrary = rSavedLibrary;
        delete mFrame;
    }

    void Draw()
    {
        BeginSpriteFrame(0, 0, 0.5f);
        mMech.Render();
        EndSpriteFrame();
    }

    uint8_t RedAt(int32_t pViewX, int32_t pViewY)
    {
        uint8_t tPixel[4];
        glReadPixels(pViewX, 359 - pViewY, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, tPixel);
        return tPixel[0];
    }

    DataLibrary *rSavedLibrary = nullptr;
    Bitmap *mFrame = nullptr;
    MechSuit mMech;
};

TEST_F(MechSuitGLTest, TheBodyCoversTheBoxInBothFacings)
{
    for(int32_t tFlip = 0; tFlip < 2; tFlip++)
    {
        mMech.SetFlip(tFlip != 0);
        Draw();
        // Its box is 200..230 by 100..167: both edges of the body and nothing beside it.
        EXPECT_EQ(RedAt(201, 133), 200) << "flip " << tFlip;
        EXPECT_EQ(RedAt(228, 133), 200) << "flip " << tFlip;
        EXPECT_EQ(RedAt(215, 101), 200) << "flip " << tFlip;
        EXPECT_EQ(RedAt(215, 165), 200) << "flip " << tFlip;
        EXPECT_EQ(RedAt(197, 133), 0) << "flip " << tFlip;
        EXPECT_EQ(RedAt(233, 133), 0) << "flip " << tFlip;
    }
}
