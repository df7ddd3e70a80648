// What a server does besides answering: faults on the frames it sends and
// extra messages. One directive a line; blank lines and lines starting with #
// are skipped. A directive may start with @K to apply to the K-th accepted
// connection only (1 = the first); N counts the frames the server sent on that
// connection, from 1.
//
//   drop N            close the connection after sending frame N
//   reset N           reset the connection after sending frame N
//   truncate N        send frame N's header and half its payload, then close
//   malformed N       send a text frame that is no message document instead of frame N
//   delay N MS        wait MS milliseconds before sending frame N
//   after NAME TEXT   once a request NAME was answered, send TEXT as a text frame
//   drop after NAME [MS]   once a request NAME was answered (and its extra texts
//   reset after NAME [MS]  sent), wait MS milliseconds (0), then close or reset
#pragma once

#include <string>
#include <vector>

namespace servers {

enum class FaultKind { kDrop, kReset, kTruncate, kMalformed, kDelay };

struct Fault {
    FaultKind kind;
    int connection;  // 0: every connection
    int frame;        // 0: after a request instead
    int ms;
    std::string request;
};

struct Extra {
    int connection;
    std::string request;
    std::string text;
};

class Script {
public:
    // False, with the line's number and text in error, at the first line it
    // does not understand; the script is then left as it was.
    bool Parse(const std::string& text, std::string* error = nullptr);
    void Add(const Fault& fault) { faults_.push_back(fault); }
    void Add(const Extra& extra) { extras_.push_back(extra); }

    // The faults for frame N of connection K (K and N from 1).
    std::vector<Fault> FaultsFor(int connection, int frame) const;
    // The drops and resets due once request `name` was answered on connection K.
    std::vector<Fault> FaultsAfter(int connection, const std::string& name) const;
    // The texts to send once request `name` was answered on connection K.
    std::vector<std::string> ExtrasAfter(int connection, const std::string& name) const;
    bool Empty() const { return faults_.empty() && extras_.empty(); }

    // A frame that no reader takes for a message document.
    static const char kMalformedText[];

private:
    std::vector<Fault> faults_;
    std::vector<Extra> extras_;
};

}  // namespace servers
