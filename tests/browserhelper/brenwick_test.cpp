// Brenwick.dll under Wine: registration by regsvr32 and by hand, its type
// library, and the object in a fake browser: sinking, navigation events,
// the lobby start and the module's lock.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "browserhelper/BrenwickIds.h"
#include "platform/comserver/ComBstr.h"
#include "tests/browserhelper/BrenwickTestKit.h"
#include "tests/support/MessageBoxWatcher.h"

using namespace brenwicktest;

namespace {

const std::string kClsid = "{097F8095-1E75-45BC-BFDB-DED745F01DD9}";
const std::string kAppId = "{A0FCC546-759B-4396-BA57-C7612E8CCA97}";
const std::string kLibId = "{DC1FD8D3-8625-4523-BD15-E0EE245B9C09}";
const std::string kInterface = "{EBBF833F-3399-47C5-82DA-1C758D0789EE}";
const std::string kHelpers = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const std::string kLobbyKey = "SOFTWARE\\MiraboGame";
const std::wstring kLink = L"javascript:tarnelgame_run_client('u,p')";
const char kNoKeyBox[] = "MiraboGame注册表信息读取失败,错误代码:0!";
const char kNoPathBox[] = "MiraboGame注册表信息读取失败,错误代码:1!";

struct Expected {
    HKEY root;
    std::string key;
    const char* name;  // nullptr: the default value
    std::string text;
};

std::vector<Expected> Written(const std::string& module) {
    const std::string cls = "CLSID\\" + kClsid;
    return {
        {HKEY_CLASSES_ROOT, "AppID\\" + kAppId, nullptr, "Brenwick"},
        {HKEY_CLASSES_ROOT, "AppID\\Brenwick.DLL", "AppID", kAppId},
        {HKEY_LOCAL_MACHINE, kHelpers + "\\" + kClsid, nullptr, "BrenwickBHO"},
        {HKEY_CLASSES_ROOT, "Brenwick.IBrenwick.1", nullptr, "IBrenwick Class"},
        {HKEY_CLASSES_ROOT, "Brenwick.IBrenwick.1\\CLSID", nullptr, kClsid},
        {HKEY_CLASSES_ROOT, "Brenwick.IBrenwick", nullptr, "IBrenwick Class"},
        {HKEY_CLASSES_ROOT, "Brenwick.IBrenwick\\CLSID", nullptr, kClsid},
        {HKEY_CLASSES_ROOT, "Brenwick.IBrenwick\\CurVer", nullptr, "Brenwick.IBrenwick.1"},
        {HKEY_CLASSES_ROOT, cls, nullptr, "IBrenwick Class"},
        {HKEY_CLASSES_ROOT, cls, "AppID", kAppId},
        {HKEY_CLASSES_ROOT, cls + "\\ProgID", nullptr, "Brenwick.IBrenwick.1"},
        {HKEY_CLASSES_ROOT, cls + "\\VersionIndependentProgID", nullptr, "Brenwick.IBrenwick"},
        {HKEY_CLASSES_ROOT, cls + "\\InprocServer32", nullptr, module},
        {HKEY_CLASSES_ROOT, cls + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {HKEY_CLASSES_ROOT, cls + "\\TypeLib", nullptr, kLibId},
    };
}

void ExpectRegistered(const std::string& module) {
    for (const Expected& e : Written(module)) {
        std::string value;
        EXPECT_TRUE(ReadString(e.root, e.key, e.name, value)) << e.key << " " << (e.name ? e.name : "(default)");
        EXPECT_EQ(value, e.text) << e.key;
    }
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + kClsid + "\\Programmable"));
    DWORD noExplorer = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kHelpers + "\\" + kClsid, "NoExplorer", noExplorer));
    EXPECT_EQ(noExplorer, 1u);
    std::string library;
    const std::string platform = sizeof(void*) == 8 ? "win64" : "win32";
    EXPECT_TRUE(ReadString(HKEY_CLASSES_ROOT, "TypeLib\\" + kLibId + "\\1.0\\0\\" + platform, nullptr, library));
    EXPECT_EQ(library, module);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Interface\\" + kInterface));
}

