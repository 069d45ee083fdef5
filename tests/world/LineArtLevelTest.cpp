#include "core/DebugPrint.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpWriter.h"
#include "core/render/Bitmap.h"
#include "support/ScratchFolder.h"
#include "world/LineArtLevel.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
    // Stand-ins for the graphics card: every upload gets a fresh name, every release is counted.
    int32_t xUploads = 0;
    int32_t xReleasedTextures = 0;
    int32_t xNextTexture = 1;

    // Refuses the flags the real upload refuses.
    uint32_t CountingUpload(ImageRecord *pImage)
    {
        xUploads++;
        const uint8_t tFlag = pImage->mCompressionFlag;
        if(tFlag == 0 || tFlag == 2 || tFlag > 7) return 0;
        return (uint32_t)xNextTexture++;
    }

    void CountingRelease(uint32_t pTexture, uint32_t)
    {
        if(pTexture != 0) xReleasedTextures++;
    }

    ImageRecord *NewImage(int32_t pWidth, int32_t pHeight)
    {
        ImageRecord *nImage = (ImageRecord *)calloc(1, sizeof(ImageRecord));
        nImage->mCompressionFlag = 1;
        nImage->mWidth = nImage->mFullWidth = pWidth;
        nImage->mHeight = nImage->mFullHeight = pHeight;
        return nImage;
    }

    class LineArtLevelTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            xUploads = 0;
            xReleasedTextures = 0;
            LineartLevel::SetGraphicsHooks(CountingUpload, CountingRelease);
            mResidentBefore = LineartLevel::GetResidentTextureCount();
            mStackSize = Debug::GetPrintStackSize();
        }

        void TearDown() override
        {
            LineartLevel::SetGraphicsHooks(nullptr, nullptr);
            EXPECT_EQ(Debug::GetPrintStackSize(), mStackSize);
        }

        int32_t Resident() const { return LineartLevel::GetResidentTextureCount() - mResidentBefore; }

        int32_t mResidentBefore;
        int32_t mStackSize;
    };

    // A temporary map file built with the lump writer, opened in its own lump manager.
    class LevelFile
    {
    public:
        LevelFile() : mFolder("level"), mPath(mFolder.File("Level.slf")) {}

        bool Open(LumpWriter &pWriter, CorvelLumpManager &sLumps)
        {
            if(!pWriter.WriteToFile(mPath.c_str())) return false;
            sLumps.Open(mPath.c_str());
            return sLumps.IsOpen();
        }

        ScratchFolder mFolder;
        std::string mPath;
    };

    MapInfoRecord LineArtInfo(int32_t pColumns, int32_t pRows, int32_t pChunkW, int32_t pChunkH)
    {
        MapInfoRecord tInfo = LineArtMapInfo(pColumns, pRows, pChunkW, pChunkH, "IA", "IB", "CL", "Trial");
        tInfo.mLevelNumber = 7;
        return tInfo;
    }

    void AddPicture(LumpWriter &pWriter, const char *pName, int32_t pW, int32_t pH)
    {
        std::vector<uint8_t> tPixels((size_t)pW * pH * 4, 200);
        LumpImageLayout tLayout = RGBAImageLayout(pW, pH, tPixels.data());
        pWriter.AddImage(pName, &tLayout);
    }
}

