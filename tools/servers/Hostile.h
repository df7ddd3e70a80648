// Hostile frames for proving that a client survives a bad server. A generator,
// seeded and repeatable, draws frames from a vocabulary each server gives (the
// messages it knows with their fields, its binary code table, and extreme
// messages of its own protocol):
//
//   servers::HostileGenerator hostile(servers::LobbyVocabulary(), seed);
//   for (int i = 0; i < 5000; ++i) send(hostile.Next().bytes);   // the stream stays in step
//   send(hostile.Ending().bytes), then reset the connection;   // the stream is lost
//
// Next() never breaks the framing: each frame is whole, its header announcing
// exactly its payload, so the client reads the frames after it. Ending() gives
// the last frame of a connection, by default one that breaks the framing (huge
// announced lengths, raw bytes, a frame cut short); the connection must end
// after it (HostileFrame::reset says how).
//
// A server goes hostile with HostOptions::hostile (ServerHost.h): once the
// request `after` was answered on a connection, it sends `frames` frames of
// Next() with the probe's well-formed messages between them, then Ending()
// when `ending` is set, on the first `connections` connections that get there.
// Requests that come in meanwhile are answered between the frames.
#pragma once

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "lobby/net/binary/MsgCodeEntry.h"
#include "tools/servers/Reply.h"

namespace servers {

// One element of a message: its attributes, its depth under Message (0: a
// child of Message) and whether it repeats as a list (the binary form then
// puts a count before the run).
struct HostileElement {
    std::string name;
    std::vector<std::string> attributes;
    int depth = 0;
    bool list = false;
};

inline HostileElement Element(const char* name, std::vector<std::string> attributes, int depth = 0,
                              bool list = false) {
    return HostileElement{name, std::move(attributes), depth, list};
}

struct HostileMessage {
    std::string game;  // the root's game attribute
    std::string name;  // the Message's name
    std::vector<HostileElement> elements;
};

struct HostileVocabulary {
    std::vector<HostileMessage> messages;
    MsgCodeTable codes;
    // The protocol's own extremes (a list of 100 000 entries, ids out of range):
    // built when drawn, sent in either form.
    std::vector<std::function<Reply()>> extremes;
};

enum class HostileKind {
    kRandomFrame,     // a whole frame of random bytes (kind byte 0, 1, 2 or 255)
    kEmpty,           // a frame announcing 0 bytes
    kOneByte,         // a frame announcing 1 byte
    kTruncatedXml,    // a message document cut short
    kUnterminatedXml, // elements opened and never closed
    kDeepXml,         // a known message 10 000 elements deep
    kManyAttributes,  // an element with 100 000 attributes
    kBadValues,       // a known message with missing, empty, non-numeric, negative or huge values
    kBadBinary,       // the same in the binary form, with wrong counts
    kUnknownCode,     // the binary form with a code the table does not have
    kFieldPastEnd,    // the binary form with a field length past the end (or negative)
    kExtreme,         // one of the vocabulary's extremes
    kNamesApartXml,   // a known message 100 000 elements deep, all named apart (weight 0 at first)
    // Ending() only: the stream is lost after these.
    kHugeLength,      // a header announcing 2^31-1 or 2^32-1 bytes
    kRawBytes,        // random bytes with no framing
    kCutFrame,        // a frame's header and part of its payload, then a reset
    kCount
};
const char* HostileKindName(HostileKind kind);

struct HostileFrame {
    HostileKind kind = HostileKind::kRandomFrame;
    std::string bytes;   // as they go on the wire, frame header included
    bool reset = false;  // Ending(): reset (true) or close (false) once sent
};

class HostileGenerator {
public:
    HostileGenerator(HostileVocabulary vocabulary, unsigned seed);

    // Relative weights of the kinds Next() draws (all 1 at first but those
    // that break the framing and the names apart, a large parse each; 0 leaves
    // a kind out), and of those Ending() draws
    // (at first only the three that break it). Named messages cost a client
    // more than frames dropped whole.
    void SetWeight(HostileKind kind, int weight);
    void SetEndingWeight(HostileKind kind, int weight);
    // The share, in percent, of text frames (kind 1) among the random, empty
    // and one-byte frames (50 at first): a client may end its connection on
    // a text that is no document.
    void SetTextShare(int percent) { textShare_ = percent; }

    HostileFrame Next();
    HostileFrame Ending();
    unsigned Seed() const { return seed_; }
    const HostileVocabulary& Vocabulary() const { return vocabulary_; }

    // The pieces, for tests of a single kind.
    HostileFrame Make(HostileKind kind);

private:
    unsigned Below(unsigned n);  // 0..n-1 (n > 0), the same on every platform
    std::string RandomBytes(size_t n);
    std::string BadValue(bool huge);  // huge: it may be tens of kilobytes long
    int FrameKind();  // 1 (text) by the text share, else 0, 2 or 255
    HostileFrame Draw(const std::vector<int>& weights);
    bool Drawable(HostileKind kind) const;
    const HostileMessage& AnyMessage();
    std::string BadDocument(const HostileMessage& m, bool close);
    std::string BadBinaryPayload(const HostileMessage& m);
    int UnknownCode();

    HostileVocabulary vocabulary_;
    unsigned seed_;
    std::mt19937 random_;
    std::vector<int> weights_;
    std::vector<int> endingWeights_;
    int textShare_ = 50;
};

// The bytes of one frame: 4-byte little-endian length, kind byte, payload.
std::string HostileFrameBytes(int kind, const std::string& payload);

// A server's hostile run (see the top of this file).
struct HostilePlan {
    std::shared_ptr<const HostileVocabulary> vocabulary;  // null: never hostile
    unsigned seed = 1;
    std::string after;      // request name whose answer starts the run
    int frames = 0;         // Next() frames per connection
    int connections = 1;    // how many connections go hostile
    bool ending = false;    // Ending() after the frames (the client then reconnects)
    int probeEvery = 0;     // a probe after every N frames (0: none)
    // The n-th well-formed message (from 1) put between the bad ones.
    std::function<Reply(int n)> probe;
    // Polled before the n-th probe, requests answered meanwhile, until it
    // holds or for 20 s at most: keeps the run no further ahead of the client
    // than it can take.
    std::function<bool(int n)> probeWhen;
    // Adjusts each connection's generator (weights).
    std::function<void(HostileGenerator&)> tune;
    // Polled before the Ending() frame, requests answered meanwhile, until it
    // holds or for 60 s at most: e.g. until the client has handled what it was
    // sent (a lost connection may drop what the client has queued).
    std::function<bool()> endWhen;
    // Called on the connection's thread right before the Ending() frame.
    std::function<void()> beforeEnding;
};

}  // namespace servers
