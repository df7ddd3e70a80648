#include "xml/XMLTextReader.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "xml/XMLElement.h"

namespace {

// Codes thrown by SetXmlData.
const int kBadTag = -1;
const int kTagsOpen = 0;

// Index of the first byte among text[start] .. text[start+count] that matches;
// -1 when none does or a NUL comes first.
template <class Match>
int ScanForward(const char* text, int start, int count, Match match) {
    if (start < 0) return -1;
    for (int i = start; i <= start + count; ++i) {
        if (text[i] == '\0') return -1;
        if (match(text[i])) return i;
    }
    return -1;
}

// Bytes of text before its first NUL, at most length.
int Limit(const char* text, int length) {
    const void* nul = length > 0 ? std::memchr(text, '\0', static_cast<std::size_t>(length)) : nullptr;
    return nul ? static_cast<int>(static_cast<const char*>(nul) - text) : length;
}

// Index of the first c among text[first] .. text[last]; -1 when there is none.
// For the long stretches (a whole tag).
int FindFar(const char* text, char c, int first, int last) {
    if (first > last) return -1;
    const void* at = std::memchr(text + first, c, static_cast<std::size_t>(last - first + 1));
    return at ? static_cast<int>(static_cast<const char*>(at) - text) : -1;
}

// The same for short stretches (a name, a value): a plain loop beats a call.
inline int Find(const char* text, char c, int first, int last) {
    for (int i = first; i <= last; ++i)
        if (text[i] == c) return i;
    return -1;
}

// Which scans inside a tag stop at a byte. Each such scan stops, at the latest,
// at a byte it is sure to meet: the tag's ">" or its last quote.
enum : unsigned char {
    kEndsTagName = 1,   // a quote or a blank, or the tag's ">"
    kEndsAttrName = 2,  // "=", or a quote
};
struct StopTable {
    unsigned char of[256];
};
constexpr StopTable MakeStops() {
    StopTable t{};
    t.of[static_cast<unsigned char>('"')] = kEndsTagName | kEndsAttrName;
    t.of[static_cast<unsigned char>(' ')] = kEndsTagName;
    t.of[static_cast<unsigned char>('>')] = kEndsTagName;
    t.of[static_cast<unsigned char>('=')] = kEndsAttrName;
    return t;
}
constexpr StopTable kStops = MakeStops();

// The first byte from p on that stops a scan of this kind.
inline const char* ScanToStop(const char* p, unsigned char kind) {
    while (!(kStops.of[static_cast<unsigned char>(*p)] & kind)) ++p;
    return p;
}

// The first c from p on, known to come.
inline const char* ScanToByte(const char* p, char c) {
    while (*p != c) ++p;
    return p;
}

// Two names of one size: the first byte, then the rest.
inline bool SameBytes(const std::string& a, const std::string& b) {
    return a[0] == b[0] && std::memcmp(a.data(), b.data(), a.size()) == 0;
}

// What one name comparison costs beyond the bytes it compares.
const std::uint64_t kStepCost = 8;

// A look back over fewer elements than this goes uncounted: it costs at most so
// many comparisons of the closing tag's name, which its own start tag holds.
const std::size_t kShortLook = 16;

// What the look-back may have cost when the text has been read up to byte at.
inline std::uint64_t Budget(int at) { return 4096 + 4 * static_cast<std::uint64_t>(at); }

}  // namespace

