// plinkpeer: plays the music tool's side of the game's link, so the link can be watched and
// driven by hand or by a test.
//
//     plinkpeer [-port N] [-name NAME] [-noanswer] [-exit-on-close]
//
// It listens on the port (6012 unless given; 0 lets the system pick), accepts the game and
// prints one line on standard output for every packet it receives. Lines typed on standard
// input send packets to the game:
//
//     close              type 1, the game closes the link
//     request            type 2, the game answers with its name
//     identify NAME      type 3
//     enemies N          type 4 with the count N
//     send TYPE [TEXT]   any type, the text as payload
//     quit               ends the peer
//
// The peer asks the game for its name once connected, and answers the game's requests with
// NAME ("Plinkard" unless given) unless -noanswer is set; -exit-on-close ends the peer when
// the game's link ends.
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>

#include "interface/CorvelPacket.h"
#include "interface/CorvelSocket.h"

namespace
{
    volatile sig_atomic_t xQuit = 0;

    struct PeerSettings
    {
        uint16_t mPort;
        const char *rName;
        bool mAnswer;
        bool mExitOnClose;
    };

    PeerSettings xSettings = {6012, "Plinkard", true, false};

    void OnSignal(int)
    {
        xQuit = 1;
    }

    void SendTyped(CorvelSocket *pSocket, uint16_t pType, const char *pText)
    {
        if(!pSocket->HasClient())
        {
            printf("no game connected\n");
            return;
        }
        CorvelPacket tPacket;
        uint32_t tSize = pText ? (uint32_t)strnlen(pText, PACKET_PAYLOAD_MAX + 1) : 0;
        if(!BuildPacket(&tPacket, pType, pText, tSize))
        {
            printf("payload too long: at most %i bytes\n", PACKET_PAYLOAD_MAX);
            return;
        }
        pSocket->SendPacket(&tPacket);
        printf("sent type=%u length=%u\n", (unsigned)tPacket.mType, (unsigned)tPacket.mLength);
    }

    void SendEnemies(CorvelSocket *pSocket, int32_t pCount)
    {
        if(!pSocket->HasClient())
        {
            printf("no game connected\n");
            return;
        }
        CorvelPacket tPacket;
        BuildEnemiesPacket(&tPacket, pCount);
        pSocket->SendPacket(&tPacket);
        printf("sent type=%u length=%u\n", (unsigned)tPacket.mType, (unsigned)tPacket.mLength);
    }

    void PrintPacket(const CorvelPacket *pPacket)
    {
        char tText[PACKET_PAYLOAD_MAX + 1];
        PrintablePayload(pPacket, tText, sizeof(tText));
        unsigned tType = pPacket->mType;
        unsigned tLength = pPacket->mLength;
        if(tType == PACKET_TYPE_ENEMIES && PacketPayloadSize(pPacket) >= PACKET_ENEMIES_PAYLOAD_SIZE)
        {
            int tCount = (int)ReadI32LE(pPacket->mPayload + PACKET_ENEMIES_NAME_SIZE);
            printf("recv type=%u length=%u name=\"%s\" count=%i\n", tType, tLength, tText, tCount);
        }
        else if(tType == PACKET_TYPE_CLOSE)
        {
            printf("recv type=%u length=%u close\n", tType, tLength);
        }
        else
        {
            printf("recv type=%u length=%u text=\"%s\"\n", tType, tLength, tText);
        }
    }

    void HandlePacket(CorvelSocket *pSocket, const CorvelPacket *pPacket)
    {
        PrintPacket(pPacket);
        if(pPacket->mType == PACKET_TYPE_HANDSHAKE_REQUEST)
        {
            if(xSettings.mAnswer) SendTyped(pSocket, PACKET_TYPE_IDENTIFY, xSettings.rName);
            return;
        }
        if(pPacket->mType == PACKET_TYPE_ENEMIES) return;
        // A close packet ends the peer's socket; an identification stops its requests.
        CorvelSocket::DefaultPacketHandler(pSocket, pPacket);
    }

