// The recording control: a COM server for tests, registered by the test under
// any class id. It logs every Invoke to the file named by the environment
// variable MIRABO_RECORDING_LOG, one line each:
//   "<dispid> <flags> [<vt>:<value>][<vt>:<value>]..."   (arguments first to last,
//   vt in hex, VT_BYREF included, the value as text)
// and the line "site" when a host gives it its client site (attaches it).
// An Invoke with a result returns its first argument (or the DISPID as VT_I4).
// DISPID kRecordingFire fires the event whose DISPID is its first argument,
// with the remaining arguments, to every connected sink.
#pragma once

#include <windows.h>

#include <string>

constexpr long kRecordingFire = 0x7000;

// Registers the DLL at dllPath under HKEY_CLASSES_ROOT as clsid and, when
// given, progId (apartment threaded). False when a key cannot be written.
bool RegisterRecordingControl(const CLSID& clsid, const char* progId, const std::string& dllPath);
void UnregisterRecordingControl(const CLSID& clsid, const char* progId);
