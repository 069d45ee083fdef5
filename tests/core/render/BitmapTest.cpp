#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include "core/LuaBindingHelpers.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpWriter.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLEntryPoints.h"
#include "support/GLTestContext.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

namespace
{
    // Puts the process-wide texture settings back whatever a test did to them.
    class TextureDefaultsGuard
    {
    public:
        TextureDefaultsGuard() : mSaved(TextureDefaults::Get()) {}
        ~TextureDefaultsGuard() { TextureDefaults::Get() = mSaved; }
    private:
        TextureDefaults mSaved;
    };

    // ---- Without GL ---------------------------------------------------------------------------

    TEST(BitmapTest, FrameRectanglesPackAndStayInRange)
    {
        Bitmap tBitmap;
        EXPECT_EQ(1, tBitmap.OwnsTexture());
        EXPECT_EQ(0u, tBitmap.GetTexture());
        tBitmap.SetFrameCount(2);
        BitmapFrameRect tFresh = tBitmap.GetFrameRect(1);
        EXPECT_EQ(0, tFresh.mX1 + tFresh.mY1 + tFresh.mX2 + tFresh.mY2);

        tBitmap.SetFrameRectPacked(0, 16 + 32 * 65536, 48 + 64 * 65536);
        BitmapFrameRect tRect = tBitmap.GetFrameRect(0);
        EXPECT_EQ(16, tRect.mX1);
        EXPECT_EQ(32, tRect.mY1);
        EXPECT_EQ(48, tRect.mX2);
        EXPECT_EQ(64, tRect.mY2);
        tBitmap.SetFrameRectPacked(1, -1, 0x7FFF0001);
        tRect = tBitmap.GetFrameRect(1);
        EXPECT_EQ(0xFFFF, tRect.mX1);
        EXPECT_EQ(0xFFFF, tRect.mY1);
        EXPECT_EQ(1, tRect.mX2);
        EXPECT_EQ(0x7FFF, tRect.mY2);

        tBitmap.SetFrameRect(2, 1, 2, 3, 4);
        tBitmap.SetFrameRect(-1, 1, 2, 3, 4);
        tRect = tBitmap.GetFrameRect(2);
        EXPECT_EQ(0, tRect.mX1 + tRect.mY1 + tRect.mX2 + tRect.mY2);
        tBitmap.SetFrameCount(0);
        EXPECT_EQ(0, tBitmap.GetFrameCount());
        EXPECT_EQ(0, tBitmap.GetFrameRect(0).mX1);
    }

    TEST(BitmapTest, DrawPositionKeepsTrimmedPictureInMirroredImage)
    {
        Bitmap tBitmap;
        tBitmap.SetSize(40, 20);
        tBitmap.SetTextureSize(64, 32);
        tBitmap.SetOffset(10, 4);
        int32_t tX = 0, tY = 0;
        tBitmap.GetDrawPosition(100, 50, 0, tX, tY);
        EXPECT_EQ(110, tX); EXPECT_EQ(54, tY);
        tBitmap.GetDrawPosition(100, 50, 1, tX, tY);
        EXPECT_EQ(114, tX); EXPECT_EQ(54, tY);
        tBitmap.GetDrawPosition(100, 50, 2, tX, tY);
        EXPECT_EQ(110, tX); EXPECT_EQ(58, tY);
        tBitmap.GetDrawPosition(100, 50, 3, tX, tY);
        EXPECT_EQ(114, tX); EXPECT_EQ(58, tY);
        tBitmap.GetDrawPosition(100, 50, 9, tX, tY);
        EXPECT_EQ(100, tX); EXPECT_EQ(50, tY);
    }

