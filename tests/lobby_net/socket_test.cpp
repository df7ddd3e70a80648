// Socket over real Winsock on 127.0.0.1.
#include "lobby/net/engine/Socket.h"

#include <gtest/gtest.h>

#include <thread>

#include "lobby/net/base/Exception.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Patience.h"

using namespace testsupport;

namespace {

// Connects a blocking socket to a loopback port.
void ConnectBlocking(Socket& s, unsigned short port) {
    s.Connect("127.0.0.1", port);
    ASSERT_EQ(s.Wait(2000, Socket::kWaitConnect), Socket::kWaitConnect);
    s.SetConnected(true);
}

int WaitError(Socket& s, int bits) {
    try {
        for (int i = 0; i < 2000; ++i)
            if (s.Wait(1, bits)) return 0;
    } catch (const SocketException& e) {
        EXPECT_EQ(e.Message(), std::to_string(e.GetError())) << "re-raised from the number alone";
        return e.GetError();
    }
    return -1;
}

TEST(SocketConnect, ARefusedNonBlockingConnectSurfacesInWait) {
    RefusingPort refusing;
    Socket s;
    s.Create(Socket::kTcp);
    s.SetBlocking(false);
    s.Connect("127.0.0.1", refusing.Port());
    EXPECT_EQ(WaitError(s, Socket::kWaitConnect), WSAECONNREFUSED);
}

TEST(SocketConnect, ANonBlockingConnectCompletesAndAHostNameIsResolved) {
    LoopbackServer server([](Connection& c) { c.WaitClosed(3000); });
    for (const char* host : {"127.0.0.1", "localhost"}) {
        Socket s;
        s.Create(Socket::kTcp);
        s.SetBlocking(false);
        s.Connect(host, server.Port());
        EXPECT_EQ(WaitError(s, Socket::kWaitConnect), 0) << host;
        EXPECT_EQ(s.GetKind(), Socket::kTcp);
    }
}

TEST(SocketData, IdleConnectedSocketIsWritableNotReadable) {
    LoopbackServer server([](Connection& c) { c.WaitClosed(3000); });
    Socket s;
    ConnectBlocking(s, server.Port());
    const DWORD start = GetTickCount();
    EXPECT_EQ(s.Wait(500, Socket::kWaitRead | Socket::kWaitWrite), Socket::kWaitWrite);
    EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(Patience(200)));
    EXPECT_EQ(s.Wait(20, Socket::kWaitRead), 0);
}

TEST(SocketData, SendsEverythingAndReadsTheEndOfTheStream) {
    std::string got;
    const std::string big(3 << 20, 'q');  // more than the socket buffers hold
    LoopbackServer server([&](Connection& c) {
        c.Pause(300);  // the sender meets a full buffer first
        c.ReadExact(big.size() + 3, got, 20000);
        c.Send("bye");
        c.Close();
    });
    Socket s;
    ConnectBlocking(s, server.Port());
    s.SetBlocking(false);
    s.Send("", 0);  // nothing to send, no failure
    s.Send(big.data(), static_cast<unsigned>(big.size()));
    s.Send("end", 3);
    char buf[16];
    ASSERT_EQ(s.Wait(5000, Socket::kWaitRead), Socket::kWaitRead);
    int n = 0;
    std::string reply;
    while (reply.size() < 3) {
        if (!s.Wait(5000, Socket::kWaitRead)) break;
        n = s.Recv(buf, sizeof buf);
        if (n <= 0) break;
        reply.append(buf, static_cast<size_t>(n));
    }
    EXPECT_EQ(reply, "bye");
    EXPECT_EQ(got.size(), big.size() + 3);
    EXPECT_EQ(got.substr(got.size() - 3), "end");
    EXPECT_FALSE(s.EndOfStream());
    ASSERT_EQ(s.Wait(5000, Socket::kWaitRead), Socket::kWaitRead);
    EXPECT_EQ(s.Recv(buf, sizeof buf), 0) << "the peer has closed: 0, nothing thrown";
    EXPECT_TRUE(s.EndOfStream());
}

TEST(SocketData, RecvOnAClosedSocketThrowsTheErrorNumber) {
    Socket s;
    s.Create(Socket::kTcp);
    s.Close();
    char buf[4];
    try {
        s.Recv(buf, 4);
        FAIL();
    } catch (const SocketException& e) {
        EXPECT_EQ(e.GetError(), WSAENOTSOCK);
        EXPECT_EQ(e.Message(), "10038");
    }
    EXPECT_THROW(s.Send("x", 1), SocketException);
}