    void RunCommand(CorvelSocket *pSocket, char *pLine)
    {
        char *rWord = strtok(pLine, " \t\r");
        if(!rWord) return;
        char *rRest = strtok(nullptr, "\r");
        if(!strcmp(rWord, "close")) SendTyped(pSocket, PACKET_TYPE_CLOSE, nullptr);
        else if(!strcmp(rWord, "request")) SendTyped(pSocket, PACKET_TYPE_HANDSHAKE_REQUEST, "Requesting handshake");
        else if(!strcmp(rWord, "identify")) SendTyped(pSocket, PACKET_TYPE_IDENTIFY, rRest ? rRest : "");
        else if(!strcmp(rWord, "enemies")) SendEnemies(pSocket, rRest ? atoi(rRest) : 0);
        else if(!strcmp(rWord, "send") && rRest)
        {
            char *rText = nullptr;
            long tType = strtol(rRest, &rText, 10);
            if(rText && *rText == ' ') rText++;
            if(tType < 0 || tType > 65535) printf("type must be 0 to 65535\n");
            else SendTyped(pSocket, (uint16_t)tType, rText && *rText ? rText : nullptr);
        }
        else if(!strcmp(rWord, "quit")) xQuit = 1;
        else printf("commands: close, request, identify NAME, enemies N, send TYPE [TEXT], quit\n");
    }

    // Standard input is read without waiting, so the link keeps its pace while nobody types.
    struct LineInput
    {
        char mBuffer[512];
        size_t mHeld;
        bool mDone;
    };

    void PollInput(LineInput *pInput, CorvelSocket *pSocket)
    {
        pollfd tPoll = {0, POLLIN, 0};
        while(!pInput->mDone && poll(&tPoll, 1, 0) > 0)
        {
            ssize_t tRead = read(0, pInput->mBuffer + pInput->mHeld, sizeof(pInput->mBuffer) - 1 - pInput->mHeld);
            if(tRead <= 0)
            {
                if(tRead < 0 && errno == EINTR) continue;
                pInput->mDone = true;
                return;
            }
            pInput->mHeld += (size_t)tRead;
            char *rStart = pInput->mBuffer;
            char *rEnd;
            while((rEnd = (char *)memchr(rStart, '\n', pInput->mHeld - (size_t)(rStart - pInput->mBuffer))))
            {
                *rEnd = '\0';
                RunCommand(pSocket, rStart);
                rStart = rEnd + 1;
            }
            pInput->mHeld -= (size_t)(rStart - pInput->mBuffer);
            memmove(pInput->mBuffer, rStart, pInput->mHeld);
            // A line longer than the buffer is dropped rather than read as several commands.
            if(pInput->mHeld == sizeof(pInput->mBuffer) - 1) pInput->mHeld = 0;
        }
    }

    bool ParseArguments(int pArgc, char **pArgv)
    {
        for(int i = 1; i < pArgc; i++)
        {
            const char *rArg = pArgv[i];
            bool tHasValue = i + 1 < pArgc;
            if(!strcmp(rArg, "-port") && tHasValue)
            {
                long tPort = strtol(pArgv[++i], nullptr, 10);
                if(tPort < 0 || tPort > 65535) return false;
                xSettings.mPort = (uint16_t)tPort;
            }
            else if(!strcmp(rArg, "-name") && tHasValue) xSettings.rName = pArgv[++i];
            else if(!strcmp(rArg, "-noanswer")) xSettings.mAnswer = false;
            else if(!strcmp(rArg, "-exit-on-close")) xSettings.mExitOnClose = true;
            else return false;
        }
        return true;
    }
}

int main(int argc, char **argv)
{
    if(!ParseArguments(argc, argv))
    {
        fprintf(stderr, "usage: plinkpeer [-port N] [-name NAME] [-noanswer] [-exit-on-close]\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);
    signal(SIGINT, OnSignal);
    signal(SIGTERM, OnSignal);

    CorvelSocket tServer;
    tServer.SetPacketHandler(HandlePacket);
    tServer.Boot();
    tServer.StartServer(xSettings.mPort);
    if(!tServer.IsListening())
    {
        fprintf(stderr, "plinkpeer: cannot listen on port %u\n", (unsigned)xSettings.mPort);
        return 1;
    }
    printf("listening on port %u\n", (unsigned)tServer.GetServerPort());

    LineInput tInput = {};
    bool tHadClient = false;
    while(!xQuit)
    {
        // Accepting first, so the connection is told before anything the game sends.
        tServer.AcceptClient();
        if(tServer.HasClient() && !tHadClient) printf("game connected\n");
        tHadClient = tServer.HasClient();
        tServer.Update();
        if(!tServer.IsOpen())
        {
            printf("link closed\n");
            break;
        }
        if(tHadClient && !tServer.HasClient())
        {
            tHadClient = false;
            printf("game left\n");
            if(xSettings.mExitOnClose) break;
        }
        PollInput(&tInput, &tServer);
        usleep(1000000 / 60);
    }
    tServer.Close();
    return 0;
}