    // A lump image's layout, whatever numbers its file holds, places the picture without
    // wrapping: positions beyond the int range stop at its ends.
    TEST(BitmapTest, LumpLayoutWithExtremeNumbersPlacesWithoutWrapping)
    {
        ImageFrameRecord tFrames[2] = {{(int32_t)0x00020001, (int32_t)0x00040003}, {-1, 0}};
        ImageRecord tRecord;
        memset(&tRecord, 0, sizeof(tRecord));
        tRecord.mFullWidth = INT32_MIN;
        tRecord.mWidth = INT32_MAX;
        tRecord.mOffsetX = INT32_MAX;
        tRecord.mFullHeight = INT32_MAX;
        tRecord.mHeight = INT32_MIN;
        tRecord.mOffsetY = -5;
        tRecord.mFrameCount = 2;
        tRecord.mFrames = tFrames;

        Bitmap tBitmap;
        tBitmap.TakeImageLayout(&tRecord);
        EXPECT_EQ(INT32_MAX, tBitmap.GetWidth());
        EXPECT_EQ(INT32_MIN, tBitmap.GetTextureWidth());
        ASSERT_EQ(2, tBitmap.GetFrameCount());
        EXPECT_EQ(3, tBitmap.GetFrameRect(0).mX2);
        EXPECT_EQ(4, tBitmap.GetFrameRect(0).mY2);
        EXPECT_EQ(0xFFFF, tBitmap.GetFrameRect(1).mY1);

        int32_t tX = 0, tY = 0;
        tBitmap.GetDrawPosition(100, 50, 0, tX, tY);
        EXPECT_EQ(INT32_MAX, tX); EXPECT_EQ(45, tY);
        tBitmap.GetDrawPosition(100, 50, 3, tX, tY);
        EXPECT_EQ(INT32_MIN, tX); EXPECT_EQ(INT32_MAX, tY);
    }

    // Sizes come from files: data shorter than the picture is refused before GL is touched
    // (these calls run without a context).
    TEST(BitmapTest, ShortImageDataIsRefusedBeforeUpload)
    {
        EXPECT_EQ(2 * 3 * 4, RequiredImageDataSize(2, 3, 1));
        EXPECT_EQ(4, RequiredImageDataSize(500, 500, 7));
        EXPECT_EQ(8, RequiredImageDataSize(4, 4, 3));
        EXPECT_EQ(4 * 8, RequiredImageDataSize(5, 5, 4));
        EXPECT_EQ(16, RequiredImageDataSize(3, 1, 5));
        EXPECT_EQ(4 * 16, RequiredImageDataSize(8, 8, 6));
        EXPECT_EQ((int64_t)70000 * 70000 * 4, RequiredImageDataSize(70000, 70000, 1));
        EXPECT_EQ(0, RequiredImageDataSize(0, 4, 1));
        EXPECT_EQ(INT64_MAX, RequiredImageDataSize(INT32_MAX, INT32_MAX, 1));
        EXPECT_EQ((int64_t)(INT32_MAX / 4 + 1) * (INT32_MAX / 4 + 1) * 16, RequiredImageDataSize(INT32_MAX, INT32_MAX, 6));

        uint8_t tData[64] = {0};
        EXPECT_EQ(0u, UploadImageData(tData, 2, 3, 0, 1, 23));
        EXPECT_EQ(0u, UploadImageData(tData, 70000, 70000, 0, 1, 64));
        EXPECT_EQ(0u, UploadImageData(tData, 1, 1, 0, 7, 3));
        EXPECT_EQ(0u, UploadImageData(tData, 4, 4, 0, 3, 7));
        EXPECT_EQ(0u, UploadImageData(tData, 8, 4, 0, 6, 31));
        EXPECT_EQ(0u, UploadImageData(tData, -2, 4, 0, 1, 64));
        EXPECT_EQ(0u, UploadTexture(nullptr, 2, 2, 0, 1, 16));
        EXPECT_EQ(0u, UploadTexture(tData, 2, 2, 0, 1, 0));
        EXPECT_EQ(0u, UploadImageRecord(nullptr));

        ImageRecord *nRecord = (ImageRecord *)calloc(1, sizeof(ImageRecord));
        nRecord->mData = (uint8_t *)malloc(8);
        nRecord->mWidth = 4;
        nRecord->mHeight = 4;
        nRecord->mCompressionFlag = 1;
        nRecord->mDataSize = 8;
        EXPECT_EQ(0u, UploadImageRecord(nRecord));
        ImageRecord::Free(nRecord);
        ImageRecord::Free(nullptr);
    }