TEST_F(LineArtLevelTest, ChunksStreamAroundTheFrameAndLeaveAfter300UnseenTicks)
{
    LineartLevel tLevel;
    ASSERT_TRUE(tLevel.Allocate(4, 1));
    for(uint32_t c = 0; c < 4; c++)
    {
        LineartChunk *nChunk = new LineartChunk();
        nChunk->SetImages(NewImage(256, 256), c == 1 ? NewImage(256, 256) : nullptr);
        tLevel.SetChunk(c, 0, nChunk);
    }

    // The view at the top-left corner: from column 0, and two chunks beyond its right edge.
    LineartRange tRange = tLevel.ComputeRange(0.0f, 0.0f, 480.0f, 360.0f);
    EXPECT_EQ(0, tRange.mFirstColumn);
    EXPECT_EQ(0, tRange.mFirstRow);
    EXPECT_EQ(3, tRange.mEndColumn);
    EXPECT_EQ(1, tRange.mEndRow);

    // A view parked past the integer range, or at no number at all, covers nothing.
    for(float tFar : {3.0e9f, -3.0e9f, INFINITY, -INFINITY, NAN})
    {
        tRange = tLevel.ComputeRange(tFar, tFar, tFar, tFar);
        EXPECT_GE(tRange.mFirstColumn, tRange.mEndColumn) << tFar;
        EXPECT_GE(tRange.mFirstRow, tRange.mEndRow) << tFar;
    }

    tLevel.Update(0.0f, 0.0f, 480.0f, 360.0f);
    // Columns 0 to 2 are up, the second layer of column 1 with them; column 3 is not.
    EXPECT_EQ(4, xUploads);
    EXPECT_EQ(4, Resident());
    EXPECT_EQ(0, tLevel.GetChunk(2, 0)->GetUnseen());
    EXPECT_EQ(-1, tLevel.GetChunk(3, 0)->GetUnseen());
    ASSERT_NE(nullptr, tLevel.GetChunk(1, 0)->GetBitmap(1));
    EXPECT_EQ(256, tLevel.GetChunk(1, 0)->GetBitmap(1)->GetWidth());

    // Staying in range uploads nothing again.
    tLevel.Update(0.0f, 0.0f, 480.0f, 360.0f);
    EXPECT_EQ(4, xUploads);

    // Far to the right, nothing is in range; the resident chunks age.
    for(int32_t i = 0; i < 300; i++) tLevel.Update(5000.0f, 0.0f, 5480.0f, 360.0f);
    EXPECT_EQ(300, tLevel.GetChunk(0, 0)->GetUnseen());
    EXPECT_EQ(4, Resident());
    EXPECT_EQ(0, xReleasedTextures);

    tLevel.Update(5000.0f, 0.0f, 5480.0f, 360.0f);
    EXPECT_EQ(-1, tLevel.GetChunk(0, 0)->GetUnseen());
    EXPECT_EQ(nullptr, tLevel.GetChunk(1, 0)->GetBitmap(0));
    EXPECT_EQ(0, Resident());
    EXPECT_EQ(4, xReleasedTextures);
    // The images stay, so coming back uploads the same chunks again.
    EXPECT_NE(nullptr, tLevel.GetChunk(0, 0)->GetImage(0));
    tLevel.Update(0.0f, 0.0f, 480.0f, 360.0f);
    EXPECT_EQ(8, xUploads);
    EXPECT_EQ(4, Resident());
}

TEST_F(LineArtLevelTest, ChunksWithoutAFirstLayerOrWithAFailedUploadStayUndrawn)
{
    LineartLevel tLevel;
    ASSERT_TRUE(tLevel.Allocate(2, 1));
    LineartChunk *nBare = new LineartChunk();
    nBare->SetImages(nullptr, NewImage(8, 8));
    tLevel.SetChunk(0, 0, nBare);
    tLevel.Update(0.0f, 0.0f, 480.0f, 360.0f);
    EXPECT_EQ(0, xUploads);
    // Still marked seen: residency follows the range, not the upload.
    EXPECT_EQ(0, nBare->GetUnseen());

    LineartLevel::SetGraphicsHooks([](ImageRecord *) -> uint32_t { return 0; }, CountingRelease);
    LineartChunk *nFailing = new LineartChunk();
    nFailing->SetImages(NewImage(8, 8), NewImage(8, 8));
    tLevel.SetChunk(1, 0, nFailing);
    tLevel.Update(0.0f, 0.0f, 480.0f, 360.0f);
    EXPECT_EQ(nullptr, nFailing->GetBitmap(0));
    EXPECT_EQ(nullptr, nFailing->GetBitmap(1));
    EXPECT_EQ(0, Resident());
}

TEST_F(LineArtLevelTest, GridAndChunkSlotsRefuseWhatDoesNotFit)
{
    LineartLevel tLevel;
    EXPECT_FALSE(tLevel.Allocate(0, 3));
    ASSERT_TRUE(tLevel.Allocate(2, 3));
    EXPECT_FALSE(tLevel.Allocate(4, 4));
    tLevel.SetChunkSize(0, 64);
    EXPECT_EQ(256u, tLevel.GetChunkWidth());
    tLevel.SetChunkSize(32, 16);
    int32_t tW = 0, tH = 0;
    tLevel.GetSize(tW, tH);
    EXPECT_EQ(64, tW);
    EXPECT_EQ(48, tH);

    // A chunk handed in outside the grid is destroyed (the sanitizer build sees a leak
    // otherwise); inside, a replacement takes over the old chunk's mask.
    tLevel.SetChunk(2, 0, new LineartChunk());
    EXPECT_EQ(nullptr, tLevel.GetChunk(2, 0));

    ClipRecord tClip;
    uint8_t tBits[2 * 16];
    memset(tBits, 0xFF, sizeof(tBits));
    tClip.mColumns = 16;
    tClip.mRows = 16;
    tClip.mDataSize = sizeof(tBits);
    tClip.mData = tBits;
    LineartChunk *nSolid = new LineartChunk();
    ASSERT_TRUE(nSolid->SetClip(&tClip));
    tLevel.SetChunk(1, 1, nSolid);
    EXPECT_TRUE(tLevel.IsClipped(33, 17));
    tLevel.SetChunk(1, 1, new LineartChunk());
    EXPECT_FALSE(tLevel.IsClipped(33, 17));
    tLevel.SetChunk(1, 1, nullptr);
    EXPECT_FALSE(tLevel.IsClipped(33, 17));
}

