#include "interface/CorvelSocket.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Utilities.h"
#include "interface/SocketLayer.h"

namespace
{
    const char cHandshakeText[] = "Requesting handshake";

    void PrintLastError()
    {
        fprintf(stderr, "-Last Winsock error was %i\n", (int)SocketLayer::LastError());
        SocketLayer::ClearError();
    }
}

CorvelSocket::CorvelSocket()
{
    mOpen = 0;
    mHandle = -1;
    mListening = 0;
    mClientMode = 0;
    mClientHandle = -1;
    mConnectPending = 0;
    mConnectTicks = 0;
    mConnectTimeout = cConnectTimeoutTicks;
    mHandshakeDone = 0;
    mHandshakeCountdown = -1;
    mPeerName = nullptr;
    rPacketHandler = DefaultPacketHandler;
    mOutgoingSize = 0;
}

CorvelSocket::~CorvelSocket()
{
    Close();
    free(mPeerName);
}

void CorvelSocket::Deleter(void *pSocket)
{
    delete (CorvelSocket *)pSocket;
}

void CorvelSocket::Boot()
{
    if(mOpen) return;
    mHandle = SocketLayer::OpenStream();
    if(mHandle < 0)
    {
        fputs("CorvelSocket reports unable to create new socket!\n", stderr);
        return;
    }
    mOpen = 1;
    fprintf(stderr, "Booted CorvelSocket on handle %i\n", (int)mHandle);
    fputs("Booted in non-blocking mode.\n", stderr);
}

void CorvelSocket::Close()
{
    if(!mOpen) return;
    DropClient();
    SocketLayer::Close(mHandle);
    mHandle = -1;
    mOpen = 0;
    mListening = 0;
    mClientMode = 0;
    mConnectPending = 0;
    mHandshakeDone = 0;
    mHandshakeCountdown = -1;
    ResetString(&mPeerName, nullptr);
    mReader.Reset();
    mOutgoingSize = 0;
}

void CorvelSocket::DropClient()
{
    if(mClientHandle == -1) return;
    SocketLayer::Close(mClientHandle);
    mClientHandle = -1;
    mHandshakeDone = 0;
    mHandshakeCountdown = -1;
    ResetString(&mPeerName, nullptr);
    mReader.Reset();
    mOutgoingSize = 0;
}

void CorvelSocket::EndStream()
{
    if(mListening) DropClient();
    else Close();
}

uint16_t CorvelSocket::GetServerPort() const
{
    return mListening ? SocketLayer::LocalPort(mHandle) : 0;
}

int32_t CorvelSocket::PeerHandle() const
{
    if(mListening) return mClientHandle;
    return mHandle;
}

bool CorvelSocket::CanSend() const
{
    if(!mOpen) return false;
    if(mClientMode) return !mConnectPending;
    return mListening && mClientHandle != -1;
}

// --- Connecting ----------------------------------------------------------------------------

void CorvelSocket::StartServer(uint16_t pPort)
{
    if(!mOpen || mClientMode || mListening) return;
    if(!SocketLayer::BindAny(mHandle, pPort))
    {
        fputs("CorvelSocket:  Could not start server.  Aborting.\n", stderr);
        return;
    }
    if(!SocketLayer::Listen(mHandle, 1))
    {
        fputs("CorvelSocket:  Error while listening.  Aborting.\n", stderr);
        return;
    }
    fputs("Socket has begun listening.\n", stderr);
    fputs("Awaiting a connecting client...\n", stderr);
    mListening = 1;
}

void CorvelSocket::ConnectTo(const char *pAddress, uint16_t pPort)
{
    if(!mOpen || mClientMode || mListening) return;
    int32_t tResult = SocketLayer::StartConnect(mHandle, pAddress, pPort);
    if(tResult == SocketLayer::SOCKET_FAILED)
    {
        // Left in neither mode: the next update finds nothing to read and closes the link.
        fputs("CorvelSocket:  Error when connecting.\n", stderr);
        PrintLastError();
        return;
    }
    mClientMode = 1;
    mConnectTicks = 0;
    if(tResult == SocketLayer::SOCKET_PENDING)
    {
        fputs("Socket is connecting...\n", stderr);
        mConnectPending = 1;
        return;
    }
    // Connected at once: the peer is asked for its name on the next update all the same.
    mHandshakeCountdown = 1;
}

