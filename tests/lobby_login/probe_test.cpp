// The server list and the probing, against probe servers on 127.0.0.1 that
// answer after chosen delays, refuse, stay silent or answer wrongly.
#include <gtest/gtest.h>

#include "lobby/net/startup/ServerProbe.h"
#include "tests/lobby_login/LoginTestSupport.h"
#include "xml/XMLReadText.h"
#include "tests/support/Patience.h"

using namespace testsupport;

namespace {

class ProbeTest : public ::testing::Test {
protected:
    Scratch scratch;
    CLobbyData& hub = GetLobbyData();

    void SetUp() override {
        PrepareHub(scratch, -1, 1500, 3000, 0);  // time1 -1: no answer is fast enough
        scratch.Write("updater.ini", UpdaterIni("10.0.0.1", 1, 2));
    }

    // serveraddr.ini listing the ports (net type 1 unless given) and a load.
    void ListServers(const std::vector<unsigned short>& ports, const std::vector<int>& netTypes = {}) {
        std::vector<std::string> sections;
        for (size_t i = 0; i < ports.size(); ++i)
            sections.push_back(
                ServerSection(static_cast<int>(i) + 1, "127.0.0.1", ports[i], i < netTypes.size() ? netTypes[i] : 1));
        scratch.Write("serveraddr.ini", ServerAddrIni(static_cast<int>(ports.size()), sections));
        ASSERT_TRUE(GetServerConfig().Load());
    }

    // Polls every millisecond as the login step does; the time it took, or -1.
    long long ProbeUntilDone(ServerCol& prober, int timeoutMs = 10000) {
        const unsigned long long start = NowMs();
        prober.Start();
        while (NowMs() - start < static_cast<unsigned long long>(timeoutMs)) {
            if (prober.Poll()) return static_cast<long long>(NowMs() - start);
            Sleep(1);
        }
        return -1;
    }

    std::string ChosenComport() { return ChosenValue(2); }
    std::string ChosenValue(size_t index) {
        XMLTextReader reader;
        const std::string entry = scratch.ReadIni("updater.ini", "system", "system");
        if (!ReadXmlText(reader, entry) || !reader.Read() || !reader.Read()) return "";
        std::vector<std::string> values = AttributeValues(reader, 3);
        return index < values.size() ? values[index] : "";
    }
};

}  // namespace

TEST_F(ProbeTest, ServerListTakesTheCountedSectionsAndNeedsEveryEntry) {
    std::vector<std::string> four;
    for (int i = 1; i <= 4; ++i) four.push_back(ServerSection(i, "10.1.1." + std::to_string(i), 9000 + i, 1));
    scratch.Write("serveraddr.ini", ServerAddrIni(3, four));
    ASSERT_TRUE(GetServerConfig().Load());
    std::vector<ServerRecord> servers;
    ASSERT_EQ(GetServerConfig().GetServerList(servers), 3);
    for (const ServerRecord& s : servers) EXPECT_NE(s.ip, "10.1.1.4") << "server4 lies beyond the count";
    std::string ip, version, game;
    int port = 0, comport = 0;
    ASSERT_EQ(GetServerConfig().GetLobbyServer(ip, port, comport), 1);
    EXPECT_EQ(ip, "10.0.0.1");
    EXPECT_EQ(comport, 2);
    ASSERT_EQ(GetServerConfig().GetVersion(version, game), 1);
    EXPECT_EQ(game, "FENLO");
    EXPECT_EQ(version, "2.0.1");

    // A count far beyond the sections in the file reads only what is there.
    scratch.Write("serveraddr.ini", ServerAddrIni(2000000000, {four[0], four[1]}));
    ASSERT_TRUE(GetServerConfig().Load());
    EXPECT_LE(GetServerConfig().GetServerList(servers), 3);

    scratch.Write("serveraddr.ini", ServerAddrIni(0, four));
    EXPECT_FALSE(GetServerConfig().Load()) << "no record";
    EXPECT_EQ(GetServerConfig().GetServerList(servers), 0) << "not loaded";

    scratch.Write("serveraddr.ini", ServerAddrIni(2, four));
    scratch.Write("updater.ini", "[system]\r\nsystem=<config/>\r\n");
    EXPECT_FALSE(GetServerConfig().Load()) << "the chosen entry lacks its value element";
    scratch.Write("updater.ini", UpdaterIni("10.0.0.1", 1, 2));
    hub.versionxml = "<version game=\"FENLO\"/>";
    EXPECT_FALSE(GetServerConfig().Load()) << "the version entry lacks the version";
}

TEST_F(ProbeTest, FastestAnswerIsChosenAndDeadServersCountAsFinished) {
    auto fast = StartProbeServer(30);
    auto slow = StartProbeServer(400);
    auto wrong = StartProbeServer(0, "<GameMessage game=\"Lobby\"><Message name=\"PingData\"/></GameMessage>");
    RefusingPort refusing;
    SilentPort silent;
    ListServers({slow->Port(), refusing.Port(), fast->Port(), silent.Port(), wrong->Port()});

    ServerCol prober;
    const long long took = ProbeUntilDone(prober);
    ASSERT_GE(took, 0);
    EXPECT_GE(took, 1400) << "the silent server is waited for until time2";
    EXPECT_EQ(ChosenComport(), std::to_string(fast->Port()));
    EXPECT_EQ(ChosenValue(0), "127.0.0.1");
    EXPECT_TRUE(WaitFor([&] { return slow->Accepted() == 1; }, 5000));
}

