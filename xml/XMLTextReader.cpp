#include "xml/XMLTextReader.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

#include "xml/XMLElement.h"

namespace {

enum State { kBeforeFirst = 0, kOnElement = 1, kOnAttribute = 2, kPastLast = 3 };
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

}  // namespace

// The newest element of each name; the keys view the elements' own names.
class XMLTextReader::NameIndex {
public:
    explicit NameIndex(const std::vector<XMLElement*>& elements) {
        newest_.reserve(elements.capacity());
        for (XMLElement* e : elements) Put(e);
    }
    XMLElement* Newest(const std::string& name) const {
        const auto found = newest_.find(name);
        return found == newest_.end() ? nullptr : found->second;
    }
    void Put(XMLElement* element) { newest_[element->name_] = element; }

private:
    std::unordered_map<std::string_view, XMLElement*> newest_;
};

XMLTextReader::XMLTextReader() : cursor_(0), state_(kOnElement), root_(nullptr) {}

XMLTextReader::~XMLTextReader() { ClearElements(); }

void XMLTextReader::ClearElements() {
    index_.reset();
    scanned_ = 0;
    for (XMLElement* e : elements_) e->~XMLElement();
    elements_.clear();
    pool_.Reset();
}

XMLElement* XMLTextReader::NewestNamed(const XMLElement* like) {
    const std::string& name = like->name_;
    if (!index_) {
        const std::size_t budget = 2 * elements_.size() + 64;
        std::size_t steps = 0;
        for (auto it = elements_.rbegin(); it != elements_.rend() && scanned_ + steps < budget; ++it, ++steps) {
            if ((*it)->name_ == name) {
                scanned_ += steps + 1;
                return *it;
            }
        }
        scanned_ += steps;
        if (steps == elements_.size()) return nullptr;
        index_.reset(new NameIndex(elements_));
    }
    return index_->Newest(name);
}

// Built into Tessel itself and into static users; importers of the DLL use the
// header's inline twin.
void XMLTextReader::SetXmlData(const char* data, int length) {
    int code = ParseXmlData(data, length);
    if (code != kParsed) throw new int(code);
}

int XMLTextReader::ParseXmlData(const char* data, int length) {
    const int code = ParseText(data, length);
    index_.reset();  // only the parse asks it
    return code;
}

int XMLTextReader::ParseText(const char* data, int length) {
    ClearElements();
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
        const int lt = Find(data, '<', pos, limit - 1);
        if (lt < 0 || Find(data, '>', pos, lt - 1) >= 0) return kBadTag;
        const int gt = FindFar(data, '>', lt + 1, limit - 1);
        if (gt < 0) return kBadTag;
        int s = lt + 1;
        while (s < gt && data[s] == ' ') ++s;
        if (s >= gt) return kBadTag;  // "<>" or only blanks: no tag text
        if (data[s] != '?') {
            // T, the tag text, is data[s] .. data[e]; the blanks before ">" are dropped.
            int e = static_cast<int>(trim_right(data + gt - 1) - data);
            // The first quote and the first blank of T, in one pass.
            int quote = -1;
            int blank = -1;
            int i = s;
            while (i <= e && data[i] != '"' && data[i] != ' ') ++i;
            if (i <= e) {
                if (data[i] == '"') {
                    quote = i;
                    blank = Find(data, ' ', i + 1, e);
                } else {
                    blank = i;
                    quote = Find(data, '"', i + 1, e);
                }
            }
            if (data[s] == '/') {
                if (openTags_.empty()) return kBadTag;
                if (XMLElement* newest = NewestNamed(openTags_.back())) previous = newest;
                openTags_.pop_back();
            } else if (quote >= 0) {
                if (blank < 0) return kBadTag;
                XMLElement* element = XMLElement::CreateNewElement(pool_, data + s, blank - s);
                InsertNewElement(element);
                LinkNewElement(element, previous);
                previous = element;
                if (data[e] != '/') openTags_.push_back(element);
                int lastQuote = e;
                while (data[lastQuote] != '"') --lastQuote;  // stops at quote at the latest
                int at = blank;
                for (;;) {
                    int eq = Find(data, '=', at, e);
                    if (eq < 0) return kBadTag;
                    int nameStart = static_cast<int>(trim_left(data + at) - data);
                    int nameEnd = static_cast<int>(trim_right(data + eq - 1) - data);
                    int open = Find(data, '"', eq + 1, e);
                    int close = open < 0 ? -1 : Find(data, '"', open + 1, e);
                    if (close < 0) return kBadTag;
                    std::size_t nameLength = nameEnd >= nameStart ? nameEnd - nameStart + 1 : 0;
                    element->AppendAttribute(data + nameStart, nameLength, data + open + 1, close - open - 1);
                    if (close == lastQuote) break;
                    at = close + 1;
                }
            } else {
                int slash = Find(data, '/', s, e);
                if (slash < 0) {
                    XMLElement* element = XMLElement::CreateNewElement(pool_, data + s, e - s + 1);
                    InsertNewElement(element);
                    LinkNewElement(element, previous);
                    int next = Find(data, '<', gt, limit - 1);
                    if (next > gt + 1) element->SetValue(data + gt + 1, next - gt - 1);
                    previous = element;
                    openTags_.push_back(element);
                } else {
                    int end = blank >= 0 && blank <= slash ? blank : slash;
                    XMLElement* element = XMLElement::CreateNewElement(pool_, data + s, end - s);
                    InsertNewElement(element);
                    LinkNewElement(element, previous);
                    previous = element;
                    if (data[e] != '/') openTags_.push_back(element);
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
    const XMLElement* open = openTags_.back();
    if (previous == open || previous->name_ == open->name_)
        previous->SetFirstChild(element);
    else
        previous->SetNextSibling(element);
}

XMLElement* XMLTextReader::Current() {
    if (state_ != kOnElement && state_ != kOnAttribute) return nullptr;
    return cursor_ < elements_.size() ? elements_[cursor_] : nullptr;
}

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
        state_ = kPastLast;
        return false;
    }
    state_ = kOnElement;
    return true;
}

bool XMLTextReader::HasAttributes() {
    XMLElement* e = Current();
    return e && e->attributeCount_ != 0;
}

bool XMLTextReader::MoveToNextAttribute() {
    XMLElement* e = Current();
    if (!e || e->attributeCount_ == 0) return false;
    state_ = kOnAttribute;
    return e->AdvanceCursor();
}

const std::string XMLTextReader::Name() {
    XMLElement* e = Current();
    if (!e) return std::string();
    if (state_ == kOnElement) return e->name_;
    XMLAttribute* a = e->current_;
    return a ? a->name_ : std::string();
}

const std::string XMLTextReader::Value() {
    XMLElement* e = Current();
    if (!e) return std::string();
    if (state_ == kOnElement) return e->value_;
    XMLAttribute* a = e->current_;
    return a ? a->value_ : std::string();
}

XMLElement* XMLTextReader::GetRoot() { return root_; }

void XMLTextReader::InsertNewElement(XMLElement* element) {
    elements_.push_back(element);
    if (index_) index_->Put(element);
}

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