void CorvelSocket::CheckConnected()
{
    if(!mOpen || !mConnectPending) return;
    int32_t tResult = SocketLayer::CheckConnect(mHandle);
    if(tResult == SocketLayer::SOCKET_DONE)
    {
        fputs("Done\n", stderr);
        fputs("Client connected to server!\n", stderr);
        mConnectPending = 0;
        mHandshakeCountdown = 1;
        return;
    }
    if(tResult == SocketLayer::SOCKET_FAILED)
    {
        fputs("CorvelSocket:  Error when connecting.\n", stderr);
        PrintLastError();
        Close();
        return;
    }
    // A listener that never accepts keeps a connect pending for good; without a limit the
    // link would block every later request to connect.
    mConnectTicks++;
    if(mConnectTimeout > 0 && mConnectTicks >= mConnectTimeout)
    {
        fprintf(stderr, "CorvelSocket:  Gave up connecting after %i ticks.\n", (int)mConnectTicks);
        Close();
    }
}

void CorvelSocket::AcceptClient()
{
    if(!mOpen || !mListening || mClientHandle != -1) return;
    int32_t tClient = SocketLayer::Accept(mHandle);
    if(tClient < 0) return;
    mClientHandle = tClient;
    mReader.Reset();
    mOutgoingSize = 0;
    fprintf(stderr, "Got client handle as %i\n", (int)tClient);
    mHandshakeCountdown = 1;
}

// --- Sending -------------------------------------------------------------------------------

void CorvelSocket::SendText(const char *pText)
{
    if(!pText) return;
    CorvelPacket tPacket;
    size_t tLength = strnlen(pText, PACKET_PAYLOAD_MAX);
    BuildPacket(&tPacket, PACKET_TYPE_TEXT, pText, (uint32_t)tLength);
    SendPacket(&tPacket);
}

void CorvelSocket::SendPacket(const CorvelPacket *pPacket)
{
    if(!pPacket || !CanSend()) return;
    uint8_t tBytes[PACKET_SIZE_MAX];
    uint32_t tSize = EncodePacket(pPacket, tBytes, sizeof(tBytes));
    if(tSize == 0)
    {
        fprintf(stderr, "CorvelSocket:  Refused to send a packet of length %u.\n", (unsigned)pPacket->mLength);
        return;
    }

    // Bytes still waiting go first, or the peer would get this packet inside another.
    FlushOutgoing();
    if(mOutgoingSize > 0)
    {
        QueueOutgoing(tBytes, tSize);
        return;
    }
    int32_t tSent = SocketLayer::Send(PeerHandle(), tBytes, tSize);
    if(tSent == SocketLayer::SOCKET_ERROR)
    {
        // The next read sees the broken stream and ends it.
        fputs("CorvelSocket:  Sending data failed.\n", stderr);
        SocketLayer::ClearError();
        return;
    }
    if(tSent == SocketLayer::SOCKET_WOULD_BLOCK) tSent = 0;
    if((uint32_t)tSent < tSize) QueueOutgoing(tBytes + tSent, tSize - (uint32_t)tSent);
}

void CorvelSocket::QueueOutgoing(const uint8_t *pData, uint32_t pSize)
{
    if(pSize > cOutgoingCapacity - mOutgoingSize)
    {
        fputs("CorvelSocket:  The peer is not reading, closing the link.\n", stderr);
        EndStream();
        return;
    }
    memcpy(mOutgoing + mOutgoingSize, pData, pSize);
    mOutgoingSize += pSize;
}

void CorvelSocket::FlushOutgoing()
{
    if(mOutgoingSize == 0 || !CanSend()) return;
    int32_t tSent = SocketLayer::Send(PeerHandle(), mOutgoing, mOutgoingSize);
    if(tSent == SocketLayer::SOCKET_WOULD_BLOCK) return;
    if(tSent == SocketLayer::SOCKET_ERROR)
    {
        fputs("CorvelSocket:  Sending data failed.\n", stderr);
        SocketLayer::ClearError();
        mOutgoingSize = 0;
        return;
    }
    memmove(mOutgoing, mOutgoing + tSent, mOutgoingSize - (uint32_t)tSent);
    mOutgoingSize -= (uint32_t)tSent;
}

// --- Receiving -----------------------------------------------------------------------------

void CorvelSocket::Update()
{
    if(!mOpen) return;
    int32_t tHandle = mHandle;
    if(mListening)
    {
        AcceptClient();
        if(mClientHandle == -1) return;
        tHandle = mClientHandle;
    }
    else if(mClientMode)
    {
        CheckConnected();
        if(!mOpen || mConnectPending) return;
    }

    FlushOutgoing();
    ReadIncoming(tHandle);
    if(!mOpen || PeerHandle() != tHandle) return;
    StepHandshake();
}