TEST_F(ProbeTest, AnswerWithinTime1EndsTheProbingAndNoAnswerWritesNothing) {
    hub.timeValue[0] = 200;
    hub.timeValue[1] = 5000;
    auto quick = StartProbeServer(0);  // may well be timed at 0 ms: still written back
    auto mute = StartProbeServer(-1);
    ListServers({mute->Port(), quick->Port()});
    ServerCol prober;
    const long long took = ProbeUntilDone(prober);
    ASSERT_GE(took, 0);
    EXPECT_LT(took, testsupport::Patience(2000));
    EXPECT_EQ(ChosenComport(), std::to_string(quick->Port()));

    // No answer within time2: the entry stays.
    hub.timeValue[1] = 300;
    ListServers({mute->Port()});
    EXPECT_GE(ProbeUntilDone(prober), 250);
    EXPECT_EQ(ChosenComport(), std::to_string(quick->Port()));
}

TEST_F(ProbeTest, ServerChoiceKeepsToItsNetTypeAndSurvivesARunOutList) {
    auto a = StartProbeServer(0);
    auto b = StartProbeServer(100);
    auto c = StartProbeServer(0);
    ListServers({a->Port(), b->Port(), c->Port()}, {1, 2, 1});
    hub.serverChoice = 2;
    ServerCol prober;
    ASSERT_GE(ProbeUntilDone(prober), 0);
    EXPECT_EQ(a->Accepted() + c->Accepted(), 0);
    EXPECT_TRUE(WaitFor([&] { return b->Accepted() == 1; }, 5000));
    EXPECT_EQ(ChosenComport(), std::to_string(b->Port()));

    // Three records in nine slots: the first two finish while the third still
    // waits and find nothing left to probe. The user's choice stays, so the
    // next probing probes again.
    hub.serverChoice = 0;
    ListServers({a->Port(), b->Port(), c->Port()});
    ASSERT_GE(ProbeUntilDone(prober), 0);
    EXPECT_EQ(hub.serverChoice, 0);
    ASSERT_GE(ProbeUntilDone(prober), 0);
    EXPECT_TRUE(WaitFor([&] { return a->Accepted() == 2; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return b->Accepted() == 3; }, 5000));
}

TEST_F(ProbeTest, TwelveRecordsAreAllProbedThroughNineSlots) {
    std::vector<std::unique_ptr<LoopbackServer>> servers;
    std::vector<unsigned short> ports;
    for (int i = 0; i < 12; ++i) {
        servers.push_back(StartProbeServer(40));
        ports.push_back(servers.back()->Port());
    }
    ListServers(ports);
    ServerCol prober;
    ASSERT_GE(ProbeUntilDone(prober), 0);
    for (auto& s : servers) EXPECT_TRUE(WaitFor([&] { return s->Accepted() == 1; }, 5000));
}

TEST_F(ProbeTest, ProbingWithNothingToProbeEndsAtOnce) {
    scratch.Write("serveraddr.ini", ServerAddrIni(0, {}));
    EXPECT_FALSE(GetServerConfig().Load());
    ServerCol prober;
    prober.Start();
    EXPECT_EQ(prober.Poll(), 1);
}

TEST_F(ProbeTest, ProbeReadsTheAnswerByPosition) {
    struct Case {
        std::string answer;
        int state;
    };
    const Case cases[] = {
        {"<GameMessage x=\"FENLO\"><Message y=\"PingData\"/></GameMessage>", CChoiceServer::kAnswered},
        {"<GameMessage game=\"FENLO\"><Message name=\"Other\"/></GameMessage>", CChoiceServer::kWaiting},
        {"<GameMessage game=\"FENLOX\"><Message name=\"PingData\"/></GameMessage>", CChoiceServer::kWrongAnswer},
        {"<GameMessage/>", CChoiceServer::kWrongAnswer},
        {"<GameMessage game=\"FENLO\"><Message", CChoiceServer::kFailed},
    };
    for (const Case& c : cases) {
        auto server = StartProbeServer(0, c.answer);
        ListServers({server->Port()});
        CChoiceServer probe;
        ServerRecord record;
        record.ip = "127.0.0.1";
        record.comport = std::to_string(server->Port());
        probe.Probe(record);
        // Connected first (slow on a loaded machine), then the answer read; an answer that
        // leaves the probe waiting is given a second to show otherwise.
        WaitFor([&] { return probe.GetState() != CChoiceServer::kConnecting; }, 5000);
        WaitFor(
            [&] {
                return probe.GetState() != CChoiceServer::kConnecting && probe.GetState() != CChoiceServer::kWaiting;
            },
            c.state == CChoiceServer::kWaiting ? 1000 : 5000);
        EXPECT_EQ(probe.GetState(), c.state) << c.answer;
        probe.SetState(CChoiceServer::kFailed);
        probe.SetState(CChoiceServer::kAnswered);
        EXPECT_EQ(probe.GetState(), CChoiceServer::kFailed) << "failed is final";
    }
}
