#include "interface/CorvelPacket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
    std::string Encoded(const CorvelPacket &pPacket)
    {
        uint8_t tBytes[PACKET_SIZE_MAX];
        uint32_t tSize = EncodePacket(&pPacket, tBytes, sizeof(tBytes));
        return std::string((const char *)tBytes, tSize);
    }

    std::string Header(uint32_t pLength, uint16_t pType)
    {
        std::string tBytes;
        for(int i = 0; i < 4; i++) tBytes.push_back((char)((pLength >> (8 * i)) & 0xFF));
        tBytes.push_back((char)(pType & 0xFF));
        tBytes.push_back((char)(pType >> 8));
        return tBytes;
    }

    // Feeds the stream in reads of the given sizes and collects every result in order.
    struct FeedLog
    {
        std::vector<CorvelPacket> mPackets;
        bool mBroken = false;
    };

    FeedLog FeedInReads(PacketReader &pReader, const std::string &pStream, const std::vector<size_t> &pReads)
    {
        FeedLog tLog;
        size_t tOffset = 0;
        for(size_t tRead : pReads)
        {
            const uint8_t *rData = (const uint8_t *)pStream.data() + tOffset;
            uint32_t tLeft = (uint32_t)tRead;
            tOffset += tRead;
            while(tLeft > 0)
            {
                uint32_t tUsed = 0;
                CorvelPacket tPacket;
                int32_t tResult = pReader.Feed(rData, tLeft, &tUsed, &tPacket);
                EXPECT_LE(tUsed, tLeft);
                rData += tUsed;
                tLeft -= tUsed;
                if(tResult == PacketReader::READER_PACKET) tLog.mPackets.push_back(tPacket);
                if(tResult == PacketReader::READER_BAD_LENGTH)
                {
                    tLog.mBroken = true;
                    return tLog;
                }
                if(tResult == PacketReader::READER_NEED_MORE)
                {
                    EXPECT_EQ(tLeft, 0u);
                }
            }
        }
        return tLog;
    }
}

TEST(CorvelPacketTest, WireFormOfTheGamesPackets)
{
    CorvelPacket tPacket;
    ASSERT_TRUE(BuildPacket(&tPacket, PACKET_TYPE_IDENTIFY, "Brontel", 7));
    EXPECT_EQ(Encoded(tPacket), Header(13, 3) + "Brontel");

    BuildEnemiesPacket(&tPacket, 0x01020304);
    std::string tReport = Encoded(tPacket);
    ASSERT_EQ(tReport.size(), 42u);
    EXPECT_EQ(tReport.substr(0, 6), Header(42, 4));
    EXPECT_EQ(tReport.substr(6, 32), std::string("Enemies") + std::string(25, '\0'));
    EXPECT_EQ(tReport.substr(38), std::string("\x04\x03\x02\x01", 4));

    BuildEnemiesPacket(&tPacket, -1);
    EXPECT_EQ(ReadI32LE(tPacket.mPayload + PACKET_ENEMIES_NAME_SIZE), -1);

    ASSERT_TRUE(BuildPacket(&tPacket, PACKET_TYPE_CLOSE, nullptr, 0));
    EXPECT_EQ(Encoded(tPacket), Header(6, 1));
}

TEST(CorvelPacketTest, PayloadsPastTheRecordAreRefused)
{
    std::string tBig(300, 'x');
    CorvelPacket tPacket;
    ASSERT_TRUE(BuildPacket(&tPacket, 0, tBig.data(), PACKET_PAYLOAD_MAX));
    EXPECT_EQ(tPacket.mLength, (uint32_t)PACKET_SIZE_MAX);
    EXPECT_EQ(Encoded(tPacket).size(), (size_t)PACKET_SIZE_MAX);

    EXPECT_FALSE(BuildPacket(&tPacket, 0, tBig.data(), PACKET_PAYLOAD_MAX + 1));
    EXPECT_EQ(tPacket.mLength, 0u);
    EXPECT_FALSE(BuildPacket(&tPacket, 0, nullptr, 4));

    // A record whose length was damaged is never put on the wire.
    uint8_t tOut[PACKET_SIZE_MAX];
    tPacket.mLength = PACKET_SIZE_MAX + 1;
    EXPECT_EQ(EncodePacket(&tPacket, tOut, sizeof(tOut)), 0u);
    tPacket.mLength = 5;
    EXPECT_EQ(EncodePacket(&tPacket, tOut, sizeof(tOut)), 0u);
    tPacket.mLength = 20;
    EXPECT_EQ(EncodePacket(&tPacket, tOut, 19), 0u);
}