    TEST(BitmapTest, ScriptsSetFiltersAndWraps)
    {
        TextureDefaultsGuard tGuard;
        EXPECT_EQ((uint32_t)GL_NEAREST, TextureDefaults::Get().mMagFilter);
        EXPECT_EQ((uint32_t)GL_CLAMP_TO_BORDER, TextureDefaults::Get().mWrapT);

        lua_State *L = luaL_newstate();
        RegisterBitmapLua(L);
        testing::internal::CaptureStderr();
        ASSERT_EQ(0, luaL_dostring(L,
            "ALB_SetTextureProperty('MagFilter', 9729)\n"
            "ALB_SetTextureProperty('MinFilter', 9985)\n"
            "ALB_SetTextureProperty('Wrap S', 10497)\n"
            "ALB_SetTextureProperty('Wrap T', 33648)\n"
            "ALB_SetTextureProperty('BaseLevel', 3)\n"
            "ALB_SetTextureProperty('MaxLevel', 3)\n"
            "ALB_SetTextureProperty('MagFilter')\n"
            "ALB_SetTextureProperty({}, 1)\n"));
        std::string tErr = CapturedStderr();
        EXPECT_EQ(0, lua_gettop(L));
        lua_close(L);

        const TextureDefaults &rDefaults = TextureDefaults::Get();
        EXPECT_EQ((uint32_t)GL_LINEAR, rDefaults.mMagFilter);
        EXPECT_EQ((uint32_t)GL_LINEAR_MIPMAP_NEAREST, rDefaults.mMinFilter);
        EXPECT_EQ((uint32_t)GL_REPEAT, rDefaults.mWrapS);
        EXPECT_EQ((uint32_t)GL_MIRRORED_REPEAT, rDefaults.mWrapT);
        EXPECT_EQ(0u, rDefaults.mBaseLevel);
        EXPECT_EQ(0u, rDefaults.mMaxLevel);
        EXPECT_EQ("ALB_SetTextureProperty: Failed, invalid argument list\n"
                  "ALB_SetTextureProperty: Failed, invalid argument list\n", tErr);

        // A record keeps the settings of the moment it was made.
        ImageRecord tRecord;
        memset(&tRecord, 0, sizeof(tRecord));
        tRecord.TakeTextureDefaults();
        EXPECT_EQ((uint32_t)GL_LINEAR, tRecord.mSettings.mMagFilter);
    }

    // ---- With GL (run under Xvfb) -------------------------------------------------------------

