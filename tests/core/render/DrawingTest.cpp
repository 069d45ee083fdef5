#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "support/GLTestContext.h"
#include "support/ScratchFolder.h"

namespace
{
    const uint32_t cRed = 0xFF0000FFu, cGreen = 0x00FF00FFu, cBlue = 0x0000FFFFu, cWhite = 0xFFFFFFFFu;
    const uint32_t cNone = 0u;

    // A 2 x 2 picture, rows top first as image files and IMAGE lumps hold them:
    // red green / blue white.
    const uint8_t cPicture[16] =
    {
        255, 0, 0, 255,   0, 255, 0, 255,
        0, 0, 255, 255,   255, 255, 255, 255,
    };

    class DrawingGLTest : public GLTestContext
    {
    protected:
        void SetUp() override
        {
            GLTestContext::SetUp();
            if(IsSkipped()) return;
            ClearDrawColor();
        }

        // The four window pixels of a 2 x 2 picture drawn with its top left at (x, y).
        struct Quad { uint32_t mTL, mTR, mBL, mBR; };
        static Quad ReadQuad(int32_t pX, int32_t pY)
        {
            return {ReadPixel(pX, pY), ReadPixel(pX + 1, pY), ReadPixel(pX, pY + 1), ReadPixel(pX + 1, pY + 1)};
        }
        static void ExpectQuad(const Quad &pGot, uint32_t pTL, uint32_t pTR, uint32_t pBL, uint32_t pBR, const char *pWhat)
        {
            EXPECT_EQ(pTL, pGot.mTL) << pWhat << " top left";
            EXPECT_EQ(pTR, pGot.mTR) << pWhat << " top right";
            EXPECT_EQ(pBL, pGot.mBL) << pWhat << " bottom left";
            EXPECT_EQ(pBR, pGot.mBR) << pWhat << " bottom right";
        }

        // Writes the picture as a PNG through Allegro into the folder and returns its path.
        static std::string WritePicturePng(const ScratchFolder &pFolder)
        {
            if(!pFolder.IsMade()) return std::string();
            std::string tPath = pFolder.File("Picture.png");
            int tOldFlags = al_get_new_bitmap_flags();
            al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
            ALLEGRO_BITMAP *nImage = al_create_bitmap(2, 2);
            al_set_new_bitmap_flags(tOldFlags);
            al_set_target_bitmap(nImage);
            for(int y = 0; y < 2; y ++)
                for(int x = 0; x < 2; x ++)
                {
                    const uint8_t *rP = cPicture + (y * 2 + x) * 4;
                    al_put_pixel(x, y, al_map_rgba(rP[0], rP[1], rP[2], rP[3]));
                }
            bool tSaved = al_save_bitmap(tPath.c_str(), nImage);
            al_destroy_bitmap(nImage);
            al_set_target_backbuffer(sDisplay);
            return tSaved ? tPath : std::string();
        }

        // The Bitmap an IMAGE lump of the same rows becomes.
        static Bitmap *PictureAsLump()
        {
            Bitmap *nBitmap = new Bitmap();
            nBitmap->SetTexture(UploadImageData(cPicture, 2, 2, 0, 1, sizeof(cPicture)), 1);
            nBitmap->SetSize(2, 2);
            nBitmap->SetTextureSize(2, 2);
            return nBitmap;
        }

        static void ExpectDrawsUpright(const Bitmap &pBitmap, const char *pWhat)
        {
            pBitmap.Draw(4, 4, 0);
            ExpectQuad(ReadQuad(4, 4), cRed, cGreen, cBlue, cWhite, pWhat);
            pBitmap.Draw(10, 4, 1);
            ExpectQuad(ReadQuad(10, 4), cGreen, cRed, cWhite, cBlue, pWhat);
            pBitmap.Draw(16, 4, 2);
            ExpectQuad(ReadQuad(16, 4), cBlue, cWhite, cRed, cGreen, pWhat);
            pBitmap.Draw(22, 4, 3);
            ExpectQuad(ReadQuad(22, 4), cWhite, cBlue, cGreen, cRed, pWhat);
            pBitmap.Draw(28, 4, 5);
            ExpectQuad(ReadQuad(28, 4), cGreen, cRed, cWhite, cBlue, pWhat);
            pBitmap.Draw(34, 4, 4);
            ExpectQuad(ReadQuad(34, 4), cNone, cNone, cNone, cNone, pWhat);

            glPushMatrix();
            glTranslatef(40.0f, 4.0f, 0.0f);
            pBitmap.Bind();
            pBitmap.DrawUnitQuad();
            glPopMatrix();
            ExpectQuad(ReadQuad(40, 4), cRed, cGreen, cBlue, cWhite, pWhat);
        }
    };

