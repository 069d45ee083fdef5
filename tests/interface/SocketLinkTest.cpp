#include "interface/SocketManager.h"

#include "core/Application.h"
#include "core/data/DataLibrary.h"
#include "interface/CorvelSocket.h"
#include "world/EntityManager.h"
#include "world/RootEntity.h"

#include <csignal>

#include "LoopbackPeer.h"
#include "support/TestText.h"
#include <gtest/gtest.h>

namespace
{
    class EnemyStandIn : public RootEntity
    {
    public:
        EnemyStandIn() { mType = TYPE_ENEMY; }
    };

    int CountOf(const std::string &pText, const std::string &pNeedle)
    {
        int tCount = 0;
        for(size_t i = pText.find(pNeedle); i != std::string::npos; i = pText.find(pNeedle, i + 1)) tCount++;
        return tCount;
    }

    int32_t ReportedCount(const WirePacket &pPacket)
    {
        const uint8_t *rBytes = (const uint8_t *)pPacket.mPayload.data() + PACKET_ENEMIES_NAME_SIZE;
        return (int32_t)(rBytes[0] | (rBytes[1] << 8) | (rBytes[2] << 16) | ((uint32_t)rBytes[3] << 24));
    }

    class SocketLinkTest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            signal(SIGPIPE, SIG_DFL);
            mPreviousSockets = GetApplication()->mSocketManager;
            mPreviousEntities = GetApplication()->mEntityManager;
            mPreviousLibrary = GetApplication()->mDataLibrary;
            mSockets = new SocketManager();
            GetApplication()->mSocketManager = mSockets;
            testing::internal::CaptureStderr();
        }

        void TearDown() override
        {
            CapturedStderr();
            delete mSockets;
            delete mEntities;
            delete mLibrary;
            GetApplication()->mSocketManager = mPreviousSockets;
            GetApplication()->mEntityManager = mPreviousEntities;
            GetApplication()->mDataLibrary = mPreviousLibrary;
        }

        void BootEntities()
        {
            mLibrary = new DataLibrary();
            mEntities = new EntityManager();
            mEntities->CreateSpecialLists();
            GetApplication()->mDataLibrary = mLibrary;
            GetApplication()->mEntityManager = mEntities;
        }

        CorvelSocket *Link() { return mSockets->GetLink("Plinkard"); }

        // Requests the tool link to the peer and runs updates until the connect is through
        // and the peer holds the connection. Bounded: a loopback connect takes a few ticks.
        void ConnectTo(LoopbackPeer &pPeer)
        {
            mSockets->SetToolLinkPort(pPeer.Port());
            mSockets->RequestToolLink();
            for(int i = 0; i < 2000; i++)
            {
                mSockets->Update();
                pPeer.TryAccept();
                if(Link() && !Link()->IsConnectPending() && pPeer.Client() >= 0) return;
                usleep(1000);
            }
            FAIL() << "no connection";
        }

        // One tick of the link, then what the peer has by then. The pause gives loopback
        // bytes from the peer time to arrive before the game reads.
        std::vector<WirePacket> Tick(LoopbackPeer &pPeer)
        {
            usleep(2000);
            mSockets->Update();
            usleep(2000);
            pPeer.Drain();
            return pPeer.TakePackets();
        }

        SocketManager *mSockets = nullptr;
        EntityManager *mEntities = nullptr;
        DataLibrary *mLibrary = nullptr;
        SocketManager *mPreviousSockets;
        EntityManager *mPreviousEntities;
        DataLibrary *mPreviousLibrary;
    };
}