// The newest element of each name, ordered by name: no choice of names makes
// a lookup cost more than its name's length times the log of their count. A
// key holds a name's first eight bytes as a number, so most comparisons read
// no name; it views the rest in the element's own name.
class XMLTextReader::NameIndex {
public:
    NameIndex(XMLPool& pool, std::uint64_t& spent) : newest_(Less{&spent}, Nodes<Entry>(pool)) {}
    // Puts the elements not put yet, then looks name up.
    XMLElement* Newest(const std::vector<XMLElement*>& elements, const std::string& name) {
        for (; put_ < elements.size(); ++put_) newest_[Key(elements[put_]->name_)] = elements[put_];
        const auto found = newest_.find(Key(name));
        return found == newest_.end() ? nullptr : found->second;
    }

private:
    struct Key {
        explicit Key(const std::string& name) : head(0), size(name.size()), text(name.data()) {
            const std::size_t n = std::min<std::size_t>(size, 8);
            for (std::size_t i = 0; i < n; ++i)
                head |= std::uint64_t(static_cast<unsigned char>(text[i])) << (56 - 8 * i);
        }
        std::uint64_t head;  // big-endian, zero-padded: orders as the bytes do
        std::size_t size;
        const char* text;
    };
    // By head, then size, then the bytes after the head.
    struct Less {
        std::uint64_t* spent;
        bool operator()(const Key& a, const Key& b) const {
            *spent += kStepCost;
            if (a.head != b.head) return a.head < b.head;
            if (a.size != b.size) return a.size < b.size;
            if (a.size <= 8) return false;
            *spent += a.size - 8;
            return std::memcmp(a.text + 8, b.text + 8, a.size - 8) < 0;
        }
    };
    using Entry = std::pair<const Key, XMLElement*>;
    // The map's nodes come from the reader's pool and go with it.
    template <class T>
    struct Nodes {
        using value_type = T;
        explicit Nodes(XMLPool& p) : pool(&p) {}
        template <class U>
        Nodes(const Nodes<U>& other) : pool(other.pool) {}
        T* allocate(std::size_t n) { return static_cast<T*>(pool->Allocate(n * sizeof(T))); }
        void deallocate(T*, std::size_t) {}
        bool operator==(const Nodes& other) const { return pool == other.pool; }
        bool operator!=(const Nodes& other) const { return pool != other.pool; }
        XMLPool* pool;
    };
    std::map<Key, XMLElement*, Less, Nodes<Entry>> newest_;
    std::size_t put_ = 0;
};

XMLTextReader::XMLTextReader() : cursor_(0), state_(kOnElement), root_(nullptr) {}

XMLTextReader::~XMLTextReader() { ClearElements(); }

void XMLTextReader::ClearElements() {
    index_.reset();
    spent_ = 0;
    atCursor_ = nullptr;
    for (XMLElement* e : elements_) e->~XMLElement();
    elements_.clear();
    pool_.Reset();
}

inline std::size_t XMLTextReader::LookBack(const OpenTag& open) const {
    const std::string& name = open.element->name_;
    std::size_t at = elements_.size() - 1;
    for (;; --at) {
        const std::string& other = elements_[at]->name_;
        if (other.size() == name.size() && (at == open.at || SameBytes(other, name))) return at;
    }
}

XMLElement* XMLTextReader::NewestNamed(const XMLElement* like) {
    if (!index_) index_.reset(new NameIndex(pool_, spent_));
    return index_->Newest(elements_, like->name_);
}

// Built into Tessel itself and into static users; importers of the DLL use the
// header's inline twin.
void XMLTextReader::SetXmlData(const char* data, int length) {
    int code = ParseXmlData(data, length);
    if (code != kParsed) throw new int(code);
}