void ExpectUnregistered() {
    for (const Expected& e : Written("")) EXPECT_FALSE(KeyExists(e.root, e.key)) << e.key;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + kLibId));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Interface\\" + kInterface));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "AppID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kHelpers));
}

TEST(BrenwickRegistration, Regsvr32WritesEveryKeyAndRemovesThem) {
    BrenwickDll dll;
    ASSERT_TRUE(dll.module);
    const std::string regsvr = "regsvr32.exe /s ";
    ASSERT_EQ(RunProgram(regsvr + "\"" + dll.path + "\""), 0);
    ExpectRegistered(dll.path);

    // The class is creatable by its ProgID.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    CLSID clsid = {};
    EXPECT_EQ(CLSIDFromProgID(L"Brenwick.IBrenwick", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_IBrenwick));
    IObjectWithSite* object = nullptr;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                               reinterpret_cast<void**>(&object)), S_OK);
    if (object) object->Release();
    CoUninitialize();

    ASSERT_EQ(RunProgram(regsvr + "/u \"" + dll.path + "\""), 0);
    ExpectUnregistered();
    ASSERT_EQ(RunProgram(regsvr + "\"" + dll.path + "\""), 0);
    ExpectRegistered(dll.path);
    ASSERT_EQ(RunProgram(regsvr + "/u \"" + dll.path + "\""), 0);
    ExpectUnregistered();
}

TEST(BrenwickRegistration, ByHandKeepsTheThreadLocaleAndForceRemoves) {
    BrenwickDll dll;
    ASSERT_TRUE(dll.module);
    // A stale helper key is replaced whole; a key the class script shares with
    // someone else's value stays after unregistration.
    HKEY stale = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kHelpers + "\\" + kClsid + "\\stale").c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &stale, nullptr), ERROR_SUCCESS);
    RegCloseKey(stale);

    const LCID locale = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
    ASSERT_TRUE(SetThreadLocale(locale));
    EXPECT_EQ(dll.registerServer(), S_OK);
    EXPECT_EQ(GetThreadLocale(), locale);
    ExpectRegistered(dll.path);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kHelpers + "\\" + kClsid + "\\stale"));

    HKEY progId = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "Brenwick.IBrenwick", 0, KEY_WRITE, &progId), ERROR_SUCCESS);
    RegSetValueExA(progId, "Other", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(progId);

    EXPECT_EQ(dll.unregisterServer(), S_OK);
    EXPECT_EQ(GetThreadLocale(), locale);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + kClsid));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Brenwick.IBrenwick\\CLSID"));
    std::string other;
    EXPECT_TRUE(ReadString(HKEY_CLASSES_ROOT, "Brenwick.IBrenwick", "Other", other));
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Brenwick.IBrenwick");
    ExpectUnregistered();
}

TEST(BrenwickTypeLib, DualInterfaceOnIDispatch) {
    BrenwickDll dll;
    const std::wstring path(dll.path.begin(), dll.path.end());
    ITypeLib* library = nullptr;
    ASSERT_EQ(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library), S_OK);
    ComBstr name;
    library->GetDocumentation(-1, name.Put(), nullptr, nullptr, nullptr);
    EXPECT_STREQ(name.Get(), L"BrenwickLib");

    ITypeInfo* dispatch = nullptr;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IIBrenwick, &dispatch), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(dispatch->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
    dispatch->ReleaseTypeAttr(attr);
    // Its base, through the imported stdole2 library.
    HREFTYPE ref = 0;
    ITypeInfo* base = nullptr;
    ASSERT_EQ(dispatch->GetRefTypeOfImplType(0, &ref), S_OK);
    ASSERT_EQ(dispatch->GetRefTypeInfo(ref, &base), S_OK);
    base->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr);
    EXPECT_STREQ(name.Get(), L"IDispatch");
    base->Release();
    dispatch->Release();

    ITypeInfo* coclass = nullptr;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_IBrenwick, &coclass), S_OK);
    coclass->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr);
    EXPECT_STREQ(name.Get(), L"IBrenwick");
    coclass->Release();
    library->Release();
}