TEST_F(SocketLinkTest, ConnectsAsksForTheNameUntilGivenAndAnswersRequests)
{
    LoopbackPeer tPeer;
    ConnectTo(tPeer);
    // The connect tick arms the request for the next tick, which sends the 26-byte request.
    std::vector<WirePacket> tGot = Tick(tPeer);
    ASSERT_EQ(tGot.size(), 1u);
    EXPECT_EQ(tGot[0].mType, PACKET_TYPE_HANDSHAKE_REQUEST);
    EXPECT_EQ(tGot[0].mLength, 26u);
    EXPECT_EQ(tGot[0].mPayload, "Requesting handshake");

    // Unanswered, it comes again once the countdown of 30 has run out.
    for(int i = 0; i < CorvelSocket::cHandshakeRepeatTicks; i++) EXPECT_TRUE(Tick(tPeer).empty()) << i;
    tGot = Tick(tPeer);
    ASSERT_EQ(tGot.size(), 1u);
    EXPECT_EQ(tGot[0].mType, PACKET_TYPE_HANDSHAKE_REQUEST);

    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_IDENTIFY, "Plinkard"));
    Tick(tPeer);
    EXPECT_STREQ(Link()->GetPeerName(), "Plinkard");
    // The name stops the requests; the done flag is only set by a countdown that runs out.
    EXPECT_EQ(Link()->GetHandshakeCountdown(), -1);
    EXPECT_EQ(Link()->IsHandshakeDone(), 0);
    for(int i = 0; i < 2 * CorvelSocket::cHandshakeRepeatTicks; i++) ASSERT_TRUE(Tick(tPeer).empty()) << i;

    // A request from the tool is answered in the same update with the 13-byte name.
    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_HANDSHAKE_REQUEST, "Requesting handshake"));
    tGot = Tick(tPeer);
    ASSERT_EQ(tGot.size(), 1u);
    EXPECT_EQ(tGot[0].mType, PACKET_TYPE_IDENTIFY);
    EXPECT_EQ(tGot[0].mLength, 13u);
    EXPECT_EQ(tGot[0].mPayload, "Brontel");

    std::string tLog = CapturedStderr();
    EXPECT_NE(tLog.find("Client connected to server!\n"), std::string::npos);
    EXPECT_EQ(CountOf(tLog, "Sent identification packet request\n"), 2);
    EXPECT_NE(tLog.find("Connecter has identified itself as Plinkard\n"), std::string::npos);
    testing::internal::CaptureStderr();

    // Asking again while the link stands opens no second one.
    mSockets->RequestToolLink();
    mSockets->RequestToolLink();
    Tick(tPeer);
    EXPECT_EQ(mSockets->GetLinkCount(), 1);
    EXPECT_FALSE(tPeer.HasWaitingConnection());
}

TEST_F(SocketLinkTest, EnemyReportsFollowTheLiveEnemies)
{
    BootEntities();
    // Without the link nothing is sent and nothing fails.
    mEntities->Update();

    LoopbackPeer tPeer;
    ConnectTo(tPeer);
    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_IDENTIFY, "Plinkard"));
    Tick(tPeer);
    tPeer.Drain();
    tPeer.TakePackets();

    mEntities->Update();
    tPeer.Drain();
    std::vector<WirePacket> tGot = tPeer.TakePackets();
    ASSERT_EQ(tGot.size(), 1u);
    EXPECT_EQ(tGot[0].mType, PACKET_TYPE_ENEMIES);
    EXPECT_EQ(tGot[0].mLength, 42u);
    EXPECT_EQ(tGot[0].mPayload.substr(0, 32), std::string("Enemies") + std::string(25, '\0'));
    EXPECT_EQ(ReportedCount(tGot[0]), 0);

    EnemyStandIn *tEnemies[3];
    for(EnemyStandIn *&nEnemy : tEnemies)
    {
        nEnemy = new EnemyStandIn();
        mEntities->RegisterEntity("Enemy", nEnemy, DeleteRootObject);
    }
    mEntities->Update();
    // An enemy destroyed in this tick no longer counts in this tick's report.
    tEnemies[1]->SetDestruct(1);
    mEntities->Update();
    mEntities->ClearEntities();
    mEntities->Update();
    tPeer.Drain();
    tGot = tPeer.TakePackets();
    ASSERT_EQ(tGot.size(), 3u);
    EXPECT_EQ(ReportedCount(tGot[0]), 3);
    EXPECT_EQ(ReportedCount(tGot[1]), 2);
    EXPECT_EQ(ReportedCount(tGot[2]), 0);
}

TEST_F(SocketLinkTest, CloseFromThePeerRemovesTheLinkAndALaterRequestReconnects)
{
    LoopbackPeer tPeer;
    ConnectTo(tPeer);
    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_CLOSE, ""));
    Tick(tPeer);
    EXPECT_FALSE(mSockets->HasLink("Plinkard"));
    EXPECT_FALSE(tPeer.Drain());

    // A remote close without a packet ends the link in the same update as well.
    tPeer.CloseClient();
    ConnectTo(tPeer);
    tPeer.CloseClient();
    Tick(tPeer);
    EXPECT_FALSE(mSockets->HasLink("Plinkard"));
    EXPECT_NE(CapturedStderr().find("CorvelSocket:  The remote client closed the connection.\n"), std::string::npos);
    testing::internal::CaptureStderr();
}

