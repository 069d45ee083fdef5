#pragma once

#include <cstdint>

#include "interface/CorvelPacket.h"

class CorvelSocket;

// Called with each whole packet the link receives. It may send on the link or close it.
typedef void (*PacketHandlerPtr)(CorvelSocket *pSocket, const CorvelPacket *pPacket);

// One link to the music tool: a non-blocking TCP socket that is either a client or a server
// for one client. Update runs once per tick and never waits: it finishes a pending connect or
// accepts a client, reads whatever has arrived, hands each whole packet to the packet handler
// in order, and keeps asking the peer to identify itself until it has.
//
// A link closes itself (IsOpen turns false) on a close packet, when the peer closes the
// stream, on a read error, on a packet length no packet can have, when a connect fails or
// stays pending too long, and when the peer stops reading long enough for the outgoing bytes
// to pile up.
class CorvelSocket
{
public:
    // A connect still pending after this many updates gives up (five seconds at 60 ticks).
    static const int32_t cConnectTimeoutTicks = 300;
    // Ticks between identification requests.
    static const int32_t cHandshakeRepeatTicks = 30;
    // Reads per update, so a flooding peer cannot stall a tick.
    static const int32_t cMaxReadsPerUpdate = 8;
    // Bytes that may wait for a slow peer before the link gives up on it.
    static const uint32_t cOutgoingCapacity = 8 * PACKET_SIZE_MAX;
    // The name the game gives when asked.
    static constexpr const char *cOwnName = "Brontel";

    CorvelSocket();
    ~CorvelSocket();
    static void Deleter(void *pSocket);

    void Boot();
    void Close();
    bool IsOpen() const { return mOpen != 0; }

    // Only on a booted socket that is neither client nor server yet.
    void StartServer(uint16_t pPort);
    void ConnectTo(const char *pAddress, uint16_t pPort);

    // Type 0: the text as payload, cut to 258 bytes.
    void SendText(const char *pText);
    // Sends the first `length` bytes of the packet to the connected peer, whole or not at
    // all as far as the peer can tell: bytes the socket cannot take yet wait for the next
    // send or update. Nothing without a connected peer.
    void SendPacket(const CorvelPacket *pPacket);

    void Update();
    void CheckConnected();
    void AcceptClient();

    // Takes received bytes: cuts them into packets and handles each in order. Update feeds
    // it what the socket delivers.
    void ReceiveBytes(const uint8_t *pData, uint32_t pSize);

    // The packet handler; null puts back the default one.
    void SetPacketHandler(PacketHandlerPtr pHandler);
    // Answers a handshake request with the own name, stores the peer's name from an
    // identification, closes on a close packet, ignores reports, prints anything else.
    static void DefaultPacketHandler(CorvelSocket *pSocket, const CorvelPacket *pPacket);

    // Stores the name, prints it and ends the identification requests. Empty names are
    // ignored.
    void SetPeerName(const char *pName);
    const char *GetPeerName() const { return mPeerName; }

    bool IsListening() const { return mListening != 0; }
    bool IsConnectPending() const { return mConnectPending != 0; }
    bool HasClient() const { return mClientHandle != -1; }
    int32_t GetHandle() const { return mHandle; }
    int32_t GetClientHandle() const { return mClientHandle; }
    uint16_t GetServerPort() const;
    int32_t GetHandshakeCountdown() const { return mHandshakeCountdown; }
    uint8_t IsHandshakeDone() const { return mHandshakeDone; }
    uint32_t GetOutgoingBytes() const { return mOutgoingSize; }
    void SetConnectTimeout(int32_t pTicks) { mConnectTimeout = pTicks; }

private:
    // The socket that talks to the peer: the own one for a client, the accepted one for a
    // server; -1 when there is none yet.
    int32_t PeerHandle() const;
    bool CanSend() const;
    // Ends the stream with the peer: a server goes back to waiting for a client, a client
    // link closes.
    void EndStream();
    void DropClient();
    void ReadIncoming(int32_t pHandle);
    void StepHandshake();
    void FlushOutgoing();
    void QueueOutgoing(const uint8_t *pData, uint32_t pSize);

    uint8_t mOpen;
    int32_t mHandle;
    uint8_t mListening;
    uint8_t mClientMode;
    int32_t mClientHandle;
    uint8_t mConnectPending;
    int32_t mConnectTicks;
    int32_t mConnectTimeout;
    uint8_t mHandshakeDone;
    int32_t mHandshakeCountdown;
    char *mPeerName;
    PacketHandlerPtr rPacketHandler;

    PacketReader mReader;
    uint8_t mOutgoing[cOutgoingCapacity];
    uint32_t mOutgoingSize;

    CorvelSocket(const CorvelSocket &) = delete;
    CorvelSocket &operator=(const CorvelSocket &) = delete;
};
