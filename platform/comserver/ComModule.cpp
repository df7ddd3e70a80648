#include "platform/comserver/ComModule.h"

namespace {

HINSTANCE g_instance = nullptr;
std::string g_path;
std::wstring g_pathW;
volatile LONG g_locks = 0;

}  // namespace

bool ComModule::Init(HINSTANCE instance) {
    char path[MAX_PATH * 2];
    wchar_t pathW[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameA(instance, path, sizeof path);
    const DWORD nW = GetModuleFileNameW(instance, pathW, sizeof pathW / sizeof pathW[0]);
    if (n == 0 || n >= sizeof path || nW == 0 || nW >= sizeof pathW / sizeof pathW[0]) return false;
    g_instance = instance;
    g_path.assign(path, n);
    g_pathW.assign(pathW, nW);
    return true;
}

HINSTANCE ComModule::Instance() { return g_instance; }
const std::string& ComModule::Path() { return g_path; }
const std::wstring& ComModule::PathW() { return g_pathW; }
LONG ComModule::Lock() { return InterlockedIncrement(&g_locks); }
LONG ComModule::Unlock() { return InterlockedDecrement(&g_locks); }
HRESULT ComModule::CanUnloadNow() { return g_locks == 0 ? S_OK : S_FALSE; }