    // The row order settled for the engine: a picture loaded from its file and the same rows
    // uploaded as an IMAGE lump both show top row up, under every flip mode.
    TEST_F(DrawingGLTest, FileAndLumpPicturesShowTheSameWayUp)
    {
        ScratchFolder tFolder("draw");
        std::string tPath = WritePicturePng(tFolder);
        ASSERT_FALSE(tPath.empty());
        Bitmap *nFromFile = Bitmap::LoadFromFile(tPath.c_str());
        ASSERT_NE(0u, nFromFile->GetTexture());
        EXPECT_EQ(2, nFromFile->GetWidth());
        ExpectDrawsUpright(*nFromFile, "file");

        glClear(GL_COLOR_BUFFER_BIT);
        Bitmap *nFromLump = PictureAsLump();
        ExpectDrawsUpright(*nFromLump, "lump");

        delete nFromFile;
        delete nFromLump;
    }

    TEST_F(DrawingGLTest, TrimmedPicturesLandInsideTheFullImage)
    {
        Bitmap *nBitmap = PictureAsLump();
        nBitmap->SetTextureSize(8, 4);
        nBitmap->SetOffset(1, 1);
        nBitmap->Draw(20, 20, 1); // x + (8 - 2 - 1), y + 1
        ExpectQuad(ReadQuad(25, 21), cGreen, cRed, cWhite, cBlue, "mirrored trim");
        EXPECT_EQ(cNone, ReadPixel(21, 21));

        nBitmap->DrawRegion(1, 1, 30, 30, 0); // the region starts at the picture's top left
        EXPECT_EQ(cRed, ReadPixel(31, 31));
        EXPECT_EQ(cNone, ReadPixel(32, 31));
        EXPECT_EQ(cNone, ReadPixel(31, 32));

        nBitmap->SetOffset(0, 0);
        nBitmap->DrawRotatedCentred(40, 40, 180.0f, 0);
        ExpectQuad(ReadQuad(40, 40), cWhite, cBlue, cGreen, cRed, "half turn");

        nBitmap->DrawRegionScaled(2, 2, 50, 50, 4, 4, 0);
        EXPECT_EQ(cRed, ReadPixel(51, 51));
        EXPECT_EQ(cWhite, ReadPixel(53, 53));
        delete nBitmap;
    }

    TEST_F(DrawingGLTest, DrawColourTintsOnceOrUntilCleared)
    {
        Bitmap *nBitmap = PictureAsLump();
        SetDrawColorEntryRGB(3, 0, 255, 0);
        SetDrawColorIndexOnce(3);
        nBitmap->Draw(4, 4, 0);
        nBitmap->Draw(10, 4, 0);
        EXPECT_EQ(cGreen, ReadPixel(5, 5));  // white texel times green
        EXPECT_EQ(cWhite, ReadPixel(11, 5));
        nBitmap->DrawTinted(ColorRGBA::FromBytes(0, 0, 255), 16, 4, 0);
        EXPECT_EQ(cBlue, ReadPixel(17, 5));
        delete nBitmap;
    }

    TEST_F(DrawingGLTest, QuadBackEndKeepsTheMatrixStack)
    {
        Bitmap *nBitmap = PictureAsLump();
        uint32_t tTexture = nBitmap->GetTexture();
        ColorRGBA tWhite = ColorRGBA::FromFloats(1, 1, 1);
        GLint tDepth = ModelviewDepth();
        DrawTexturedQuad(tTexture, tWhite, 0, 0, 0, 0.0f, 1.0f, 2, 2, 4, 4, 0);
        DrawTexturedQuad(tTexture, tWhite, 0, 0, 0, 1.0f, 0.0f, 2, 2, 4, 4, 0);
        DrawTexturedQuad(0, tWhite, 0, 0, 0, 1.0f, 1.0f, 2, 2, 4, 4, 0);
        EXPECT_EQ(cNone, ReadPixel(4, 4));
        DrawTexturedQuad(tTexture, tWhite, 1, 1, 90.0f, 2.0f, 2.0f, 2, 2, 10, 10, 6);
        DrawTextureRotatedScaledWhite(tTexture, 1, 1, 20, 20, 2.0f, 2.0f, 90.0f, 0);
        DrawTextureRegionScaledWhite(tTexture, 0, 2, 4, 4, 8, 8, 0);
        EXPECT_EQ(tDepth, ModelviewDepth());

        glPushMatrix();
        glTranslatef(30.0f, 30.0f, 0.0f);
        glScalef(2.0f, 2.0f, 1.0f);
        DrawTextureUnitList(tTexture, tWhite);
        glPopMatrix();
        EXPECT_EQ(cRed, ReadPixel(30, 30));
        EXPECT_EQ(cWhite, ReadPixel(31, 31));
        delete nBitmap;
    }