TEST_F(LineArtLevelTest, PrecacheFillsEveryChunksLayersAndClipFromTheFile)
{
    // Two 16 by 8 chunks. The left clip is a floor with a single post; the right chunk has no
    // clip lump at all, and only the left chunk has a second layer.
    LumpWriter tWriter;
    MapInfoRecord tInfo = LineArtInfo(2, 1, 16, 8);
    ASSERT_TRUE(tWriter.AddMapInfo("AMapInfo", &tInfo));
    uint8_t tCells[16 * 8];
    memset(tCells, 0, sizeof(tCells));
    for(int32_t x = 0; x < 16; x++) tCells[7 * 16 + x] = 1;
    tCells[3 * 16 + 9] = 1;
    ASSERT_TRUE(tWriter.AddClip("CL000000", 16, 8, tCells));
    AddPicture(tWriter, "IA000000", 16, 8);
    AddPicture(tWriter, "IB000000", 16, 8);
    AddPicture(tWriter, "IA001000", 16, 8);

    LevelFile tFile;
    CorvelLumpManager tLumps;
    ASSERT_TRUE(tFile.Open(tWriter, tLumps));

    LineartLevel *nLevel = GetLineartLevel(&tLumps, "AMapInfo");
    ASSERT_NE(nullptr, nLevel);
    const char *rA = nullptr, *rB = nullptr, *rClip = nullptr;
    nLevel->GetNames(rA, rB, rClip);
    EXPECT_STREQ("IA", rA);
    EXPECT_STREQ("IB", rB);
    EXPECT_STREQ("CL", rClip);
    EXPECT_EQ(7, nLevel->GetLevelNumber());
    EXPECT_STREQ("Trial", nLevel->GetLevelName());

    testing::internal::CaptureStderr();
    EXPECT_TRUE(LevelPrecache(&tLumps, nLevel));
    std::string tOut = CapturedStderr();
    EXPECT_NE(std::string::npos, tOut.find("[Fail ClipLump] CL001000 Not found.\n"));
    // The missing second layer of the right chunk is silent.
    EXPECT_EQ(std::string::npos, tOut.find("Error in SLF file"));

    // Bit order and row order survive the trip: the post at (9, 3), the floor on row 7.
    EXPECT_TRUE(nLevel->IsClipped(9, 3));
    EXPECT_FALSE(nLevel->IsClipped(8, 3));
    EXPECT_FALSE(nLevel->IsClipped(9, 4));
    EXPECT_TRUE(nLevel->IsClipped(0, 7));
    EXPECT_TRUE(nLevel->IsClipped(15, 7));
    EXPECT_FALSE(nLevel->IsClipped(15, 6));
    // The chunk without a clip is never solid; outside the level always is.
    EXPECT_FALSE(nLevel->IsClipped(16, 7));
    EXPECT_TRUE(nLevel->IsClipped(-1, 0));
    EXPECT_TRUE(nLevel->IsClipped(32, 0));
    EXPECT_TRUE(nLevel->IsClipped(0, 8));

    ASSERT_NE(nullptr, nLevel->GetChunk(0, 0));
    EXPECT_NE(nullptr, nLevel->GetChunk(0, 0)->GetImage(1));
    EXPECT_EQ(nullptr, nLevel->GetChunk(1, 0)->GetImage(1));
    EXPECT_EQ(16, nLevel->GetChunk(1, 0)->GetImage(0)->mWidth);
    EXPECT_EQ(-1, nLevel->GetChunk(0, 0)->GetUnseen());
    delete nLevel;
}

TEST_F(LineArtLevelTest, MapInformationAndClipsThatCannotFitAreRefused)
{
    LevelFile tFile;
    CorvelLumpManager tLumps;

    // A chunk larger than any clip can describe.
    {
        LumpWriter tWriter;
        MapInfoRecord tInfo = LineArtInfo(1, 1, 70000, 16);
        ASSERT_TRUE(tWriter.AddMapInfo("AMapInfo", &tInfo));
        ASSERT_TRUE(tFile.Open(tWriter, tLumps));
        testing::internal::CaptureStderr();
        EXPECT_EQ(nullptr, GetLineartLevel(&tLumps, "AMapInfo"));
        CapturedStderr();
        tLumps.Close();
    }
}

