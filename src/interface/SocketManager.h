#pragma once

#include <cstdint>

class CorvelSocket;
class NamedLinkedList;
struct CorvelPacket;

// The game's network links by name. The music tool's link, "Plinkard", is opened on request
// ("-plinkard", the "ConnectToPlinkard" control) at the next update; every link is updated
// once per tick from the gears, and a link that has closed is deleted in the same update.
// The one instance is created at boot and owned by the Application.
class SocketManager
{
public:
    static constexpr const char *cToolLinkName = "Plinkard";
    static constexpr const char *cToolLinkAddress = "127.0.0.1";
    static const uint16_t cToolLinkPort = 6012;

    SocketManager();
    ~SocketManager();

    // The instance held by the Application; null before boot creates it.
    static SocketManager *Fetch();

    bool HasLink(const char *pName);
    CorvelSocket *GetLink(const char *pName);
    int32_t GetLinkCount();

    // A new booted link connecting to the address, listed under the name; returns it.
    CorvelSocket *Connect(const char *pName, const char *pAddress, uint16_t pPort);

    // Asks for the tool link; a request while the link exists opens no second one.
    void RequestToolLink() { mToolLinkRequested = 1; }
    bool IsToolLinkRequested() const { return mToolLinkRequested != 0; }
    // Where the tool link connects; the game keeps 6012, tests point it at their own peer.
    void SetToolLinkPort(uint16_t pPort) { mToolLinkPort = pPort; }

    // Sends on the named link when it exists.
    void SendPacket(const char *pName, const CorvelPacket *pPacket);

    void Update();

private:
    NamedLinkedList *mLinks;
    uint8_t mToolLinkRequested;
    uint16_t mToolLinkPort;

    SocketManager(const SocketManager &) = delete;
    SocketManager &operator=(const SocketManager &) = delete;
};