TEST(CorvelPacketTest, PrintableCopyIsBoundedAndClean)
{
    CorvelPacket tPacket;
    std::string tFull(PACKET_PAYLOAD_MAX, 'A');
    BuildPacket(&tPacket, 9, tFull.data(), (uint32_t)tFull.size());
    char tText[PACKET_PAYLOAD_MAX + 1];
    PrintablePayload(&tPacket, tText, sizeof(tText));
    EXPECT_EQ(std::string(tText), tFull);

    char tSmall[8];
    PrintablePayload(&tPacket, tSmall, sizeof(tSmall));
    EXPECT_STREQ(tSmall, "AAAAAAA");

    BuildPacket(&tPacket, 3, "\x1b[2J\tBy\xff\nE\0hidden", 15);
    PrintablePayload(&tPacket, tText, sizeof(tText));
    EXPECT_STREQ(tText, ".[2J.By..E");

    // The length, not a stray byte past it, bounds the copy.
    BuildPacket(&tPacket, 3, "Name", 4);
    tPacket.mPayload[4] = 'Z';
    PrintablePayload(&tPacket, tText, sizeof(tText));
    EXPECT_STREQ(tText, "Name");
}

TEST(CorvelPacketTest, ReaderFramesAnyCutOfTheStream)
{
    std::string tStream = Header(8, 2) + "hi" + Header(6, 1) + Header(13, 3) + "Brontel";
    std::vector<std::vector<size_t>> tCuts = {
        {tStream.size()},                    // everything in one read
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
        {3, 7, 17},                           // inside the length, across packets
        {8, 6, 13},                           // on the boundaries
    };
    for(const std::vector<size_t> &tCut : tCuts)
    {
        PacketReader tReader;
        FeedLog tLog = FeedInReads(tReader, tStream, tCut);
        ASSERT_EQ(tLog.mPackets.size(), 3u);
        EXPECT_FALSE(tLog.mBroken);
        EXPECT_EQ(tLog.mPackets[0].mType, 2);
        EXPECT_EQ(std::string((const char *)tLog.mPackets[0].mPayload, 2), "hi");
        EXPECT_EQ(tLog.mPackets[0].mPayload[2], 0);
        EXPECT_EQ(tLog.mPackets[1].mType, 1);
        EXPECT_EQ(tLog.mPackets[1].mLength, 6u);
        EXPECT_EQ(tLog.mPackets[2].mLength, 13u);
        EXPECT_EQ(std::string((const char *)tLog.mPackets[2].mPayload), "Brontel");
        EXPECT_EQ(tReader.GetHeldBytes(), 0u);
    }

    PacketReader tReader;
    FeedLog tLog = FeedInReads(tReader, Header(26, 2) + "Request", {13});
    EXPECT_TRUE(tLog.mPackets.empty());
    EXPECT_EQ(tReader.GetHeldBytes(), 13u);
}

TEST(CorvelPacketTest, LengthsNoPacketCanHaveBreakTheStream)
{
    for(uint32_t tLength : {0u, 1u, 5u, (uint32_t)PACKET_SIZE_MAX + 1, 1000u, 0xFFFFFFFFu})
    {
        PacketReader tReader;
        FeedLog tLog = FeedInReads(tReader, Header(6, 1) + Header(tLength, 2) + Header(6, 1), {18});
        EXPECT_EQ(tLog.mPackets.size(), 1u) << tLength;
        EXPECT_TRUE(tLog.mBroken) << tLength;
        EXPECT_EQ(tReader.GetBadLength(), tLength);

        // Broken stays broken until reset: nothing after the bad length is trusted.
        uint32_t tUsed = 99;
        CorvelPacket tPacket;
        EXPECT_EQ(tReader.Feed((const uint8_t *)"\x06\0\0\0\x01\0", 6, &tUsed, &tPacket), PacketReader::READER_BAD_LENGTH);
        EXPECT_EQ(tUsed, 0u);
        tReader.Reset();
        EXPECT_EQ(tReader.Feed((const uint8_t *)"\x06\0\0\0\x01\0", 6, &tUsed, &tPacket), PacketReader::READER_PACKET);
    }

    PacketReader tReader;
    std::string tLargest = Header(PACKET_SIZE_MAX, 7) + std::string(PACKET_PAYLOAD_MAX, 'q');
    FeedLog tLog = FeedInReads(tReader, tLargest, {100, 164});
    ASSERT_EQ(tLog.mPackets.size(), 1u);
    EXPECT_EQ(tLog.mPackets[0].mPayload[PACKET_PAYLOAD_MAX - 1], 'q');
}