namespace
{
    // An IMAGE body as the lump holds it, with whatever flag and size a damaged file carries.
    void AddRawPicture(LumpWriter &pWriter, const char *pName, const char *pTag, uint8_t pFlag, int32_t pW, int32_t pH)
    {
        LumpBody tBody;
        tBody.PutU8(pFlag);
        for(int32_t tValue : {pW, pH, 0, 0, pW, pH, 4}) tBody.PutI32(tValue);
        tBody.PutU32(0xFFFFFFFF);
        tBody.PutU8(0);
        ASSERT_TRUE(pWriter.AddRaw(pName, pTag, tBody.GetData(), tBody.GetSize()));
    }
}

// Damage that costs one chunk its mask or a layer: the level still loads, and every dropped
// lump is named on standard error.
TEST_F(LineArtLevelTest, DamagedChunkLumpsAreDroppedAloneAndNamed)
{
    LumpWriter tWriter;
    MapInfoRecord tInfo = LineArtInfo(3, 1, 16, 16);
    ASSERT_TRUE(tWriter.AddMapInfo("AMapInfo", &tInfo));
    uint8_t tSmall[8 * 8];
    memset(tSmall, 1, sizeof(tSmall));
    uint8_t tFull[16 * 16];
    memset(tFull, 1, sizeof(tFull));
    // Chunk 0: a clip of the wrong size and a second layer whose tag is damaged.
    ASSERT_TRUE(tWriter.AddClip("CL000000", 8, 8, tSmall));
    AddPicture(tWriter, "IA000000", 16, 16);
    AddRawPicture(tWriter, "IB000000", "IMAGF", 1, 16, 16);
    // Chunk 1: a first layer without pixels.
    ASSERT_TRUE(tWriter.AddClip("CL001000", 16, 16, tFull));
    AddRawPicture(tWriter, "IA001000", "IMAGE", 1, 0, 16);
    // Chunk 2: a first layer with a compression flag no upload knows; it reads, and its upload
    // refuses it.
    ASSERT_TRUE(tWriter.AddClip("CL002000", 16, 16, tFull));
    AddRawPicture(tWriter, "IA002000", "IMAGE", 9, 16, 16);
    AddPicture(tWriter, "IB002000", 16, 16);

    LevelFile tFile;
    CorvelLumpManager tLumps;
    ASSERT_TRUE(tFile.Open(tWriter, tLumps));
    LineartLevel *nLevel = GetLineartLevel(&tLumps, "AMapInfo");
    ASSERT_NE(nullptr, nLevel);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(LevelPrecache(&tLumps, nLevel));
    std::string tOut = CapturedStderr();

    EXPECT_NE(std::string::npos, tOut.find("[Fail ClipLump] CL000000 is 8 by 8, the chunks are 16 by 16.\n")) << tOut;
    const std::string tLine = "Error in SLF file\nLump ";
    const std::string tIn = " in " + tFile.mPath;
    EXPECT_NE(std::string::npos, tOut.find(tLine + "IB000000" + tIn + "\n")) << tOut;
    EXPECT_NE(std::string::npos, tOut.find(tLine + "IA001000" + tIn + " is 0 by 16\n")) << tOut;
    EXPECT_EQ(std::string::npos, tOut.find("IA002000")) << tOut;
    // Only damaged lumps are named: the absent second layer of chunk 1 stays quiet.
    EXPECT_EQ(std::string::npos, tOut.find("IB001000")) << tOut;

    LineartChunk *rFirst = nLevel->GetChunk(0, 0);
    ASSERT_NE(nullptr, rFirst);
    EXPECT_EQ(nullptr, rFirst->GetMask());
    EXPECT_FALSE(nLevel->IsClipped(3, 3));
    EXPECT_NE(nullptr, rFirst->GetImage(0));
    EXPECT_EQ(nullptr, rFirst->GetImage(1));
    ASSERT_NE(nullptr, nLevel->GetChunk(1, 0));
    EXPECT_EQ(nullptr, nLevel->GetChunk(1, 0)->GetImage(0));
    EXPECT_TRUE(nLevel->IsClipped(20, 3));
    LineartChunk *rRefused = nLevel->GetChunk(2, 0);
    ASSERT_NE(nullptr, rRefused);
    ASSERT_NE(nullptr, rRefused->GetImage(0));
    EXPECT_EQ(9, rRefused->GetImage(0)->mCompressionFlag);
    EXPECT_NE(nullptr, rRefused->GetImage(1));

    // The refused picture is tried once, not every tick it stays in view; its chunk stays undrawn.
    nLevel->Update(0.0f, 0.0f, 48.0f, 16.0f);
    nLevel->Update(0.0f, 0.0f, 48.0f, 16.0f);
    EXPECT_EQ(2, xUploads);
    EXPECT_EQ(nullptr, rRefused->GetImage(0));
    EXPECT_EQ(nullptr, rRefused->GetBitmap(0));
    EXPECT_EQ(nullptr, rRefused->GetBitmap(1));
    delete nLevel;
}