    TEST_F(DrawingGLTest, ShapesLeaveWhiteColourAndTexturing)
    {
        DrawRectFilled(4, 4, 8, 8, ColorRGBA::FromBytes(255, 0, 0));
        EXPECT_EQ(cRed, ReadPixel(5, 5));
        EXPECT_EQ(cNone, ReadPixel(9, 9));
        GLfloat tColour[4] = {0, 0, 0, 0};
        glGetFloatv(GL_CURRENT_COLOR, tColour);
        EXPECT_FLOAT_EQ(1.0f, tColour[0]);
        EXPECT_FLOAT_EQ(1.0f, tColour[1]);
        EXPECT_FLOAT_EQ(1.0f, tColour[3]);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

        DrawRectOutline(20.5f, 20.5f, 30.5f, 30.5f, ColorRGBA::FromBytes(0, 0, 255), 1.0f);
        EXPECT_EQ(cBlue, ReadPixel(25, 20));
        EXPECT_EQ(cNone, ReadPixel(25, 25));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

        // The count is truncated: 2.9 leaves two vertices, which cover nothing.
        const float cTwo[] = {2.9f, 40, 40, 60, 40, 50, 60};
        DrawPolygon(cTwo, ColorRGBA::FromBytes(0, 255, 0), 1.0f);
        EXPECT_EQ(cNone, ReadPixel(50, 45));
        const float cThree[] = {3.0f, 20, 20, 30, 20, 25, 30};
        DrawPolygon(cThree, ColorRGBA::FromBytes(0, 255, 0), 2.0f);
        EXPECT_EQ(cGreen, ReadPixel(50, 45));
        DrawPolygon(nullptr, ColorRGBA::FromBytes(0, 255, 0), 1.0f);
        glGetFloatv(GL_CURRENT_COLOR, tColour);
        EXPECT_FLOAT_EQ(1.0f, tColour[2]);

        ApplyColorWithAlpha(ColorRGBA::FromBytes(0, 0, 0), 0.5f);
        glGetFloatv(GL_CURRENT_COLOR, tColour);
        EXPECT_FLOAT_EQ(0.5f, tColour[3]);
        ApplyColor(ColorRGBA::FromFloats(1, 1, 1));
    }
    TEST_F(DrawingGLTest, PerspectiveViewLooksDownTheDepthWithYDownAndUnwindsWholly)
    {
        GLint tModelview = ModelviewDepth();
        GLint tProjection = 0, tAttributes = 0;
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &tProjection);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &tAttributes);

        GLState::Begin3D();
        GLfloat tMatrix[16];
        glGetFloatv(GL_PROJECTION_MATRIX, tMatrix);
        EXPECT_FLOAT_EQ(1.0f, tMatrix[0]);
        // Top below bottom: y grows downwards on screen, as in the 2D view.
        EXPECT_FLOAT_EQ(-2.0f / 1.5f, tMatrix[5]);
        EXPECT_FLOAT_EQ(-257.0f / 255.0f, tMatrix[10]);
        EXPECT_FLOAT_EQ(-1.0f, tMatrix[11]);
        EXPECT_FLOAT_EQ(-512.0f / 255.0f, tMatrix[14]);
        glGetFloatv(GL_MODELVIEW_MATRIX, tMatrix);
        EXPECT_FLOAT_EQ(1.0f, tMatrix[0]);
        EXPECT_FLOAT_EQ(0.0f, tMatrix[12]);

        GLState::End3D();
        GLint tMode = 0, tProjectionAfter = 0, tAttributesAfter = 0;
        glGetIntegerv(GL_MATRIX_MODE, &tMode);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &tProjectionAfter);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &tAttributesAfter);
        EXPECT_EQ(tModelview, ModelviewDepth());
        EXPECT_EQ(tProjection, tProjectionAfter);
        EXPECT_EQ(tAttributes, tAttributesAfter);
        EXPECT_EQ(GL_MODELVIEW, tMode);
        EXPECT_EQ((GLenum)GL_NO_ERROR, glGetError());
    }
}