    class BitmapGLTest : public GLTestContext
    {
    protected:
        static GLint LevelParameter(uint32_t pTexture, GLenum pName)
        {
            GLint tValue = 0;
            glBindTexture(GL_TEXTURE_2D, pTexture);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, pName, &tValue);
            return tValue;
        }
        static GLint TextureParameter(uint32_t pTexture, GLenum pName)
        {
            GLint tValue = 0;
            glBindTexture(GL_TEXTURE_2D, pTexture);
            glGetTexParameteriv(GL_TEXTURE_2D, pName, &tValue);
            return tValue;
        }
        // The first texel of level 0, as 0xRRGGBBAA.
        static uint32_t FirstTexel(uint32_t pTexture)
        {
            uint8_t tTexels[16 * 16 * 4] = {0};
            glBindTexture(GL_TEXTURE_2D, pTexture);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, tTexels);
            return ((uint32_t)tTexels[0] << 24) | ((uint32_t)tTexels[1] << 16) | ((uint32_t)tTexels[2] << 8) | tTexels[3];
        }
        static void Delete(uint32_t pTexture)
        {
            GLuint tName = pTexture;
            glDeleteTextures(1, &tName);
        }
        // The name GL hands out next; taken and released again.
        static GLuint PeekNextName()
        {
            GLuint tName = 0;
            glGenTextures(1, &tName);
            return tName;
        }
    };

    int gHookCalls = 0;
    void CountHook() { gHookCalls ++; }

    TEST_F(BitmapGLTest, UploadsEveryCompressionFlag)
    {
        uint8_t tPixels[2 * 3 * 4];
        for(int i = 0; i < 6; i ++) { tPixels[i * 4] = 200; tPixels[i * 4 + 1] = 100; tPixels[i * 4 + 2] = 50; tPixels[i * 4 + 3] = 255; }
        uint32_t tPlain = UploadTexture(tPixels, 2, 3, 0, 1, sizeof(tPixels));
        ASSERT_NE(0u, tPlain);
        EXPECT_EQ(2, LevelParameter(tPlain, GL_TEXTURE_WIDTH));
        EXPECT_EQ(3, LevelParameter(tPlain, GL_TEXTURE_HEIGHT));
        EXPECT_EQ(0xC86432FFu, FirstTexel(tPlain));

        // Flag 7 ignores the size it is given; an existing texture is reused.
        const uint8_t cSolid[4] = {10, 20, 30, 40};
        EXPECT_EQ(tPlain, UploadTexture(cSolid, 9, 5, tPlain, 7, 4));
        EXPECT_EQ(1, LevelParameter(tPlain, GL_TEXTURE_WIDTH));
        EXPECT_EQ(1, LevelParameter(tPlain, GL_TEXTURE_HEIGHT));
        EXPECT_EQ(0x0A141E28u, FirstTexel(tPlain));
        uint32_t tSolid = UploadSolidPixel(cSolid, 0);
        EXPECT_EQ(1, LevelParameter(tSolid, GL_TEXTURE_WIDTH));
        Delete(tSolid);
        Delete(tPlain);

        // One 4x4 block of pure red in each S3TC layout (colour 0 = 565 red, all indices 0,
        // alpha fully opaque).
        ASSERT_NE(nullptr, xglCompressedTexImage2D);
        const uint8_t cColour[8] = {0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0};
        uint8_t tDxt1[8], tDxt3[16], tDxt5[16];
        memcpy(tDxt1, cColour, 8);
        memset(tDxt3, 0xFF, 8);
        memcpy(tDxt3 + 8, cColour, 8);
        memset(tDxt5, 0, 8);
        tDxt5[0] = 255; tDxt5[1] = 255;
        memcpy(tDxt5 + 8, cColour, 8);
        struct { int32_t mFlag; const uint8_t *mData; int32_t mSize; GLint mFormat; } cCases[] =
        {
            {3, tDxt1, 8, GL_COMPRESSED_RGB_S3TC_DXT1_EXT},
            {4, tDxt1, 8, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
            {5, tDxt3, 16, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT},
            {6, tDxt5, 16, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT},
        };
        for(auto &rCase : cCases)
        {
            uint32_t tTexture = UploadImageData(rCase.mData, 4, 4, 0, rCase.mFlag, rCase.mSize);
            ASSERT_NE(0u, tTexture) << "flag " << rCase.mFlag;
            EXPECT_EQ(rCase.mFormat, LevelParameter(tTexture, GL_TEXTURE_INTERNAL_FORMAT)) << "flag " << rCase.mFlag;
            EXPECT_EQ(0xFF0000FFu, FirstTexel(tTexture)) << "flag " << rCase.mFlag;
            Delete(tTexture);
        }
    }

    // Refused flags make no texture name, and only unknown flags are warned about.
    TEST_F(BitmapGLTest, RefusedUploadsLeakNoName)
    {
        uint8_t tPixels[16] = {0};
        GLuint tBefore = PeekNextName();
        testing::internal::CaptureStderr();
        EXPECT_EQ(0u, UploadTexture(tPixels, 2, 2, 0, 0, 16));
        EXPECT_EQ(0u, UploadTexture(tPixels, 2, 2, 0, 2, 16));
        EXPECT_EQ(0u, UploadTexture(tPixels, 2, 2, 0, 8, 16));
        EXPECT_EQ(0u, UploadTexture(tPixels, 2, 2, 0, -1, 16));
        EXPECT_EQ(0u, UploadImageData(tPixels, 4, 4, 0, 1, 16));
        std::string tErr = CapturedStderr();
        EXPECT_EQ("Warning: 8 is not a valid compression flag!\n"
                  "Warning: -1 is not a valid compression flag!\n", tErr);
        GLuint tAfter = PeekNextName();
        EXPECT_EQ(tBefore + 1, tAfter);
        Delete(tBefore);
        Delete(tAfter);
    }

    // A lump whose flag no upload takes is read whole; the upload refuses it, in the upload's
    // words, and only then is the lump named.
    TEST_F(BitmapGLTest, ImageLumpsOfRefusedFlagsAreReadAndRefusedByTheUpload)
    {
        ScratchFolder tFolder("flags");
        ASSERT_TRUE(tFolder.IsMade());
        uint8_t tPixels[16] = {0};
        LumpWriter tWriter;
        for(uint8_t tFlag : {2, 9, 255})
        {
            LumpImageLayout tLayout = RGBAImageLayout(2, 2, tPixels);
            tLayout.mCompression = tFlag;
            const std::string tName = "Flag" + std::to_string(tFlag);
            ASSERT_TRUE(tWriter.AddImage(tName.c_str(), &tLayout));
        }
        const std::string tPath = tFolder.File("Flags.slf");
        ASSERT_TRUE(tWriter.WriteToFile(tPath.c_str()));
        CorvelLumpManager tLumps;
        tLumps.Open(tPath.c_str());
        ASSERT_TRUE(tLumps.IsOpen());

        ImageRecord *nRecord = tLumps.ReadImageRecord("Flag9");
        ASSERT_NE(nullptr, nRecord);
        EXPECT_EQ(9, nRecord->mCompressionFlag);
        EXPECT_EQ(16, nRecord->mDataSize);
        ImageRecord::Free(nRecord);

        GLuint tBefore = PeekNextName();
        testing::internal::CaptureStderr();
        EXPECT_EQ(nullptr, tLumps.ExtractBitmap("Flag2"));
        EXPECT_EQ(nullptr, tLumps.ExtractBitmap("Flag9"));
        EXPECT_EQ(nullptr, tLumps.ExtractBitmap("Flag255"));
        EXPECT_EQ("Failed, error uploading the data\n"
                  "Warning: 9 is not a valid compression flag!\n"
                  "Failed, error uploading the data\n"
                  "Warning: 255 is not a valid compression flag!\n"
                  "Failed, error uploading the data\n",
                  CapturedStderr());
        GLuint tAfter = PeekNextName();
        EXPECT_EQ(tBefore + 1, tAfter);
        Delete(tBefore);
        Delete(tAfter);
    }

    TEST_F(BitmapGLTest, UploadsUseDefaultsAndRecordsUseTheirOwn)
    {
        TextureDefaultsGuard tGuard;
        uint8_t tPixels[4 * 4 * 4] = {0};

        ImageRecord *nRecord = (ImageRecord *)calloc(1, sizeof(ImageRecord));
        nRecord->TakeTextureDefaults();
        nRecord->mData = (uint8_t *)malloc(sizeof(tPixels));
        memcpy(nRecord->mData, tPixels, sizeof(tPixels));
        nRecord->mWidth = 4;
        nRecord->mHeight = 4;
        nRecord->mCompressionFlag = 1;
        nRecord->mDataSize = sizeof(tPixels);

        TextureDefaults::Get().mMagFilter = GL_LINEAR;
        TextureDefaults::Get().mWrapS = GL_REPEAT;
        uint32_t tLinear = UploadRGBA(tPixels, 4, 4);
        EXPECT_EQ(GL_LINEAR, TextureParameter(tLinear, GL_TEXTURE_MAG_FILTER));
        EXPECT_EQ(GL_REPEAT, TextureParameter(tLinear, GL_TEXTURE_WRAP_S));
        EXPECT_EQ(GL_CLAMP_TO_BORDER, TextureParameter(tLinear, GL_TEXTURE_WRAP_T));

        uint32_t tFromRecord = UploadImageRecord(nRecord);
        ASSERT_NE(0u, tFromRecord);
        EXPECT_EQ(GL_NEAREST, TextureParameter(tFromRecord, GL_TEXTURE_MAG_FILTER));
        EXPECT_EQ(GL_CLAMP_TO_BORDER, TextureParameter(tFromRecord, GL_TEXTURE_WRAP_S));
        EXPECT_EQ((uint32_t)GL_LINEAR, TextureDefaults::Get().mMagFilter);
        EXPECT_EQ((uint32_t)GL_REPEAT, TextureDefaults::Get().mWrapS);

        ImageRecord::Free(nRecord);
        Delete(tLinear);
        Delete(tFromRecord);
    }

    TEST_F(BitmapGLTest, LoadInterruptHookRunsOncePerUploadUnlessSuppressed)
    {
        uint8_t tPixels[4] = {1, 2, 3, 4};
        LoadInterruptFunc rPrevious = GetLoadInterruptHook();
        SetLoadInterruptHook(CountHook);
        gHookCalls = 0;
        uint32_t tA = UploadRGBA(tPixels, 1, 1);
        EXPECT_EQ(1, gHookCalls);
        EXPECT_EQ(0u, UploadTexture(tPixels, 1, 1, 0, 2, 4));
        EXPECT_EQ(1, gHookCalls);
        SetLoadInterruptSuppressed(1);
        uint32_t tB = UploadRGBA(tPixels, 1, 1);
        EXPECT_EQ(1, gHookCalls);
        SetLoadInterruptSuppressed(0);
        SetLoadInterruptHook(rPrevious);
        Delete(tA);
        Delete(tB);
    }

    TEST_F(BitmapGLTest, BitmapOwnsAndReleasesItsTexture)
    {
        uint8_t tPixels[3 * 2 * 4] = {0};
        Bitmap *nBitmap = Bitmap::FromRGBA(tPixels, 3, 2);
        uint32_t tName = nBitmap->GetTexture();
        ASSERT_NE(0u, tName);
        EXPECT_EQ(3, nBitmap->GetWidth());
        EXPECT_EQ(2, nBitmap->GetHeight());
        EXPECT_EQ(3, nBitmap->GetTextureWidth());
        EXPECT_EQ(2, nBitmap->GetTextureHeight());

        // Handing back its own texture keeps it alive.
        nBitmap->SetTexture(tName, 1);
        EXPECT_TRUE(glIsTexture(tName));
        nBitmap->SetTexture(0, 1);
        EXPECT_FALSE(glIsTexture(tName));
        EXPECT_EQ(0u, nBitmap->GetTexture());

        uint32_t tShared = UploadRGBA(tPixels, 3, 2);
        nBitmap->SetTexture(tShared, 0);
        Bitmap::DeleteThis(nBitmap);
        EXPECT_TRUE(glIsTexture(tShared));
        Delete(tShared);
        Bitmap::DeleteThis(nullptr);

        Bitmap *nMissing = Bitmap::LoadFromFile("/nonexistent/picture.png");
        EXPECT_EQ(0u, nMissing->GetTexture());
        EXPECT_EQ(0, nMissing->GetWidth());
        nMissing->Draw(0, 0, 0);
        EXPECT_EQ(0u, ReadPixel(0, 0));
        delete nMissing;
        EXPECT_EQ(0u, LoadTextureFromFile(nullptr));
    }
}
