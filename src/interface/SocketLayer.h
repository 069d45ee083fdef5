#pragma once

#include <cstdint>

// The few socket services the music-tool link needs, over POSIX TCP. Every socket it makes or
// accepts is non-blocking, no call ever waits, and no send can raise SIGPIPE. Handles are
// file descriptors; -1 is "no socket". Calls that fail leave the cause in LastError.
namespace SocketLayer
{
    // Results of the calls that can also "not yet".
    enum
    {
        SOCKET_DONE = 0,
        SOCKET_PENDING = 1,
        SOCKET_FAILED = 2,
    };

    // Send and Receive return a byte count, or one of these.
    const int32_t SOCKET_WOULD_BLOCK = -1;
    const int32_t SOCKET_ERROR = -2;

    // A new non-blocking IPv4 stream socket, -1 on failure.
    int32_t OpenStream();
    void Close(int32_t pHandle);

    // Begins a connect to a dotted IPv4 address. SOCKET_PENDING while the handshake is in
    // flight, SOCKET_FAILED for a bad address or a refused connect.
    int32_t StartConnect(int32_t pHandle, const char *pAddress, uint16_t pPort);
    // Polls a pending connect without waiting: SOCKET_DONE only once the socket is writable
    // and reports no error, SOCKET_FAILED when it reports one.
    int32_t CheckConnect(int32_t pHandle);

    // Binds to the port (0 lets the system pick; see LocalPort) and listens.
    bool BindAny(int32_t pHandle, uint16_t pPort);
    bool Listen(int32_t pHandle, int32_t pBacklog);
    uint16_t LocalPort(int32_t pHandle);
    // A waiting client as a non-blocking socket, or -1 when none waits.
    int32_t Accept(int32_t pHandle);

    // At most pSize bytes; a count of 0 from Receive means the peer closed the stream.
    int32_t Send(int32_t pHandle, const uint8_t *pData, uint32_t pSize);
    int32_t Receive(int32_t pHandle, uint8_t *pBuffer, uint32_t pSize);

    // The errno of the last failure, and forgetting it.
    int32_t LastError();
    void ClearError();
}
