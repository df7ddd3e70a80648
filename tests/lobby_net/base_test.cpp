// The Windows half of the base library: exceptions, text helpers, conversions,
// File, LogManager, locks, threads and semaphores; the typed post of the
// lobby's private messages.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "lobby/net/base/Exception.h"
#include "lobby/net/base/File.h"
#include "lobby/net/base/IniSection.h"
#include "lobby/net/base/Locks.h"
#include "lobby/net/base/LogManager.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/base/TextHelpers.h"
#include "lobby/net/base/Thread.h"

namespace {

std::string ReadWhole(const std::string& utf8Path) {
    std::ifstream in(Utf8ToWide(utf8Path).c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Remove(const std::string& utf8Path) { DeleteFileW(Utf8ToWide(utf8Path).c_str()); }

// A scratch folder beside the program, removed with what it holds.
struct Scratch {
    std::string folder = GetProgramFolder() + "lobby_base_scratch\\";
    Scratch() { CreateDirectoryW(Utf8ToWide(folder).c_str(), nullptr); }
    ~Scratch() {
        for (const char* name : {"a.bin", "b.bin", "\xE6\xB8\xB8\xE6\x88\x8F.txt", "keys.ini"}) Remove(folder + name);
        RemoveDirectoryW(Utf8ToWide(folder).c_str());
    }
};

TEST(Exceptions, CarryMessageAndErrorNumber) {
    SocketException byNumber(10054);
    EXPECT_EQ(byNumber.Message(), "10054");
    EXPECT_EQ(byNumber.GetError(), 10054);
    SocketException byText("x", 11001);
    EXPECT_EQ(byText.Message(), "x");
    EXPECT_EQ(byText.GetError(), 11001);
    try {
        throw ThreadException("x");
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "x");
    }
}

TEST(TextHelpers, ProgramFolderIsTheExecutablesFolder) {
    const std::string folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_NE(GetFileAttributesW(Utf8ToWide(folder + "t_lobby_base.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(&GetProgramFolder(), &GetProgramFolder()) << "worked out once";
}

TEST(TextHelpers, SystemErrorTextHasNoLineBreaks) {
    for (unsigned long error : {2ul, 5ul, 10061ul}) {  // file not found, access denied, refused
        const std::string text = GetSystemErrorText(error);
        EXPECT_FALSE(text.empty()) << error;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    }
}

TEST(TextHelpers, NumbersAsText) {
    EXPECT_EQ(NumberToText(-42), "-42");
    EXPECT_EQ(NumberToText(0), "0");
    EXPECT_EQ(NumberToText(4294967295u), "4294967295");
}

TEST(Conversions, GbkAndUtf8MeetThroughUtf16) {
    // Narrow literals are GBK (the ANSI code page 936 under the test prefix).
    const std::string gbk = "游戏大厅";
    const std::string utf8 = "\xE6\xB8\xB8\xE6\x88\x8F\xE5\xA4\xA7\xE5\x8E\x85";
    ASSERT_EQ(GetACP(), 936u);
    EXPECT_EQ(gbk.size(), 8u);
    EXPECT_EQ(AnsiToUtf8(gbk), utf8);
    EXPECT_EQ(Utf8ToAnsi(utf8), gbk);
    EXPECT_EQ(AnsiToUtf16(gbk), L"\x6E38\x620F\x5927\x5385");
    EXPECT_EQ(Utf16ToAnsi(L"abc"), "abc");
    EXPECT_EQ(AnsiToUtf8(""), "");
}

// A section read at once answers every key as the profile call for that key
// does: names in any case and with blanks, the first of two equal keys and
// the first of two equal sections, quotes, '=' in a value, keys without a
// value, cut values (of double-byte text too), a missing key, section and
// file.
TEST(IniSectionTest, AnswersAsTheProfileCallDoes) {
    Scratch s;
    const std::string file = s.folder + "keys.ini";
    std::ofstream(file, std::ios::binary)
        << "[Sys]\r\n  Ping = <GameMessage game=\"FENLO\"/>  \r\nping=second\r\nq1=\"quoted\"\r\nq2='one'\r\n"
           "q3=\"\r\nq4=\"\"\r\nq5=\"open\r\nq6='mixed\"\r\nbare\r\n;comment=x\r\nlong=0123456789\r\n"
           "content =\xD3\xCE\xCF\xB7a\xD3\xCE\r\nq7=\"\xD3\xCE\xCF\xB7\"\r\nempty=\r\n[other]\r\nx=1\r\n[SYS]\r\nlate=2\r\n";
    const IniSection keys = ReadIniSection(file, "sys");
    for (const char* key : {"ping", "PING ", " Ping", "q1", "q2", "q3", "q4", "q5", "q6", "q7", "bare", "long", "content ",
                            "content", "empty", "late", "x", "none"})
        for (DWORD size : {512u, 11u, 10u, 8u, 6u, 5u, 4u, 3u, 2u, 1u}) {
            char expected[512] = "";
            GetPrivateProfileStringA("sys", key, "", expected, size, file.c_str());
            EXPECT_EQ(keys.Value(key, size), std::string(expected)) << key << " in " << size;
        }
    EXPECT_EQ(ReadIniSection(file, "none").Count(), 0u);
    EXPECT_EQ(ReadIniSection(s.folder + "missing.ini", "sys").Value("ping"), "");
}

TEST(FileTest, OpenFlagsChooseTheCreationMode) {
    Scratch s;
    const std::string path = s.folder + "a.bin";
    EXPECT_THROW(File(path, GENERIC_READ, File::kOpenExisting), FileException);
    {
        File created(path, GENERIC_WRITE, File::kCreateNew);
        created.Write("12345", 5);
    }
    EXPECT_THROW(File(path, GENERIC_WRITE, File::kCreateNew), FileException) << "create-new only";
    {
        File opened(path, GENERIC_READ, File::kOpenExisting | File::kCreateNew);
        EXPECT_EQ(opened.GetSize(), 5u);
    }
    {
        File cut(path, GENERIC_WRITE, File::kOpenExisting | File::kTruncate);
        EXPECT_EQ(cut.GetSize(), 0u);
    }
    {
        File again(path, GENERIC_WRITE, File::kCreateNew | File::kTruncate);
        again.Write("ab", 2);
    }
    {
        File always(path, GENERIC_READ | GENERIC_WRITE, 7);
        EXPECT_EQ(always.GetSize(), 0u);
    }
    EXPECT_THROW(File(path, GENERIC_READ, File::kTruncate), FileException) << "no valid mode";
    EXPECT_THROW(File(path, GENERIC_READ, 0), FileException);
}

TEST(FileTest, FailureCarriesTheSystemText) {
    Scratch s;
    try {
        File missing(s.folder + "none.bin", GENERIC_READ, File::kOpenExisting);
        FAIL() << "opened a missing file";
    } catch (const FileException& e) {
        EXPECT_EQ(e.Message(), GetSystemErrorText(ERROR_FILE_NOT_FOUND));
    }
}

TEST(FileTest, ReadsWritesSeeksAndCuts) {
    Scratch s;
    File f(s.folder + "b.bin", GENERIC_READ | GENERIC_WRITE, File::kOpenExisting | File::kCreateNew);
    EXPECT_EQ(f.Write("hello world", 11), 11u);
    EXPECT_EQ(f.GetPosition(), 11);
    EXPECT_EQ(f.SeekFromStart(6), 6);
    char buf[16] = {};
    unsigned n = sizeof buf;
    f.Read(buf, n);
    EXPECT_EQ(std::string(buf, n), "world");
    EXPECT_EQ(f.SeekFromEnd(-5), 6);
    EXPECT_EQ(f.SeekFromCurrent(-1), 5);
    f.Truncate();
    EXPECT_EQ(f.GetSize(), 5u);
    EXPECT_TRUE(f.SetSize(2));
    EXPECT_EQ(f.GetSize(), 2u);
    EXPECT_EQ(f.GetPosition(), 5) << "the position is kept across SetSize";
    EXPECT_EQ(f.SeekFromStart(-1), -1) << "seek failures are returned";
    f.SeekFromStart(0);
    n = sizeof buf;
    f.Read(buf, n);
    EXPECT_EQ(std::string(buf, n), "he");
    n = sizeof buf;
    f.Read(buf, n);
    EXPECT_EQ(n, 0u);
    f.Flush();
    f.Close();
    f.Flush();  // nothing held: nothing to do
    f.Close();
}

TEST(FileTest, Utf8PathsReachTheFileSystem) {
    Scratch s;
    const std::string path = s.folder + "\xE6\xB8\xB8\xE6\x88\x8F.txt";
    {
        File f(path, GENERIC_WRITE, File::kCreateNew);
        f.Write("x", 1);
    }
    EXPECT_NE(GetFileAttributesW((Utf8ToWide(s.folder) + L"\x6E38\x620F.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The log manager, with a clock the test moves.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = GetProgramFolder();
        Clean();
    }
    void TearDown() override {
        Clean();
        Remove(folder + "write.log");
    }
    void Clean() {
        for (const char* c : {"logtest", "log_bad_", "Pellrin"}) Remove(folder + c + ".log");
        RemoveDirectoryW(Utf8ToWide(folder + "logblocked.log").c_str());
    }
    void Marker(bool present) {
        if (present)
            std::ofstream(Utf8ToWide(folder + "write.log").c_str()) << "";
        else
            Remove(folder + "write.log");
    }
    std::string folder;
    DWORD now = 5000;
    LogManager log{[this] { return now; }};
};

TEST_F(LogTest, NothingReachesTheFilesDuringTheStartPause) {
    Marker(true);
    testing::internal::CaptureStdout();
    log.Write("logtest", "early");
    now += 60000;  // exactly 60000 ms: still the pause
    log.Write("logtest", "still early");
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_EQ(ReadWhole(folder + "logtest.log"), "");
    EXPECT_EQ(ReadWhole(folder + "Pellrin.log"), "");
    EXPECT_NE(console.find("# logtest: early\n"), std::string::npos) << console;
    EXPECT_NE(console.find("# logtest: still early\n"), std::string::npos);
}

TEST_F(LogTest, AfterThePauseLinesFollowTheMarker) {
    now += 60001;
    Marker(false);
    log.Write("logtest", "unmarked");
    Marker(true);
    log.Write("logtest", "first");
    log.Write("logtest", "second");
    Marker(false);
    log.Write("logtest", "gone");
    const std::string file = ReadWhole(folder + "logtest.log");
    EXPECT_EQ(file, ReadWhole(folder + "Pellrin.log"));
    ASSERT_EQ(file.size(), 2 * 10 + 5 + 6 + 4) << file;
    // "hh:mm:ss# first\r\nhh:mm:ss# second\r\n"
    EXPECT_EQ(file.substr(8, 9), "# first\r\n");
    EXPECT_EQ(file.substr(2, 1), ":");
    EXPECT_EQ(file.substr(25), "# second\r\n");
    EXPECT_EQ(file.find("unmarked"), std::string::npos);
    EXPECT_EQ(file.find("gone"), std::string::npos);
}

TEST_F(LogTest, CategoryNamesAreCleanedButPellrinIsNot) {
    now += 70000;
    Marker(true);
    log.Write("log/bad?", "line");
    EXPECT_NE(ReadWhole(folder + "log_bad_.log").find("# line\r\n"), std::string::npos);
    EXPECT_NE(ReadWhole(folder + "Pellrin.log").find("# line\r\n"), std::string::npos);
}

TEST_F(LogTest, AFileErrorEndsTheWriteQuietly) {
    now += 70000;
    Marker(true);
    ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(folder + "logblocked.log").c_str(), nullptr));
    testing::internal::CaptureStdout();
    EXPECT_NO_THROW(log.Write("logblocked", "lost"));
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_EQ(console, "") << "the console line comes after the files and is skipped too";
    EXPECT_EQ(ReadWhole(folder + "Pellrin.log"), "");
}

TEST(LogManagerInstance, IsOneForTheProcess) { EXPECT_EQ(&LogManager::Instance(), &LogManager::Instance()); }

TEST(Locks, GuardLeavesItsLockWhenAnExceptionPasses) {
    CriticalSection lock;
    try {
        LockBase<CriticalSection> guard(lock);
        LockBase<CriticalSection> again(lock);  // re-entrant for its holder
        throw 1;
    } catch (int) {
    }
    std::atomic<bool> entered{false};
    std::thread other([&] {
        LockBase<CriticalSection> guard(lock);
        entered = true;
    });
    other.join();
    EXPECT_TRUE(entered);
}

TEST(Locks, CirSecLockExcludesOtherThreads) {
    CCirSecLock lock;
    int counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            lock.Lock();
            lock.Lock();
            ++counter;
            lock.Unlock();
            lock.Unlock();
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);
}

class CountingThread : public Thread {
public:
    int Run() override {
        ids.push_back(GetCurrentThreadId());  // only one thread at a time here
        if (throwing) {
            throwing = false;
            go.Wait(5000);
            throw Exception("ends the thread, not the process");
        }
        done.Release();
        return 7;
    }
    std::vector<DWORD> ids;
    Semaphore done, go;
    bool throwing = false;
};

TEST(ThreadTest, StartRunsOnANewThreadEachTime) {
    CountingThread t;
    ASSERT_TRUE(t.done.Create(0, 0x7fffffff));
    t.Start();
    ASSERT_TRUE(t.done.Wait(5000));
    const unsigned first = t.GetThreadId();
    t.Start();
    ASSERT_TRUE(t.done.Wait(5000));
    ASSERT_EQ(t.ids.size(), 2u);
    EXPECT_NE(t.ids[0], GetCurrentThreadId());
    EXPECT_EQ(t.ids[0], first);
    EXPECT_EQ(t.ids[1], t.GetThreadId());
    Sleep(20);  // let the second Run return before the object goes
}

// The thread that threw ends as any other (exit code 0), and the object runs
// again; an exception past the thread's boundary would end the process.
TEST(ThreadTest, AnExceptionFromRunEndsOnlyItsThread) {
    CountingThread t;
    t.throwing = true;
    ASSERT_TRUE(t.done.Create(0, 1));
    ASSERT_TRUE(t.go.Create(0, 1));
    t.Start();
    HANDLE thread = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, t.GetThreadId());
    ASSERT_NE(thread, nullptr) << "held at its gate";
    t.go.Release();
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 1;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 0u);
    CloseHandle(thread);
    t.Start();
    ASSERT_TRUE(t.done.Wait(5000));  // Run touches nothing after it
    EXPECT_EQ(t.ids.size(), 2u);
}

TEST(SemaphoreTest, WaitTimesOutUntilReleased) {
    Semaphore s;
    EXPECT_FALSE(s.Release()) << "nothing created yet";
    ASSERT_TRUE(s.Create(0, 0x7fffffff));
    const DWORD start = GetTickCount();
    EXPECT_FALSE(s.Wait(50));
    EXPECT_GE(GetTickCount() - start, 40u);
    EXPECT_TRUE(s.Release());
    EXPECT_TRUE(s.Release());
    EXPECT_TRUE(s.Wait(0));
    EXPECT_TRUE(s.Wait(0));
    EXPECT_FALSE(s.Wait(0));
}

// ---- the lobby's private messages ---------------------------------------------

struct Counted {
    static int alive;
    Counted() { ++alive; }
    ~Counted() { --alive; }
};
int Counted::alive = 0;

HWND MessageWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

TEST(PrivateMessages, AFailedPostOrSendFreesItsPayloadAndADeliveredOneHandsItOver) {
    constexpr OwnedMessage<Counted> kCounted{WM_USER + 77};
    EXPECT_FALSE(PostOwned(nullptr, kCounted, 0, std::make_unique<Counted>()));
    HWND gone = MessageWindow();
    DestroyWindow(gone);
    EXPECT_FALSE(PostOwned(gone, kCounted, 0, std::make_unique<Counted>()));
    EXPECT_EQ(SendOwned(gone, kCounted, 0, std::make_unique<Counted>()), 0);
    EXPECT_EQ(Counted::alive, 0);

    HWND window = MessageWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostOwned(window, kCounted, 5, std::make_unique<Counted>()));
    EXPECT_EQ(Counted::alive, 1) << "the queue holds it";
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, kCounted.id, kCounted.id, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    TakeOwned(kCounted, msg.lParam).reset();
    EXPECT_EQ(Counted::alive, 0);
    DestroyWindow(window);
}

TEST(PrivateMessages, HeapTextsAreCutAndZeroFilledToTheirSize) {
    EXPECT_STREQ(HeapText("room 12").get(), "room 12");
    EXPECT_STREQ(HeapText("").get(), "");
    EXPECT_STREQ(HeapText("123456789", 4).get(), "123");
    std::unique_ptr<char[]> filled = HeapText("12", 8);
    EXPECT_EQ(std::string(filled.get(), 8), std::string("12\0\0\0\0\0\0", 8));
}

}  // namespace
