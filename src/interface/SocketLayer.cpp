#include "interface/SocketLayer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
    int32_t xLastError = 0;

    bool WouldBlock(int pError)
    {
        return pError == EAGAIN || pError == EWOULDBLOCK;
    }

    int32_t Fail()
    {
        xLastError = errno;
        return SocketLayer::SOCKET_FAILED;
    }
}

namespace SocketLayer
{
    int32_t OpenStream()
    {
        int tHandle = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if(tHandle < 0) xLastError = errno;
        return tHandle < 0 ? -1 : tHandle;
    }

    void Close(int32_t pHandle)
    {
        if(pHandle >= 0) close(pHandle);
    }

    int32_t StartConnect(int32_t pHandle, const char *pAddress, uint16_t pPort)
    {
        sockaddr_in tAddress = {};
        tAddress.sin_family = AF_INET;
        tAddress.sin_port = htons(pPort);
        if(!pAddress || inet_pton(AF_INET, pAddress, &tAddress.sin_addr) != 1)
        {
            xLastError = EINVAL;
            return SOCKET_FAILED;
        }
        if(connect(pHandle, (sockaddr *)&tAddress, sizeof(tAddress)) == 0) return SOCKET_DONE;
        if(errno == EINPROGRESS || WouldBlock(errno)) return SOCKET_PENDING;
        return Fail();
    }

    int32_t CheckConnect(int32_t pHandle)
    {
        pollfd tPoll = {pHandle, POLLOUT, 0};
        int tReady = poll(&tPoll, 1, 0);
        if(tReady < 0) return errno == EINTR ? SOCKET_PENDING : Fail();
        if(tReady == 0) return SOCKET_PENDING;

        // A refused or reset connect also reads as writable; only the socket's own error
        // tells them apart from success.
        int tError = 0;
        socklen_t tLength = sizeof(tError);
        if(getsockopt(pHandle, SOL_SOCKET, SO_ERROR, &tError, &tLength) != 0) return Fail();
        if(tError == EINPROGRESS) return SOCKET_PENDING;
        if(tError != 0)
        {
            xLastError = tError;
            return SOCKET_FAILED;
        }
        return SOCKET_DONE;
    }

    bool BindAny(int32_t pHandle, uint16_t pPort)
    {
        int tReuse = 1;
        setsockopt(pHandle, SOL_SOCKET, SO_REUSEADDR, &tReuse, sizeof(tReuse));
        sockaddr_in tAddress = {};
        tAddress.sin_family = AF_INET;
        tAddress.sin_port = htons(pPort);
        tAddress.sin_addr.s_addr = htonl(INADDR_ANY);
        if(bind(pHandle, (sockaddr *)&tAddress, sizeof(tAddress)) == 0) return true;
        xLastError = errno;
        return false;
    }

    bool Listen(int32_t pHandle, int32_t pBacklog)
    {
        if(listen(pHandle, pBacklog) == 0) return true;
        xLastError = errno;
        return false;
    }

    uint16_t LocalPort(int32_t pHandle)
    {
        sockaddr_in tAddress = {};
        socklen_t tLength = sizeof(tAddress);
        if(getsockname(pHandle, (sockaddr *)&tAddress, &tLength) != 0) return 0;
        return ntohs(tAddress.sin_port);
    }

    int32_t Accept(int32_t pHandle)
    {
        // An accepted socket does not inherit the listener's non-blocking mode on Linux.
        int tClient = accept4(pHandle, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if(tClient < 0)
        {
            if(!WouldBlock(errno)) xLastError = errno;
            return -1;
        }
        return tClient;
    }

    int32_t Send(int32_t pHandle, const uint8_t *pData, uint32_t pSize)
    {
        ssize_t tSent = send(pHandle, pData, pSize, MSG_NOSIGNAL);
        if(tSent >= 0) return (int32_t)tSent;
        if(WouldBlock(errno) || errno == EINTR) return SOCKET_WOULD_BLOCK;
        xLastError = errno;
        return SOCKET_ERROR;
    }

    int32_t Receive(int32_t pHandle, uint8_t *pBuffer, uint32_t pSize)
    {
        ssize_t tRead = recv(pHandle, pBuffer, pSize, 0);
        if(tRead >= 0) return (int32_t)tRead;
        if(WouldBlock(errno) || errno == EINTR) return SOCKET_WOULD_BLOCK;
        xLastError = errno;
        return SOCKET_ERROR;
    }

    int32_t LastError()
    {
        return xLastError;
    }

    void ClearError()
    {
        xLastError = 0;
    }
}
