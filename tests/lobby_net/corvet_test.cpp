// Corvet.dll from a program that imports it, as the card-game client does: an
// engine class of the program's own derived from the exported CThreadEngine.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "lobby/net/base/Locks.h"
#include "tests/lobby_net/RecordingEngine.h"
#include "tests/support/LoopbackServer.h"

using namespace testsupport;

namespace {

TEST(Corvet, ExportsTheEngineAndTheLockClasses) {
    HMODULE dll = GetModuleHandleA("Corvet.dll");
    ASSERT_NE(dll, nullptr) << "imported, not linked in";
    const char* names[] = {
        "_ZN13CThreadEngineC2Ev",
        "_ZN13CThreadEngineD2Ev",
        "_ZN13CThreadEngine7ConnectENSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEs",
        "_ZN13CThreadEngine5CloseEv",
        "_ZN13CThreadEngine12GetConnStateEv",
        "_ZN13CThreadEngine8SendTextEPKvj",
        "_ZN13CThreadEngine10SendBinaryEPKvj",
        "_ZTV13CThreadEngine",
        "_ZN15CriticalSectionC1Ev",
        "_ZN15CriticalSection5EnterEv",
        "_ZN8LockBaseI15CriticalSectionEC1ERS0_",
        "_ZN8LockBaseI15CriticalSectionED1Ev",
    };
    for (const char* name : names) EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
}

// The card-game client loads the DLL too: the lobby's link and its
// translated send stay in the lobby's own engine.
TEST(Corvet, CarriesNoLobbyCode) {
    auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleA("Corvet.dll"));
    ASSERT_NE(base, nullptr);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    ASSERT_GT(exports->NumberOfNames, 10u);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        const std::string name = reinterpret_cast<const char*>(base + names[i]);
        EXPECT_EQ(name.find("Lobby"), std::string::npos) << name;
        EXPECT_EQ(name.find("SendTranslated"), std::string::npos) << name;
        EXPECT_EQ(name.find("13CThreadEngine4Send"), std::string::npos) << name;
    }
}

TEST(Corvet, ADerivedEngineTalksThroughTheDll) {
    LoopbackServer server([](Connection& c) {
        int kind;
        std::string payload;
        while (c.ReadFrame(kind, payload, 5000)) c.SendFrame(kind, "echo:" + payload);
    });
    RecordingEngine engine;
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateCreated);
    engine.SendText("early", 5);
    engine.Connect("127.0.0.1", static_cast<short>(server.Port()));
    ASSERT_TRUE(engine.record->WaitConnects(1, 5000));
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateConnected);
    engine.SendBinary("\x01\x02\x01", 3);
    engine.SendText("<GameMessage/>", 14);
    ASSERT_TRUE(engine.record->WaitFrames(3, 5000));
    auto& f = engine.record->frames;
    EXPECT_EQ(f[0].kind, 1);
    EXPECT_EQ(f[0].payload, "echo:early");
    EXPECT_EQ(f[1].kind, 0);
    EXPECT_EQ(f[1].payload, "echo:\x01\x02\x01");
    EXPECT_EQ(f[2].payload, "echo:<GameMessage/>");
    EXPECT_EQ(engine.record->sends, 3);
    engine.Close();
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateClosed);
}

TEST(Corvet, RefusalAndDeletionAcrossTheBoundary) {
    RefusingPort refusing;
    auto record = std::make_shared<Record>();
    auto* engine = new RecordingEngine(record);
    engine->Connect("127.0.0.1", static_cast<short>(refusing.Port()));
    ASSERT_TRUE(record->WaitErrors(1, 5000));
    EXPECT_EQ(record->errors[0], WSAECONNREFUSED);
    delete engine;
    const int seen = record->Callbacks();
    Sleep(100);
    EXPECT_EQ(record->Callbacks(), seen);
}

TEST(Corvet, TheExportedLockGuardsAcrossThreads) {
    CriticalSection lock;
    int counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            LockBase<CriticalSection> guard(lock);
            ++counter;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);
}

}  // namespace
