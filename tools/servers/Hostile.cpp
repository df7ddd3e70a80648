#include "tools/servers/Hostile.h"

#include <algorithm>

namespace servers {

namespace {

const int kKinds = static_cast<int>(HostileKind::kCount);
const int kFirstEnding = static_cast<int>(HostileKind::kHugeLength);

const char* const kBadValues[] = {
    "",  "abc", "1x", "-", "+-1", "0x7f", "1e9", "3.5", " 7", "-1", "-2", "-32768", "-2147483648",
    "-9223372036854775809", "2147483647", "2147483648", "4294967295", "4294967296", "65536", "32768",
    "99999999999999999999999999", "99", "50", "10", "100000", "NaN", "True", "False", "%s%n%s", "\\",
    "&amp;&lt;", "a&b", "\xC0\xFF", "\xD6\xD0", ",", ",,", "1,2,3,4",
};

// A value escaped so the document stays well formed whatever the bytes;
// control characters become blanks.
std::string Attribute(const std::string& name, const std::string& value) {
    std::string text = " " + name + "=\"";
    for (char c : value) {
        if (c == '"') text += "&quot;";
        else if (c == '<') text += "&lt;";
        else if (c == '>') text += "&gt;";
        else if (c == '&') text += "&amp;";
        else if (static_cast<unsigned char>(c) < 0x20) text += ' ';
        else text += c;
    }
    return text + "\"";
}

// A message document's root and Message start tags.
std::string MessageStart(const HostileMessage& m) {
    return "<GameMessage" + Attribute("game", m.game) + "><Message" + Attribute("name", m.name) + ">";
}

void Put16(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void PutField(std::string& out, const std::string& value) {
    Put16(out, static_cast<int>(std::min<size_t>(value.size(), 32767)));
    out += value.substr(0, 32767);
}

}  // namespace

const char* HostileKindName(HostileKind kind) {
    static const char* const kNames[] = {"random frame", "empty",       "one byte",     "truncated xml",
                                         "unterminated xml", "deep xml", "many attributes", "bad values",
                                         "bad binary",   "unknown code", "field past end", "extreme",
                                         "names apart xml", "huge length",  "raw bytes",   "cut frame"};
    const int i = static_cast<int>(kind);
    return i >= 0 && i < kKinds ? kNames[i] : "?";
}

std::string HostileFrameBytes(int kind, const std::string& payload) {
    std::string frame;
    const size_t n = payload.size();
    for (int i = 0; i < 4; ++i) frame += static_cast<char>((n >> (8 * i)) & 0xFF);
    frame += static_cast<char>(kind);
    return frame + payload;
}

HostileGenerator::HostileGenerator(HostileVocabulary vocabulary, unsigned seed)
    : vocabulary_(std::move(vocabulary)), seed_(seed), random_(seed), weights_(kKinds, 0), endingWeights_(kKinds, 0) {
    for (int k = 0; k < kKinds; ++k) {
        const HostileKind kind = static_cast<HostileKind>(k);
        if (!Drawable(kind) || kind == HostileKind::kNamesApartXml) continue;
        (k < kFirstEnding ? weights_ : endingWeights_)[static_cast<size_t>(k)] = 1;
    }
}

bool HostileGenerator::Drawable(HostileKind kind) const {
    switch (kind) {
    case HostileKind::kDeepXml:
    case HostileKind::kNamesApartXml:
    case HostileKind::kManyAttributes:
    case HostileKind::kBadValues:
    case HostileKind::kBadBinary:
        return !vocabulary_.messages.empty();
    case HostileKind::kExtreme:
        return !vocabulary_.extremes.empty();
    case HostileKind::kCount:
        return false;
    default:
        return true;
    }
}

void HostileGenerator::SetWeight(HostileKind kind, int weight) {
    if (static_cast<int>(kind) < kFirstEnding && (weight <= 0 || Drawable(kind)))
        weights_[static_cast<size_t>(kind)] = std::max(0, weight);
}

void HostileGenerator::SetEndingWeight(HostileKind kind, int weight) {
    if (kind != HostileKind::kCount && (weight <= 0 || Drawable(kind)))
        endingWeights_[static_cast<size_t>(kind)] = std::max(0, weight);
}

int HostileGenerator::FrameKind() {
    static const int kOthers[] = {0, 0, 2, 255};
    return static_cast<int>(Below(100)) < textShare_ ? 1 : kOthers[Below(4)];
}

unsigned HostileGenerator::Below(unsigned n) { return static_cast<unsigned>(random_() % n); }

std::string HostileGenerator::RandomBytes(size_t n) {
    std::string out(n, '\0');
    for (char& c : out) c = static_cast<char>(random_() & 0xFF);
    return out;
}

std::string HostileGenerator::BadValue(bool huge) {
    switch (huge ? Below(8) : 1 + Below(7)) {
    case 0:
        return std::string(1000 + Below(40000), static_cast<char>('0' + Below(10)));  // huge
    case 1:
        return RandomBytes(1 + Below(64));
    default:
        return kBadValues[Below(sizeof kBadValues / sizeof kBadValues[0])];
    }
}

const HostileMessage& HostileGenerator::AnyMessage() {
    return vocabulary_.messages[Below(static_cast<unsigned>(vocabulary_.messages.size()))];
}

std::string HostileGenerator::BadDocument(const HostileMessage& m, bool close) {
    std::string text = "<GameMessage" + Attribute("game", m.game) + "><Message" + Attribute("name", m.name) +
                       Attribute("type", "Response") + ">";
    std::vector<std::string> open;
    for (const HostileElement& e : m.elements) {
        if (Below(8) == 0) continue;  // the element missing
        while (static_cast<int>(open.size()) > e.depth) {
            text += "</" + open.back() + ">";
            open.pop_back();
        }
        const unsigned copies = e.list ? (Below(6) == 0 ? 200 + Below(800) : Below(4)) : 1;
        for (unsigned c = 0; c < copies; ++c) {
            text += "<" + e.name;
            for (const std::string& a : e.attributes) {
                if (Below(6) == 0) continue;  // the attribute missing
                text += Attribute(a, BadValue(copies < 8));  // long lists of short values: the frame stays small
            }
            text += ">";
            if (c + 1 < copies) text += "</" + e.name + ">";
        }
        if (copies > 0) open.push_back(e.name);
    }
    if (!close) return text;
    while (!open.empty()) {
        text += "</" + open.back() + ">";
        open.pop_back();
    }
    return text + "</Message></GameMessage>";
}

int HostileGenerator::UnknownCode() {
    for (int tries = 0; tries < 256; ++tries) {
        const int code = static_cast<int>(Below(256));
        bool known = false;
        for (const MsgCodeEntry& e : vocabulary_.codes) known = known || (e.code & 0xFF) == code;
        if (!known) return code;
    }
    return 0;
}

std::string HostileGenerator::BadBinaryPayload(const HostileMessage& m) {
    int code = -1;
    for (const MsgCodeEntry& e : vocabulary_.codes)
        if (code < 0 && e.name == m.name && e.code != MsgCodeEntry::kUnset) code = e.code & 0xFF;
    std::string out;
    out += '\1';
    out += static_cast<char>(code < 0 ? UnknownCode() : code);
    out += '\1';
    for (const HostileElement& e : m.elements) {
        if (Below(10) == 0) break;  // fields missing from here on
        unsigned copies = 1;
        if (e.list) {
            static const char* const kCounts[] = {"-1", "0", "1", "3", "32767", "100000", "2147483647", "abc", ""};
            const unsigned pick = Below(sizeof kCounts / sizeof kCounts[0]);
            PutField(out, kCounts[pick]);
            copies = Below(4);
        }
        for (unsigned c = 0; c < copies; ++c)
            for (size_t a = 0; a < e.attributes.size(); ++a) PutField(out, BadValue(true));
    }
    if (Below(4) == 0)  // extra fields past the layout
        for (unsigned n = 1 + Below(8); n > 0; --n) PutField(out, BadValue(true));
    return out;
}

HostileFrame HostileGenerator::Make(HostileKind kind) {
    HostileFrame f;
    f.kind = kind;
    switch (kind) {
    case HostileKind::kRandomFrame: {
        const int kind = FrameKind();
        std::string payload = RandomBytes(Below(512));
        if (Below(3) == 0 && !payload.empty()) payload[0] = '<';
        f.bytes = HostileFrameBytes(kind, payload);
        break;
    }
    case HostileKind::kEmpty:
        f.bytes = HostileFrameBytes(FrameKind(), std::string());
        break;
    case HostileKind::kOneByte:
        f.bytes = HostileFrameBytes(FrameKind(), RandomBytes(1));
        break;
    case HostileKind::kTruncatedXml:
    case HostileKind::kUnterminatedXml: {
        std::string text = vocabulary_.messages.empty()
                                ? std::string("<GameMessage game=\"x\"><Message name=\"y\"><a b=\"1\"></a></Message></GameMessage>")
                                : BadDocument(AnyMessage(), kind == HostileKind::kTruncatedXml);
        if (kind == HostileKind::kTruncatedXml) text.resize(Below(static_cast<unsigned>(text.size())));
        f.bytes = HostileFrameBytes(1, text);
        break;
    }
    case HostileKind::kDeepXml: {
        const HostileMessage& m = AnyMessage();
        std::string text = MessageStart(m);
        const std::string element = m.elements.empty() ? std::string("a") : m.elements[0].name;
        for (int i = 0; i < 10000; ++i) text += "<" + element + ">";
        for (int i = 0; i < 10000; ++i) text += "</" + element + ">";
        text += "</Message></GameMessage>";
        f.bytes = HostileFrameBytes(1, text);
        break;
    }
    case HostileKind::kNamesApartXml: {
        // Every closing tag names an element far back: a reader that searches
        // back for it takes time in the square of the depth.
        const HostileMessage& m = AnyMessage();
        std::string text = MessageStart(m);
        for (int i = 0; i < 100000; ++i) text += "<n" + std::to_string(i) + ">";
        for (int i = 99999; i >= 0; --i) text += "</n" + std::to_string(i) + ">";
        text += "</Message></GameMessage>";
        f.bytes = HostileFrameBytes(1, text);
        break;
    }
    case HostileKind::kManyAttributes: {
        const HostileMessage& m = AnyMessage();
        std::string text = MessageStart(m);
        const HostileElement* e = m.elements.empty() ? nullptr : &m.elements[Below(static_cast<unsigned>(m.elements.size()))];
        text += "<" + (e ? e->name : std::string("a"));
        const bool repeated = Below(2) == 0;  // one name 100 000 times, or 100 000 names
        for (int i = 0; i < 100000; ++i) {
            const std::string name = repeated && e && !e->attributes.empty()
                                         ? e->attributes[static_cast<size_t>(i) % e->attributes.size()]
                                         : "a" + std::to_string(i);
            text += Attribute(name, std::to_string(i));
        }
        text += "/></Message></GameMessage>";
        f.bytes = HostileFrameBytes(1, text);
        break;
    }
    case HostileKind::kBadValues:
        f.bytes = HostileFrameBytes(1, BadDocument(AnyMessage(), true));
        break;
    case HostileKind::kBadBinary:
        f.bytes = HostileFrameBytes(0, BadBinaryPayload(AnyMessage()));
        break;
    case HostileKind::kUnknownCode: {
        std::string payload;
        payload += static_cast<char>(Below(3) == 0 ? Below(256) : 1);
        payload += static_cast<char>(UnknownCode());
        payload += '\1';
        for (unsigned n = Below(6); n > 0; --n) PutField(payload, BadValue(true));
        f.bytes = HostileFrameBytes(0, payload);
        break;
    }
    case HostileKind::kFieldPastEnd: {
        std::string payload = vocabulary_.messages.empty() ? std::string("\1\1\1") : BadBinaryPayload(AnyMessage());
        payload.resize(std::max<size_t>(payload.size(), 3));
        static const int kLengths[] = {1, 2, 100, 32767, -1, -32768};
        const int length = kLengths[Below(6)];
        Put16(payload, length);
        payload += RandomBytes(length > 0 ? Below(static_cast<unsigned>(length)) : Below(8));
        if (Below(4) == 0) payload += '\x05';  // half a length
        f.bytes = HostileFrameBytes(0, payload);
        break;
    }
    case HostileKind::kExtreme: {
        const Reply r = vocabulary_.extremes[Below(static_cast<unsigned>(vocabulary_.extremes.size()))]();
        std::string binary;
        if (Below(2) == 0 && r.Binary(vocabulary_.codes, binary))
            f.bytes = HostileFrameBytes(0, binary);
        else
            f.bytes = HostileFrameBytes(1, r.Xml());
        break;
    }
    case HostileKind::kHugeLength: {
        static const unsigned kLengths[] = {0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u, 0x01000001u};
        const unsigned n = kLengths[Below(4)];
        for (int i = 0; i < 4; ++i) f.bytes += static_cast<char>((n >> (8 * i)) & 0xFF);
        f.bytes += static_cast<char>(Below(2));
        f.bytes += RandomBytes(Below(64));
        f.reset = Below(2) == 0;
        break;
    }
    case HostileKind::kRawBytes:
        f.bytes = RandomBytes(1 + Below(4096));
        f.reset = Below(2) == 0;
        break;
    case HostileKind::kCutFrame: {
        const std::string whole =
            vocabulary_.messages.empty() ? HostileFrameBytes(1, RandomBytes(64)) : HostileFrameBytes(1, BadDocument(AnyMessage(), true));
        f.bytes = whole.substr(0, 1 + Below(static_cast<unsigned>(whole.size() - 1)));
        f.reset = true;
        break;
    }
    case HostileKind::kCount:
        break;
    }
    return f;
}

HostileFrame HostileGenerator::Draw(const std::vector<int>& weights) {
    int total = 0;
    for (int w : weights) total += w;
    if (total <= 0) return Make(HostileKind::kEmpty);
    int pick = static_cast<int>(Below(static_cast<unsigned>(total)));
    for (int k = 0; k < kKinds; ++k) {
        pick -= weights[static_cast<size_t>(k)];
        if (pick < 0) return Make(static_cast<HostileKind>(k));
    }
    return Make(HostileKind::kEmpty);
}

HostileFrame HostileGenerator::Next() { return Draw(weights_); }

HostileFrame HostileGenerator::Ending() {
    HostileFrame f = Draw(endingWeights_);
    if (static_cast<int>(f.kind) < kFirstEnding) f.reset = Below(2) == 0;
    return f;
}

}  // namespace servers