TEST(SocketLife, CloseOnANeverCreatedSocketOnlyClearsTheFlag) {
    Socket s;
    s.SetConnected(true);
    s.Close();
    EXPECT_FALSE(s.IsConnected());
    EXPECT_EQ(s.GetHandle(), INVALID_SOCKET);
    s.Close();
}

// How many uses Winsock counts now: ended one by one, then started again. Only
// while no other thread of the test uses sockets.
int WinsockUses() {
    int uses = 0;
    while (WSACleanup() == 0) ++uses;
    WSADATA data;
    for (int i = 0; i < uses; ++i) WSAStartup(MAKEWORD(2, 2), &data);
    return uses;
}

TEST(SocketLife, EachCloseEndsOnlyTheWinsockUseItsCreateStarted) {
    StartWinsock();
    const int before = WinsockUses();
    {
        Socket tcp;
        tcp.Create(Socket::kTcp);
        EXPECT_EQ(WinsockUses(), before + 1);
        tcp.Create(Socket::kTcp);  // the first socket is closed first
        EXPECT_EQ(WinsockUses(), before + 1);
        tcp.Close();
        tcp.Close();
        EXPECT_EQ(WinsockUses(), before);
        Socket udp;
        udp.Create(Socket::kUdp);
        udp.Close();
        EXPECT_EQ(WinsockUses(), before) << "a UDP socket started no use of its own";
        Socket dropped;
        dropped.Create(Socket::kTcp);
    }  // destroyed: closed
    EXPECT_EQ(WinsockUses(), before);
}

TEST(SocketLife, CloseFromAnotherThreadEndsAWaitingCall) {
    LoopbackServer server([](Connection& c) { c.WaitClosed(5000); });
    Socket s;
    ConnectBlocking(s, server.Port());
    s.SetBlocking(false);
    std::thread closer([&] {
        Sleep(100);
        s.Close();
    });
    int error = 0;
    const DWORD start = GetTickCount();
    try {
        while (GetTickCount() - start < 3000) {
            s.Wait(1, Socket::kWaitRead);
            Sleep(1);
        }
    } catch (const SocketException& e) {
        error = e.GetError();
    }
    closer.join();
    EXPECT_NE(error, 0);
    EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(Patience(1000)));
}

TEST(SocketAccept, AcceptTakesAConnectionAndLogsThePeer) {
    StartWinsock();
    Socket listening;
    listening.Create(Socket::kTcp);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listening.GetHandle(), reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(listening.GetHandle(), 1), 0);
    int length = sizeof a;
    getsockname(listening.GetHandle(), reinterpret_cast<sockaddr*>(&a), &length);

    Socket client;
    client.Connect("127.0.0.1", ntohs(a.sin_port));
    Socket accepted;
    testing::internal::CaptureStdout();
    accepted.Accept(&listening);
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(accepted.IsConnected());
    EXPECT_EQ(accepted.GetPeerAddress(), "127.0.0.1");
    const std::string line = "Socket: Incoming ip 127.0.0.1" + std::to_string(accepted.GetHandle()) + "\n";
    EXPECT_NE(console.find(line), std::string::npos) << console;

    client.Send("hi", 2);  // the accepted socket is blocking
    char buf[2];
    EXPECT_EQ(accepted.Recv(buf, 2), 2);
}

TEST(SocketUdp, DatagramsGoToADottedAddress) {
    StartWinsock();
    Socket receiver;
    receiver.Create(Socket::kUdp);
    EXPECT_EQ(receiver.GetKind(), Socket::kUdp);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(receiver.GetHandle(), reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    int length = sizeof a;
    getsockname(receiver.GetHandle(), reinterpret_cast<sockaddr*>(&a), &length);

    Socket sender;
    EXPECT_EQ(sender.SendTo("127.0.0.1", ntohs(a.sin_port), "ping", 4), 4);
    EXPECT_EQ(sender.GetKind(), Socket::kUdp) << "created by SendTo";
    char buf[8];
    EXPECT_EQ(receiver.Recv(buf, sizeof buf), 4);
    EXPECT_EQ(std::string(buf, 4), "ping");
    const DWORD start = GetTickCount();
    EXPECT_EQ(receiver.Recv(buf, sizeof buf), -1) << "nothing within the 1000 ms receive time-out";
    EXPECT_GE(GetTickCount() - start, 900u);
}

TEST(SocketBind, BindSetsTheConnectedFlag) {
    Socket s;
    s.Create(Socket::kTcp);
    s.Bind(0);
    EXPECT_TRUE(s.IsConnected());
    s.Close();
    EXPECT_FALSE(s.IsConnected());
}

}  // namespace