int XMLTextReader::ParseXmlData(const char* data, int length) {
    ClearElements();
    // The cursor goes back to the first element, whatever the parse's end.
    struct CursorAtFirst {
        XMLTextReader& r;
        ~CursorAtFirst() { r.atCursor_ = r.elements_.empty() ? nullptr : r.elements_.front(); }
    } cursorAtFirst{*this};
    if (search_ == kIndexOnly) index_.reset(new NameIndex(pool_, spent_));
    const std::size_t shortLook = search_ == kIndexOnly ? 0 : kShortLook;
    openTags_.clear();
    cursor_ = 0;
    root_ = nullptr;
    if (!data || length < 0) length = 0;

    // Every search ends before position length: bytes beyond it are never read,
    // and a NUL ends the text (no search ever finds what lies past it). Inside a
    // tag, between its "<" and ">", there is no NUL.
    const int limit = Limit(data, length);
    elements_.reserve(static_cast<std::size_t>(limit) / 32 + 1);
    openTags_.reserve(8);
    XMLElement* previous = nullptr;
    int pos = 0;
    while (length >= 1) {
        // The first "<" from pos, with no ">" before it, and the first ">" after it.
        int lt = pos;
        while (lt < limit && data[lt] != '<' && data[lt] != '>') ++lt;
        if (lt >= limit || data[lt] == '>') return kBadTag;
        const int gt = FindFar(data, '>', lt + 1, limit - 1);
        if (gt < 0) return kBadTag;
        int s = lt + 1;
        while (s < gt && data[s] == ' ') ++s;
        if (s >= gt) return kBadTag;  // "<>" or only blanks: no tag text
        if (data[s] == '/') {
            if (openTags_.empty()) return kBadTag;
            // The newest element named like the open one: looked for back to the
            // open one when few elements follow it or the look fits in the budget,
            // else through the index from here on.
            const OpenTag& open = openTags_.back();
            const std::size_t after = elements_.size() - 1 - open.at;
            const std::uint64_t unit = open.element->name_.size() + kStepCost;
            if (after < shortLook) {
                previous = elements_[LookBack(open)];
            } else if (!index_ && (spent_ + after * unit <= Budget(gt) || search_ == kLookBackOnly)) {
                const std::size_t at = LookBack(open);
                spent_ += (elements_.size() - at) * unit;
                previous = elements_[at];
            } else {
                previous = NewestNamed(open.element);
            }
            openTags_.pop_back();
        } else if (data[s] != '?') {
            // T, the tag text, is data[s] .. data[e]; the blanks before ">" are dropped.
            // Between e and gt come only blanks, and data[gt] is ">".
            const int e = static_cast<int>(trim_right(data + gt - 1) - data);
            // The first blank of T, and its last quote when a quote follows the
            // name; -1 for none.
            int blank = -1;
            int lastQuote = -1;
            const int i = static_cast<int>(ScanToStop(data + s, kEndsTagName) - data);
            if (i <= e) {
                lastQuote = e;
                if (data[i] == '"') {
                    blank = Find(data, ' ', i + 1, e);
                    while (data[lastQuote] != '"') --lastQuote;  // stops at i at the latest
                } else {
                    blank = i;
                    while (lastQuote > blank && data[lastQuote] != '"') --lastQuote;
                    if (lastQuote == blank) lastQuote = -1;
                }
            }
            if (lastQuote >= 0) {
                if (blank < 0) return kBadTag;
                XMLElement* element = XMLElement::CreateInPool(pool_, data + s, blank - s);
                InsertNewElement(element);
                LinkNewElement(element, previous);
                previous = element;
                if (data[e] != '/') openTags_.push_back({element, elements_.size() - 1});
                // Each attribute needs an "=" and then two quotes, the last of them
                // lastQuote at the latest; the scans stop there.
                const char* const last = data + lastQuote;
                const char* at = data + blank;
                if (at > last) return kBadTag;  // the quotes all come before the blank
                for (;;) {
                    const char* name = trim_left(at);  // stops at last at the latest
                    const char* eq = ScanToStop(name, kEndsAttrName);
                    while (*eq != '=') {
                        if (eq == last) return kBadTag;
                        eq = ScanToStop(eq + 1, kEndsAttrName);
                    }
                    const char* open = ScanToByte(eq + 1, '"');
                    if (open == last) return kBadTag;
                    const char* close = ScanToByte(open + 1, '"');
                    const char* nameEnd = trim_right(eq - 1);  // at at - 1, a quote or a name byte, at the latest
                    element->AppendInPool(name, nameEnd >= name ? nameEnd - name + 1 : 0, open + 1, close - open - 1);
                    if (close == last) break;
                    at = close + 1;
                }
            } else {
                int slash = Find(data, '/', s, e);
                if (slash < 0) {
                    XMLElement* element = XMLElement::CreateInPool(pool_, data + s, e - s + 1);
                    InsertNewElement(element);
                    LinkNewElement(element, previous);
                    int next = Find(data, '<', gt, limit - 1);
                    if (next > gt + 1) element->SetValue(data + gt + 1, next - gt - 1);
                    previous = element;
                    openTags_.push_back({element, elements_.size() - 1});
                } else {
                    int end = blank >= 0 && blank <= slash ? blank : slash;
                    XMLElement* element = XMLElement::CreateInPool(pool_, data + s, end - s);
                    InsertNewElement(element);
                    LinkNewElement(element, previous);
                    previous = element;
                    if (data[e] != '/') openTags_.push_back({element, elements_.size() - 1});
                }
            }
        }
        if (gt >= length - 1) break;
        pos = gt + 1;
    }
    if (!openTags_.empty()) return kTagsOpen;
    state_ = kBeforeFirst;
    root_ = elements_.empty() ? nullptr : elements_.front();
    return kParsed;
}

