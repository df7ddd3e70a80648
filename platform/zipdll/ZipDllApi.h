// The contract of ZIPDLL.DLL and UNZDLL.DLL, which the lobby loads by name:
//   int __stdcall GetZipDllVersion(void);        int __stdcall GetUnzDllVersion(void);
//   int __stdcall ZipDllExec(ZipDllParams*);     int __stdcall UnzDllExec(ZipDllParams*);
// Both Exec calls work relative to the current directory and return the number
// of errors (0 when everything went well); each error is also reported. Unzip
// recreates the entries' folders and replaces files that exist; zip goes into
// matching folders and replaces an archive that exists.
// The layout is 32-bit: the offsets in the comments are fixed.
#pragma once

#include <stdint.h>

#define ZIPDLL_CALL __stdcall

// What both libraries answer to Get...Version, and what a parameter block must carry.
enum { kZipDllVersion = 100 };

// Error words of a report.
enum ZipDllError {
    kZipOk = 0,
    kZipErrorParams = 1,       // no block, wrong version, no archive path
    kZipErrorOpen = 2,         // the archive cannot be opened, read or written
    kZipErrorFormat = 3,       // not a zip archive, or its directory is damaged
    kZipErrorUnsupported = 4,  // encrypted, spanned, zip64 or an unknown method
    kZipErrorData = 5,         // compressed data or checksum wrong
    kZipErrorUnsafeName = 6,   // a name that would land outside the current folder
    kZipErrorCreate = 7,       // a file or folder cannot be created
    kZipErrorWrite = 8,        // writing a file failed
    kZipErrorRead = 9,         // a file to be zipped cannot be read
};

// Bit of ZipDllParams::reportMask: errors go to the callback.
enum { kZipReportErrors = 1 };

struct ZipDllReport {
    int32_t size;          //  0 sizeof(ZipDllReport)
    void* caller;          //  4 ZipDllParams::caller
    int32_t entry;         //  8 1-based number of the entry or file, 0 for the archive itself
    int32_t reserved1[2];  // 12
    int32_t error;         // 20 a ZipDllError
    int32_t reserved2;     // 24
    char text[520];        // 28 what happened and to which name, zero-terminated, GBK
};

typedef int(ZIPDLL_CALL* ZipDllReportProc)(const ZipDllReport* report);

struct ZipDllParams {
    void* window;             //  0 the caller's window (not used)
    void* caller;             //  4 handed back in every report
    int32_t version;          //  8 kZipDllVersion, from Get...Version
    ZipDllReportProc report;  // 12 may be null
    int32_t reserved[10];     // 16..55, zero
    int32_t option1;          // 56 1 (no other value is used)
    int32_t option2;          // 60 1 (no other value is used)
    int32_t patternCount;        // 64 number of file patterns; 0 means every entry (unzip)
    char* archive;            // 68 path of the zip file
    int32_t reportMask;       // 72 kZipReportErrors (the lobby passes 7)
    char* patterns[1];           // 76 the first of patternCount file patterns ("*.*", "image\*.png")
};

typedef int(ZIPDLL_CALL* ZipDllVersionProc)(void);
typedef int(ZIPDLL_CALL* ZipDllExecProc)(ZipDllParams* params);

#if defined(_WIN32) && !defined(_WIN64)
#include <stddef.h>
static_assert(offsetof(ZipDllParams, version) == 8 && offsetof(ZipDllParams, report) == 12, "block layout");
static_assert(offsetof(ZipDllParams, option1) == 56 && offsetof(ZipDllParams, patternCount) == 64, "block layout");
static_assert(offsetof(ZipDllParams, archive) == 68 && offsetof(ZipDllParams, reportMask) == 72, "block layout");
static_assert(offsetof(ZipDllParams, patterns) == 76, "block layout");
static_assert(offsetof(ZipDllReport, error) == 20 && offsetof(ZipDllReport, text) == 28, "report layout");
#endif