class BrenwickObject : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dll.module);
        ASSERT_EQ(dll.canUnloadNow(), S_OK);
        IClassFactory* factory = nullptr;
        ASSERT_EQ(dll.getClassObject(CLSID_IBrenwick, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IObjectWithSite, reinterpret_cast<void**>(&object)), S_OK);
        factory->Release();
        EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
    }
    void TearDown() override {
        if (!object) return;
        object->SetSite(nullptr);  // the browser lets go of the sink
        object->Release();
        EXPECT_EQ(dll.canUnloadNow(), S_OK);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kLobbyKey.c_str());
    }
    // Sets the fake browser as the site and hands back the sink it was given.
    IDispatch* Sink() {
        EXPECT_EQ(object->SetSite(&browser), S_OK);
        EXPECT_EQ(browser.point.advises, 1);
        return browser.point.sink;
    }

    BrenwickDll dll;
    IObjectWithSite* object = nullptr;
    FakeBrowser browser;
};

TEST_F(BrenwickObject, SinksTheBrowserAndLetsGoOnSetSiteNull) {
    IDispatch* sink = Sink();
    ASSERT_NE(sink, nullptr);
    void* site = nullptr;
    EXPECT_EQ(object->GetSite(IID_IUnknown, &site), E_FAIL);
    UINT count = 0;
    EXPECT_EQ(sink->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComBstr unknownName(L"NoSuchMember");
    LPOLESTR names[] = {unknownName.Get()};
    DISPID member = 0;
    EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, names, 1, 0, &member), DISP_E_UNKNOWNNAME);  // typeinfo found
    EXPECT_EQ(browser.refs, 2u);  // the test's and the object's

    EXPECT_EQ(object->SetSite(nullptr), S_OK);
    EXPECT_EQ(browser.point.unadvised, std::vector<DWORD>{0x5EED0001u});
    EXPECT_EQ(browser.refs, 1u);
    EXPECT_EQ(browser.point.refs, 0u);

    // A site that is no browser: nothing is sunk.
    browser.isBrowser = false;
    EXPECT_EQ(object->SetSite(&browser), S_OK);
    EXPECT_EQ(browser.point.advises, 1);
    EXPECT_EQ(browser.refs, 1u);
}

TEST_F(BrenwickObject, FailingAdviseIsReportedOnce) {
    testsupport::MessageBoxWatcher boxes;
    browser.point.adviseResult = CONNECT_E_ADVISELIMIT;
    EXPECT_EQ(object->SetSite(&browser), S_OK);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Failure sinking events from IWebBrowser2"});
    EXPECT_EQ(object->SetSite(nullptr), S_OK);
    EXPECT_TRUE(browser.point.unadvised.empty());
    EXPECT_EQ(browser.refs, 1u);
}