void XMLTextReader::LinkNewElement(XMLElement* element, XMLElement* previous) {
    if (!previous || openTags_.empty()) return;
    const XMLElement* open = openTags_.back().element;
    if (previous == open || previous->name_ == open->name_)
        previous->SetFirstChild(element);
    else
        previous->SetNextSibling(element);
}

XMLElement* XMLTextReader::Current() { return state_ == kOnElement || state_ == kOnAttribute ? atCursor_ : nullptr; }

bool XMLTextReader::Read() {
    switch (state_) {
        case kBeforeFirst:
            cursor_ = 0;
            break;
        case kPastLast:
            return false;
        default:
            if (cursor_ < elements_.size()) ++cursor_;
            break;
    }
    if (cursor_ >= elements_.size()) {
        atCursor_ = nullptr;
        state_ = kPastLast;
        return false;
    }
    atCursor_ = elements_[cursor_];
    state_ = kOnElement;
    return true;
}

bool XMLTextReader::HasAttributes() {
    XMLElement* e = Current();
    return e && e->attributeCount_ != 0;
}

bool XMLTextReader::MoveToNextAttribute() {
    XMLElement* e = Current();
    if (!e || !e->firstAttribute_) return false;
    state_ = kOnAttribute;
    return e->AdvanceCursor();
}

const std::string XMLTextReader::Name() {
    const std::string* name = nullptr;
    if (XMLElement* e = Current()) {
        if (state_ == kOnElement)
            name = &e->name_;
        else if (e->current_)
            name = &e->current_->name_;
    }
    return name ? tessel::Copy(*name) : std::string();
}

const std::string XMLTextReader::Value() {
    const std::string* value = nullptr;
    if (XMLElement* e = Current()) {
        if (state_ == kOnElement)
            value = &e->value_;
        else if (e->current_)
            value = &e->current_->value_;
    }
    return value ? tessel::Copy(*value) : std::string();
}

XMLElement* XMLTextReader::GetRoot() { return root_; }

void XMLTextReader::InsertNewElement(XMLElement* element) { elements_.push_back(element); }

int XMLTextReader::find_first_of(const char* text, char c, int start, int count) {
    return ScanForward(text, start, count, [c](char b) { return b == c; });
}

int XMLTextReader::find_first_not_of(const char* text, char c, int start, int count) {
    return ScanForward(text, start, count, [c](char b) { return b != c; });
}

int XMLTextReader::find_last_of(const char* text, char c, int start, int end) {
    for (int i = end; i >= start && i >= 0; --i) {
        if (text[i] == '\0') return -1;
        if (text[i] == c) return i;
    }
    return -1;
}

const char* XMLTextReader::trim_left(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

const char* XMLTextReader::trim_right(const char* p) {
    while (*p == ' ') --p;
    return p;
}