TEST_F(SocketLinkTest, CoalescedAndSplitPacketsAreAllHandledInOrder)
{
    LoopbackPeer tPeer;
    ConnectTo(tPeer);
    Tick(tPeer);

    // A name split across three reads, the game updating between them.
    std::string tName = WirePacketBytes(PACKET_TYPE_IDENTIFY, "Plinkard");
    tPeer.WriteBytes(tName.substr(0, 3));
    Tick(tPeer);
    tPeer.WriteBytes(tName.substr(3, 5));
    Tick(tPeer);
    EXPECT_EQ(Link()->GetPeerName(), nullptr);
    tPeer.WriteBytes(tName.substr(8));
    Tick(tPeer);
    ASSERT_NE(Link()->GetPeerName(), nullptr);
    EXPECT_STREQ(Link()->GetPeerName(), "Plinkard");

    // A request and a close in one read: both are handled, in order.
    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_HANDSHAKE_REQUEST, "Requesting handshake") + WirePacketBytes(PACKET_TYPE_CLOSE, ""));
    std::vector<WirePacket> tGot = Tick(tPeer);
    ASSERT_EQ(tGot.size(), 1u);
    EXPECT_EQ(tGot[0].mPayload, "Brontel");
    EXPECT_FALSE(mSockets->HasLink("Plinkard"));
}

TEST_F(SocketLinkTest, LengthsOutsideThePacketEndTheLink)
{
    for(uint32_t tLength : {5u, 0u, 265u, 1000u})
    {
        LoopbackPeer tPeer;
        ConnectTo(tPeer);
        tPeer.WriteBytes(WireBytes(tLength, PACKET_TYPE_IDENTIFY, std::string(20, 'n')));
        Tick(tPeer);
        EXPECT_FALSE(mSockets->HasLink("Plinkard")) << tLength;
        std::string tExpected = "CorvelSocket:  Packet length " + std::to_string(tLength) + " is outside 6 to 264, closing the link.\n";
        EXPECT_NE(CapturedStderr().find(tExpected), std::string::npos) << tLength;
        testing::internal::CaptureStderr();
    }
}

TEST_F(SocketLinkTest, HostileTextsArePrintedBoundedAndClean)
{
    LoopbackPeer tPeer;
    ConnectTo(tPeer);
    std::string tFull(PACKET_PAYLOAD_MAX, 'A');
    tPeer.WriteBytes(WirePacketBytes(77, tFull));
    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_IDENTIFY, ""));
    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_IDENTIFY, std::string("\x1b]0;Owned\x07\nX", 12)));
    Tick(tPeer);
    std::string tLog = CapturedStderr();
    testing::internal::CaptureStderr();
    EXPECT_NE(tLog.find("CorvelSocket:  Unknown packet read!  Contents:\n Length: 264\n Type: 77\n Contents: " + tFull + "\n"),
              std::string::npos);
    EXPECT_NE(tLog.find("CorvelSocket:  Ignored an identification without a name.\n"), std::string::npos);
    EXPECT_NE(tLog.find("Connecter has identified itself as .]0;Owned..X\n"), std::string::npos);
    EXPECT_STREQ(Link()->GetPeerName(), ".]0;Owned..X");

    // A text longer than a packet goes out cut to the largest packet, framing intact.
    Link()->SendText(std::string(300, 't').c_str());
    Link()->SendText("end");
    std::vector<WirePacket> tGot = Tick(tPeer);
    ASSERT_EQ(tGot.size(), 2u);
    EXPECT_EQ(tGot[0].mType, PACKET_TYPE_TEXT);
    EXPECT_EQ(tGot[0].mLength, (uint32_t)PACKET_SIZE_MAX);
    EXPECT_EQ(tGot[0].mPayload, std::string(PACKET_PAYLOAD_MAX, 't'));
    EXPECT_EQ(tGot[1].mPayload, "end");
}

TEST_F(SocketLinkTest, PeerEndingMidPacketOrVanishingEndsTheLinkQuietly)
{
    LoopbackPeer tPeer;
    ConnectTo(tPeer);
    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_IDENTIFY, "Plinkard").substr(0, 9));
    tPeer.CloseClient();
    Tick(tPeer);
    EXPECT_FALSE(mSockets->HasLink("Plinkard"));
    std::string tLog = CapturedStderr();
    testing::internal::CaptureStderr();
    EXPECT_NE(tLog.find("CorvelSocket:  Dropped 9 bytes of an unfinished packet.\n"), std::string::npos);
    EXPECT_EQ(tLog.find("Connecter has identified"), std::string::npos);

    // A peer gone with a reset while reports go out: sends fail without a signal, and the
    // next update ends the link. SIGPIPE is at its default here, so a raised one would end
    // the test program.
    BootEntities();
    ConnectTo(tPeer);
    tPeer.Vanish();
    for(int i = 0; i < 5; i++)
    {
        usleep(2000);
        mEntities->Update();
    }
    EXPECT_TRUE(mSockets->HasLink("Plinkard"));
    mSockets->Update();
    EXPECT_FALSE(mSockets->HasLink("Plinkard"));
    tLog = CapturedStderr();
    testing::internal::CaptureStderr();
    EXPECT_NE(tLog.find("CorvelSocket:  Sending data failed.\n"), std::string::npos);
}