TEST_F(BrenwickObject, OrdinaryAndMalformedEventsAreLetThrough) {
    IDispatch* sink = Sink();
    ASSERT_NE(sink, nullptr);
    EXPECT_EQ(sink->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);

    NavigateEvent plain(L"http://127.0.0.1/page.htm");
    EXPECT_EQ(sink->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &plain.params, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(plain.cancel, VARIANT_FALSE);

    // None of these may be read, cancelled or started from.
    NavigateEvent other(kLink), shortEvent(kLink), urlByValue(kLink), cancelMistyped(kLink), noUrlRef(kLink);
    EXPECT_EQ(sink->Invoke(259, IID_NULL, 0, DISPATCH_METHOD, &other.params, nullptr, nullptr, nullptr), S_OK);
    shortEvent.params.cArgs = 6;
    V_VT(&urlByValue.args[5]) = VT_BSTR;
    V_BSTR(&urlByValue.args[5]) = nullptr;
    V_VT(&cancelMistyped.args[0]) = VT_BYREF | VT_I4;
    V_VARIANTREF(&noUrlRef.args[5]) = nullptr;
    for (NavigateEvent* e : {&shortEvent, &urlByValue, &cancelMistyped, &noUrlRef}) {
        EXPECT_EQ(sink->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &e->params, nullptr, nullptr, nullptr), S_OK);
    }
    for (NavigateEvent* e : {&other, &shortEvent, &urlByValue, &cancelMistyped, &noUrlRef}) {
        EXPECT_EQ(e->cancel, VARIANT_FALSE);
    }
}

TEST_F(BrenwickObject, MissingKeyOrPathShowsABoxAndCancels) {
    IDispatch* sink = Sink();
    ASSERT_NE(sink, nullptr);
    testsupport::MessageBoxWatcher boxes;
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kLobbyKey.c_str());
    NavigateEvent noKey(kLink);
    EXPECT_EQ(sink->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &noKey.params, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(noKey.cancel, VARIANT_TRUE);

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kLobbyKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    NavigateEvent noPath(kLink);
    EXPECT_EQ(sink->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &noPath.params, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(noPath.cancel, VARIANT_TRUE);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kNoKeyBox, kNoPathBox}));
}

TEST_F(BrenwickObject, StartLinkStartsTheLobbyInItsFolderAndBadTailsStartNothing) {
    IDispatch* sink = Sink();
    ASSERT_NE(sink, nullptr);
    // The stand-in lobby in a folder of its own, not the test's working folder.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "brenwick lobby " + std::to_string(GetCurrentProcessId());
    const std::string lobby = folder + "\\MiraboGame.exe", record = folder + "\\record.txt";
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA(record.c_str());
    ASSERT_TRUE(CopyFileA("brenwick_lobby_standin.exe", lobby.c_str(), FALSE));
    SetEnvironmentVariableA("MIRABO_STANDIN_RECORD", record.c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kLobbyKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(lobby.c_str()),
                   static_cast<DWORD>(lobby.size() + 1));
    RegCloseKey(key);

    // Refused first: were they started, the record would hold them ahead of the good one.
    NavigateEvent huge(L"http://x/" + std::wstring(L"javascript:tarnelgame_run_client('") +
                       std::wstring(100 * 1024, L'u') + L"',p')");
    NavigateEvent lineFeed(L"javascript:tarnelgame_run_client('u\n,p')");
    NavigateEvent good(L"http://127.0.0.1/start.htm#" + kLink);
    for (NavigateEvent* e : {&huge, &lineFeed, &good}) {
        EXPECT_EQ(sink->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &e->params, nullptr, nullptr, nullptr), S_OK);
        EXPECT_EQ(e->cancel, VARIANT_TRUE);
    }
    const std::string expected = "javascript:tarnelgame_run_client('u,p')\n" + folder + "\n";
    std::string text;
    for (DWORD end = GetTickCount() + 20000; GetTickCount() < end && text.size() < expected.size(); Sleep(50)) {
        text = ReadFileText(record);
    }
    EXPECT_EQ(text, expected);
}

TEST(BrenwickModule, LockServerHoldsTheModule) {
    BrenwickDll dll;
    ASSERT_TRUE(dll.module);
    IClassFactory* factory = nullptr;
    EXPECT_EQ(dll.getClassObject(IID_IIBrenwick, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(dll.getClassObject(CLSID_IBrenwick, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(factory->CreateInstance(factory, IID_IUnknown, reinterpret_cast<void**>(&unknown)), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
    ASSERT_EQ(dll.getClassObject(CLSID_IBrenwick, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

}  // namespace