void CorvelSocket::ReadIncoming(int32_t pHandle)
{
    uint8_t tBuffer[1024];
    for(int32_t i = 0; i < cMaxReadsPerUpdate; i++)
    {
        int32_t tRead = SocketLayer::Receive(pHandle, tBuffer, sizeof(tBuffer));
        if(tRead == SocketLayer::SOCKET_WOULD_BLOCK) return;
        if(tRead == 0)
        {
            fputs("CorvelSocket:  The remote client closed the connection.\n", stderr);
            if(mReader.GetHeldBytes() > 0)
            {
                fprintf(stderr, "CorvelSocket:  Dropped %u bytes of an unfinished packet.\n", (unsigned)mReader.GetHeldBytes());
            }
            EndStream();
            return;
        }
        if(tRead < 0)
        {
            fputs("CorvelSocket:  Error when reading from the socket.\n", stderr);
            PrintLastError();
            Close();
            return;
        }
        ReceiveBytes(tBuffer, (uint32_t)tRead);
        if(!mOpen || PeerHandle() != pHandle) return;
    }
}

void CorvelSocket::ReceiveBytes(const uint8_t *pData, uint32_t pSize)
{
    if(!pData) return;
    int32_t tHandle = PeerHandle();
    uint32_t tOffset = 0;
    while(tOffset < pSize)
    {
        uint32_t tUsed = 0;
        CorvelPacket tPacket;
        int32_t tResult = mReader.Feed(pData + tOffset, pSize - tOffset, &tUsed, &tPacket);
        tOffset += tUsed;
        if(tResult == PacketReader::READER_BAD_LENGTH)
        {
            fprintf(stderr, "CorvelSocket:  Packet length %u is outside %i to %i, closing the link.\n",
                    (unsigned)mReader.GetBadLength(), PACKET_HEADER_SIZE, PACKET_SIZE_MAX);
            EndStream();
            return;
        }
        if(tResult != PacketReader::READER_PACKET) return;
        if(rPacketHandler) rPacketHandler(this, &tPacket);
        // The handler may have closed the link; the rest belongs to no one.
        if(!mOpen || PeerHandle() != tHandle) return;
    }
}

void CorvelSocket::StepHandshake()
{
    if(mHandshakeCountdown > 0)
    {
        mHandshakeCountdown--;
        return;
    }
    if(mHandshakeCountdown != 0 || mHandshakeDone) return;
    if(mPeerName)
    {
        mHandshakeCountdown = -1;
        mHandshakeDone = 1;
        return;
    }
    CorvelPacket tPacket;
    BuildPacket(&tPacket, PACKET_TYPE_HANDSHAKE_REQUEST, cHandshakeText, sizeof(cHandshakeText) - 1);
    SendPacket(&tPacket);
    if(!mOpen) return;
    fputs("Sent identification packet request\n", stderr);
    mHandshakeCountdown = cHandshakeRepeatTicks;
}

// --- Packets -------------------------------------------------------------------------------

void CorvelSocket::SetPacketHandler(PacketHandlerPtr pHandler)
{
    rPacketHandler = pHandler ? pHandler : DefaultPacketHandler;
}

void CorvelSocket::SetPeerName(const char *pName)
{
    if(!pName || !pName[0]) return;
    ResetString(&mPeerName, pName);
    fprintf(stderr, "Connecter has identified itself as %s\n", mPeerName);
    mHandshakeCountdown = -1;
}

void CorvelSocket::DefaultPacketHandler(CorvelSocket *pSocket, const CorvelPacket *pPacket)
{
    if(!pSocket || !pPacket) return;
    char tText[PACKET_PAYLOAD_MAX + 1];
    PrintablePayload(pPacket, tText, sizeof(tText));

    if(pPacket->mType == PACKET_TYPE_CLOSE)
    {
        pSocket->Close();
    }
    else if(pPacket->mType == PACKET_TYPE_HANDSHAKE_REQUEST)
    {
        CorvelPacket tReply;
        BuildPacket(&tReply, PACKET_TYPE_IDENTIFY, cOwnName, (uint32_t)strlen(cOwnName));
        pSocket->SendPacket(&tReply);
    }
    else if(pPacket->mType == PACKET_TYPE_IDENTIFY)
    {
        if(tText[0]) pSocket->SetPeerName(tText);
        else fputs("CorvelSocket:  Ignored an identification without a name.\n", stderr);
    }
    else if(pPacket->mType != PACKET_TYPE_ENEMIES)
    {
        fputs("CorvelSocket:  Unknown packet read!  Contents:\n", stderr);
        fprintf(stderr, " Length: %i\n", (int)pPacket->mLength);
        fprintf(stderr, " Type: %i\n", (int)pPacket->mType);
        fprintf(stderr, " Contents: %s\n", tText);
    }
}
