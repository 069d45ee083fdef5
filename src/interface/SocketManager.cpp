#include "interface/SocketManager.h"

#include "core/Application.h"
#include "core/NamedLinkedList.h"
#include "interface/CorvelSocket.h"

SocketManager::SocketManager()
{
    mLinks = new NamedLinkedList(1);
    mToolLinkRequested = 0;
    mToolLinkPort = cToolLinkPort;
}

SocketManager::~SocketManager()
{
    // Each link closes its socket as it goes; the peer sees the stream end.
    delete mLinks;
}

SocketManager *SocketManager::Fetch()
{
    return GetApplication()->mSocketManager;
}

bool SocketManager::HasLink(const char *pName)
{
    return GetLink(pName) != nullptr;
}

CorvelSocket *SocketManager::GetLink(const char *pName)
{
    if(!pName) return nullptr;
    return (CorvelSocket *)mLinks->GetElementByName(pName);
}

int32_t SocketManager::GetLinkCount()
{
    return mLinks->GetCount();
}

CorvelSocket *SocketManager::Connect(const char *pName, const char *pAddress, uint16_t pPort)
{
    if(!pName) return nullptr;
    CorvelSocket *nLink = new CorvelSocket();
    nLink->Boot();
    nLink->ConnectTo(pAddress, pPort);
    mLinks->AddElementWithDeleter(pName, nLink, CorvelSocket::Deleter);
    return nLink;
}

void SocketManager::SendPacket(const char *pName, const CorvelPacket *pPacket)
{
    CorvelSocket *rLink = GetLink(pName);
    if(rLink) rLink->SendPacket(pPacket);
}

void SocketManager::Update()
{
    if(mToolLinkRequested)
    {
        mToolLinkRequested = 0;
        if(!HasLink(cToolLinkName)) Connect(cToolLinkName, cToolLinkAddress, mToolLinkPort);
    }

    for(void *rData = mLinks->SetCursorToHead(); rData; rData = mLinks->CursorNext())
    {
        CorvelSocket *rLink = (CorvelSocket *)rData;
        rLink->Update();
        if(!rLink->IsOpen()) mLinks->RemoveAtCursor();
    }
}
