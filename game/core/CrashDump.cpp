#include "game/core/CrashDump.h"

#include <dbghelp.h>

#include <cstdio>

#include "platform/AppServices.h"
#include "platform/CString.h"

namespace {

typedef BOOL(WINAPI* MiniDumpWriteDumpProc)(HANDLE process, DWORD processId, HANDLE file, MINIDUMP_TYPE type,
                                            PMINIDUMP_EXCEPTION_INFORMATION exception,
                                            PMINIDUMP_USER_STREAM_INFORMATION user,
                                            PMINIDUMP_CALLBACK_INFORMATION callback);

MiniDumpWriteDumpProc LoadDumpWriter(const CString& programPath) {
    const int slash = programPath.ReverseFind('\\');
    if (slash < 0) return nullptr;
    HMODULE dbghelp = ::LoadLibraryA(programPath.Left(slash + 1) + "DBGHELP.dll");
    if (!dbghelp) return nullptr;
    return reinterpret_cast<MiniDumpWriteDumpProc>(
        reinterpret_cast<void*>(::GetProcAddress(dbghelp, "MiniDumpWriteDump")));
}

CString DumpPath(const CString& programPath) {
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    CString stamp;
    stamp.Format("%u_%u_%u_%u_%u_%u.dmp", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    const int dot = programPath.ReverseFind('.');
    return (dot >= 0 ? programPath.Left(dot + 1) : programPath + ".") + stamp;
}

}  // namespace

void InstallCrashDump() {
    ::SetUnhandledExceptionFilter(UnhandledExceptionHandler);
    AfxRaiseUncaughtExceptions();
}

LONG WINAPI UnhandledExceptionHandler(EXCEPTION_POINTERS* exception) {
    char program[MAX_PATH] = "";
    const DWORD n = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    MiniDumpWriteDumpProc writeDump = n > 0 && n < MAX_PATH ? LoadDumpWriter(program) : nullptr;
    // A library without the export is as good as none.
    if (!writeDump) {
        ::MessageBoxA(nullptr, "没有找到Dbghelp.dll", "错误", MB_OK);
        return EXCEPTION_EXECUTE_HANDLER;
    }
    const CString path = DumpPath(program);
    AfxMessageBox(path);
    HANDLE file =
        ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ::MessageBoxA(nullptr, "创建app.dmp文件出错", "错误提示", MB_OK);
        return EXCEPTION_EXECUTE_HANDLER;
    }
    MINIDUMP_EXCEPTION_INFORMATION info;
    info.ThreadId = ::GetCurrentThreadId();
    info.ExceptionPointers = exception;
    info.ClientPointers = FALSE;
    writeDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file, MiniDumpNormal, &info, nullptr, nullptr);
    ::CloseHandle(file);
    AfxMessageBox(AfxGetAppName() + ".exe" + "出现意外即将关闭，对此造成的不便我们深感抱歉！");
    return EXCEPTION_EXECUTE_HANDLER;
}