TEST_F(SocketLinkTest, ARefusedConnectIsDroppedAndTheNextRequestTriesAgain)
{
    // A bound socket that does not listen refuses connections for as long as it holds the port.
    int tRefuser = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in tAddress = {};
    tAddress.sin_family = AF_INET;
    tAddress.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(tRefuser, (sockaddr *)&tAddress, sizeof(tAddress)), 0);
    socklen_t tLength = sizeof(tAddress);
    getsockname(tRefuser, (sockaddr *)&tAddress, &tLength);

    mSockets->SetToolLinkPort(ntohs(tAddress.sin_port));
    mSockets->RequestToolLink();
    for(int i = 0; i < 200 && (i == 0 || mSockets->HasLink("Plinkard")); i++)
    {
        ExpectReturnsWithoutBlocking([this] { mSockets->Update(); });
        usleep(1000);
    }
    EXPECT_FALSE(mSockets->HasLink("Plinkard"));
    std::string tLog = CapturedStderr();
    testing::internal::CaptureStderr();
    EXPECT_NE(tLog.find("CorvelSocket:  Error when connecting.\n-Last Winsock error was 111\n"), std::string::npos);
    EXPECT_EQ(tLog.find("Client connected to server!"), std::string::npos);
    close(tRefuser);

    LoopbackPeer tPeer;
    ConnectTo(tPeer);
    EXPECT_TRUE(mSockets->HasLink("Plinkard"));
}

TEST_F(SocketLinkTest, AConnectThatNeverCompletesGivesUpWithoutHoldingTheTick)
{
    // A listener that never accepts, its queue filled by other clients: the game's handshake
    // gets no answer and its connect stays pending.
    LoopbackPeer tPeer(0);
    std::vector<int> tFillers;
    for(int i = 0; i < 4; i++)
    {
        int tFiller = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in tAddress = {};
        tAddress.sin_family = AF_INET;
        tAddress.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        tAddress.sin_port = htons(tPeer.Port());
        connect(tFiller, (sockaddr *)&tAddress, sizeof(tAddress));
        tFillers.push_back(tFiller);
    }
    usleep(20000);

    mSockets->SetToolLinkPort(tPeer.Port());
    mSockets->RequestToolLink();
    ExpectReturnsWithoutBlocking([this] { mSockets->Update(); });
    ASSERT_TRUE(mSockets->HasLink("Plinkard"));
    CorvelSocket *rLink = Link();
    EXPECT_TRUE(rLink->IsConnectPending());
    EXPECT_TRUE(fcntl(rLink->GetHandle(), F_GETFL) & O_NONBLOCK);
    rLink->SetConnectTimeout(20);

    // Each pending update is a poll, and more requests meanwhile open no second link.
    for(int i = 1; i < 19; i++)
    {
        mSockets->RequestToolLink();
        ExpectReturnsWithoutBlocking([this] { mSockets->Update(); });
        ASSERT_TRUE(mSockets->HasLink("Plinkard")) << i;
        EXPECT_TRUE(Link()->IsConnectPending());
        EXPECT_EQ(mSockets->GetLinkCount(), 1);
    }
    ExpectReturnsWithoutBlocking([this] { mSockets->Update(); });
    ExpectReturnsWithoutBlocking([this] { mSockets->Update(); });
    EXPECT_FALSE(mSockets->HasLink("Plinkard"));
    EXPECT_NE(CapturedStderr().find("CorvelSocket:  Gave up connecting after 20 ticks.\n"), std::string::npos);
    testing::internal::CaptureStderr();
    for(int tFiller : tFillers) close(tFiller);
}

