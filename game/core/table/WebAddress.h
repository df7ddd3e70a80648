// Whether a server-given address may be opened with the shell: only http://
// and https:// addresses are, so that no program or file named by the server
// is started.
#pragma once

#include <string>

inline bool IsWebAddress(const std::string& url) {
    return url.compare(0, 7, "http://") == 0 || url.compare(0, 8, "https://") == 0;
}
