#pragma once

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

// A packet as the peer saw it on the wire.
struct WirePacket
{
    uint32_t mLength;
    uint16_t mType;
    std::string mPayload;
};

// The tool's side of the link for tests: a real TCP listener on 127.0.0.1 with a port the
// system picks, so tests never collide. Everything it does is bounded: reads never wait
// longer than asked, and it frames what it receives by the length field on its own.
class LoopbackPeer
{
public:
    explicit LoopbackPeer(int pBacklog = 4)
    {
        mListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in tAddress = {};
        tAddress.sin_family = AF_INET;
        tAddress.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(mListener, (sockaddr *)&tAddress, sizeof(tAddress));
        listen(mListener, pBacklog);
        socklen_t tLength = sizeof(tAddress);
        getsockname(mListener, (sockaddr *)&tAddress, &tLength);
        mPort = ntohs(tAddress.sin_port);
    }

    ~LoopbackPeer()
    {
        CloseClient();
        if(mListener >= 0) close(mListener);
    }

    uint16_t Port() const { return mPort; }
    int Client() const { return mClient; }

    // Takes a waiting connection, if one is there; never waits.
    bool TryAccept()
    {
        if(mClient >= 0) return true;
        pollfd tPoll = {mListener, POLLIN, 0};
        if(poll(&tPoll, 1, 0) <= 0) return false;
        mClient = accept(mListener, nullptr, nullptr);
        mReceived.clear();
        return mClient >= 0;
    }

    bool HasWaitingConnection()
    {
        pollfd tPoll = {mListener, POLLIN, 0};
        return poll(&tPoll, 1, 0) > 0;
    }

    void CloseClient()
    {
        if(mClient >= 0) close(mClient);
        mClient = -1;
    }

    // Ends the stream with a reset instead of an orderly close, as a crashed tool would.
    void Vanish()
    {
        linger tLinger = {1, 0};
        setsockopt(mClient, SOL_SOCKET, SO_LINGER, &tLinger, sizeof(tLinger));
        CloseClient();
    }

    void WriteBytes(const std::string &pBytes)
    {
        ASSERT_GE(mClient, 0);
        ASSERT_EQ(send(mClient, pBytes.data(), pBytes.size(), MSG_NOSIGNAL), (ssize_t)pBytes.size());
    }

    // Reads whatever has arrived; false once the game closed the stream.
    bool Drain()
    {
        if(mClient < 0) return false;
        char tBuffer[4096];
        while(true)
        {
            pollfd tPoll = {mClient, POLLIN, 0};
            if(poll(&tPoll, 1, 0) <= 0) return true;
            ssize_t tRead = recv(mClient, tBuffer, sizeof(tBuffer), 0);
            if(tRead <= 0) return false;
            mReceived.append(tBuffer, (size_t)tRead);
        }
    }

    // Complete packets received so far, taken out of the buffer in order.
    std::vector<WirePacket> TakePackets()
    {
        std::vector<WirePacket> tPackets;
        size_t tOffset = 0;
        while(mReceived.size() - tOffset >= 6)
        {
            const uint8_t *rBytes = (const uint8_t *)mReceived.data() + tOffset;
            uint32_t tLength = rBytes[0] | (rBytes[1] << 8) | (rBytes[2] << 16) | ((uint32_t)rBytes[3] << 24);
            if(tLength < 6 || mReceived.size() - tOffset < tLength) break;
            WirePacket tPacket;
            tPacket.mLength = tLength;
            tPacket.mType = (uint16_t)(rBytes[4] | (rBytes[5] << 8));
            tPacket.mPayload.assign((const char *)rBytes + 6, tLength - 6);
            tPackets.push_back(tPacket);
            tOffset += tLength;
        }
        mReceived.erase(0, tOffset);
        return tPackets;
    }

private:
    int mListener = -1;
    int mClient = -1;
    uint16_t mPort = 0;
    std::string mReceived;
};

// Wire bytes of a packet with any length field, as a hostile or broken peer may send them.
inline std::string WireBytes(uint32_t pLength, uint16_t pType, const std::string &pPayload)
{
    std::string tBytes;
    for(int i = 0; i < 4; i++) tBytes.push_back((char)((pLength >> (8 * i)) & 0xFF));
    tBytes.push_back((char)(pType & 0xFF));
    tBytes.push_back((char)(pType >> 8));
    return tBytes + pPayload;
}

inline std::string WirePacketBytes(uint16_t pType, const std::string &pPayload)
{
    return WireBytes((uint32_t)pPayload.size() + 6, pType, pPayload);
}

// Runs the call on another thread and fails the test if it does not come back: a call that
// blocks on the network shows as a failure, not as a hung suite. The limit is far above any
// real duration; it only has to end the wait.
inline void ExpectReturnsWithoutBlocking(const std::function<void()> &pCall)
{
    std::packaged_task<void()> tTask(pCall);
    std::future<void> tDone = tTask.get_future();
    std::thread tThread(std::move(tTask));
    if(tDone.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
    {
        fprintf(stderr, "FAILED: the call blocked\n");
        std::abort();
    }
    tThread.join();
}