TEST_F(SocketLinkTest, ASlowPeerGetsWholePacketsAndAStuckOneIsLetGo)
{
    LoopbackPeer tPeer;
    ConnectTo(tPeer);
    tPeer.WriteBytes(WirePacketBytes(PACKET_TYPE_IDENTIFY, "Plinkard"));
    Tick(tPeer);
    tPeer.Drain();
    tPeer.TakePackets();
    CorvelSocket *rLink = Link();
    int tSmall = 4096;
    setsockopt(rLink->GetHandle(), SOL_SOCKET, SO_SNDBUF, &tSmall, sizeof(tSmall));
    setsockopt(tPeer.Client(), SOL_SOCKET, SO_RCVBUF, &tSmall, sizeof(tSmall));

    // The peer does not read: reports go out until the socket takes only part of one.
    int32_t tSent = 0;
    while(rLink->GetOutgoingBytes() == 0 && tSent < 200000)
    {
        CorvelPacket tPacket;
        BuildEnemiesPacket(&tPacket, tSent++);
        rLink->SendPacket(&tPacket);
    }
    ASSERT_GT(rLink->GetOutgoingBytes(), 0u);
    ASSERT_TRUE(rLink->IsOpen());

    // Once it reads again, every report arrives whole and in order.
    std::vector<WirePacket> tGot;
    for(int i = 0; i < 5000 && (int32_t)tGot.size() < tSent; i++)
    {
        rLink->Update();
        tPeer.Drain();
        for(const WirePacket &tPacket : tPeer.TakePackets()) tGot.push_back(tPacket);
    }
    ASSERT_EQ((int32_t)tGot.size(), tSent);
    for(int32_t i = 0; i < tSent; i++)
    {
        ASSERT_EQ(tGot[i].mLength, 42u);
        ASSERT_EQ(ReportedCount(tGot[i]), i);
    }
    EXPECT_EQ(rLink->GetOutgoingBytes(), 0u);

    // A peer that never reads again is let go once the waiting bytes pass their limit.
    for(int32_t i = 0; i < 200000 && rLink->IsOpen(); i++)
    {
        CorvelPacket tPacket;
        BuildEnemiesPacket(&tPacket, i);
        rLink->SendPacket(&tPacket);
    }
    EXPECT_FALSE(rLink->IsOpen());
    EXPECT_NE(CapturedStderr().find("CorvelSocket:  The peer is not reading, closing the link.\n"), std::string::npos);
    testing::internal::CaptureStderr();
}

TEST_F(SocketLinkTest, ServerTakesOneClientAtATimeWithoutBlocking)
{
    CorvelSocket tServer;
    tServer.Boot();
    tServer.StartServer(0);
    ASSERT_TRUE(tServer.IsListening());
    uint16_t tPort = tServer.GetServerPort();
    ExpectReturnsWithoutBlocking([&tServer] { tServer.Update(); });
    EXPECT_FALSE(tServer.HasClient());

    mSockets->Connect("Game", "127.0.0.1", tPort);
    CorvelSocket *rGame = mSockets->GetLink("Game");
    for(int i = 0; i < 2000 && !(tServer.HasClient() && !rGame->IsConnectPending()); i++)
    {
        tServer.Update();
        mSockets->Update();
        usleep(1000);
    }
    ASSERT_TRUE(tServer.HasClient());
    int32_t tClient = tServer.GetClientHandle();
    EXPECT_TRUE(fcntl(tClient, F_GETFL) & O_NONBLOCK);
    // Reading from a quiet client must not wait.
    ExpectReturnsWithoutBlocking([&tServer] { tServer.Update(); });

    // The two sides ask each other for names and both end up knowing the other.
    for(int i = 0; i < 200 && !(tServer.GetPeerName() && rGame->GetPeerName()); i++)
    {
        tServer.Update();
        mSockets->Update();
        usleep(1000);
    }
    ASSERT_NE(tServer.GetPeerName(), nullptr);
    EXPECT_STREQ(tServer.GetPeerName(), "Brontel");
    ASSERT_NE(rGame->GetPeerName(), nullptr);
    EXPECT_STREQ(rGame->GetPeerName(), "Brontel");

    // When the client leaves, its socket is closed and the server waits for the next one.
    delete mSockets;
    mSockets = new SocketManager();
    GetApplication()->mSocketManager = mSockets;
    for(int i = 0; i < 200 && tServer.HasClient(); i++)
    {
        tServer.Update();
        usleep(1000);
    }
    EXPECT_FALSE(tServer.HasClient());
    EXPECT_TRUE(tServer.IsOpen());
    EXPECT_EQ(fcntl(tClient, F_GETFD), -1);

    mSockets->Connect("Game", "127.0.0.1", tPort);
    for(int i = 0; i < 2000 && !tServer.HasClient(); i++)
    {
        tServer.Update();
        mSockets->Update();
        usleep(1000);
    }
    ASSERT_TRUE(tServer.HasClient());
    tClient = tServer.GetClientHandle();
    tServer.Close();
    EXPECT_EQ(fcntl(tClient, F_GETFD), -1);
}
