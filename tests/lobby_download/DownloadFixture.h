// What the application-download tests share: the archives of make_archives.sh,
// fresh destination folders, the fake servers, a run of one download that
// records the events a window receives, and a watcher that answers message boxes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/support/HttpResponder.h"
#include "tests/support/MessageBoxWatcher.h"

namespace downloadtest {

using Events = std::vector<std::pair<int, int>>;  // (wParam, lParam) of each event

// Full path of a file made by make_archives.sh.
std::string DataPath(const std::string& name);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);
// An empty folder below the working folder, full path; made anew each call.
std::string FreshFolder(const std::string& name);

std::string HttpUrl(unsigned short port, const std::string& path);
// HTTP: "/<name>" from the data folder, anything missing as 404.
testsupport::LoopbackServer::Handler ServeArchives();
// Application server: reads the request frame, then sends the blocks 50 ms apart.
testsupport::LoopbackServer::Handler Answer(std::vector<std::string> blocks);
// The lobby frame of an AppInfo answer naming the target file and the url.
std::string AppInfo(const std::string& target, const std::string& url);

// Runs one download until an event ends it (3, 4, or 6 with 0) or the time runs
// out, and a little longer: every event the notify window received.
Events Download(unsigned short appPort, const std::string& folder, int unpack, int timeoutMs = 20000);

// A download of package.zip with unpacking, where the unzip library cannot be
// used: it fails (4, 1), never reports success, and leaves the package packed.
void ExpectThePackageKeptPacked(const std::string& folderName);

using testsupport::MessageBoxWatcher;

}  // namespace downloadtest
