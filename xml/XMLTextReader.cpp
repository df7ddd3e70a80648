#include "xml/XMLTextReader.h"

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

}  // namespace

XMLTextReader::XMLTextReader() : cursor_(0), state_(kOnElement), root_(nullptr) {}

XMLTextReader::~XMLTextReader() {
    for (XMLElement* e : elements_) delete e;
}

// Built into Tessel itself and into static users; importers of the DLL use the
// header's inline twin.
void XMLTextReader::SetXmlData(const char* data, int length) {
    int code = ParseXmlData(data, length);
    if (code != kParsed) throw new int(code);
}

int XMLTextReader::ParseXmlData(const char* data, int length) {
    for (XMLElement* e : elements_) delete e;
    elements_.clear();
    openTags_.clear();
    cursor_ = 0;
    root_ = nullptr;
    if (!data) length = 0;

    // Every search ends before position length: bytes beyond it are never read.
    auto upTo = [length](int start) { return length - 1 - start; };
    XMLElement* previous = nullptr;
    int pos = 0;
    while (length >= 1) {
        int lt = find_first_of(data, '<', pos, upTo(pos));
        int gt = find_first_of(data, '>', pos, upTo(pos));
        if (lt < 0 || gt < 0 || gt < lt) return kBadTag;
        int s = find_first_not_of(data, ' ', lt + 1, gt - 1 - (lt + 1));
        if (s < 0) return kBadTag;  // "<>" or only blanks: no tag text
        if (data[s] != '?') {
            // T, the tag text, is data[s] .. data[e]; the blanks before ">" are dropped.
            int e = static_cast<int>(trim_right(data + gt - 1) - data);
            int quote = find_first_of(data, '"', s, e - s);
            int slash = find_first_of(data, '/', s, e - s);
            if (data[s] == '/') {
                if (openTags_.empty()) return kBadTag;
                const std::string& name = openTags_.back();
                for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
                    if ((*it)->name_ == name) {
                        previous = *it;
                        break;
                    }
                }
                openTags_.pop_back();
            } else if (quote >= 0) {
                int blank = find_first_of(data, ' ', s, e - s);
                if (blank < 0) return kBadTag;
                XMLElement* element = XMLElement::CreateNewElement(data + s, blank - s);
                InsertNewElement(element);
                LinkNewElement(element, previous);
                previous = element;
                if (data[e] != '/') openTags_.push_back(element->name_);
                int lastQuote = find_last_of(data, '"', s, e);
                int at = blank;
                for (;;) {
                    int eq = find_first_of(data, '=', at, e - at);
                    if (eq < 0) return kBadTag;
                    int nameStart = static_cast<int>(trim_left(data + at) - data);
                    int nameEnd = static_cast<int>(trim_right(data + eq - 1) - data);
                    int open = find_first_of(data, '"', eq + 1, e - (eq + 1));
                    int close = open < 0 ? -1 : find_first_of(data, '"', open + 1, e - (open + 1));
                    if (close < 0) return kBadTag;
                    unsigned int nameLength = nameEnd >= nameStart ? nameEnd - nameStart + 1 : 0;
                    element->InsertNewAttribute(data + nameStart, nameLength, data + open + 1, close - open - 1);
                    if (close == lastQuote) break;
                    at = close + 1;
                }
            } else if (slash < 0) {
                XMLElement* element = XMLElement::CreateNewElement(data + s, e - s + 1);
                InsertNewElement(element);
                LinkNewElement(element, previous);
                int next = find_first_of(data, '<', gt, upTo(gt));
                if (next > gt + 1) element->SetValue(data + gt + 1, next - gt - 1);
                previous = element;
                openTags_.push_back(element->name_);
            } else {
                int blank = find_first_of(data, ' ', s, slash - s);
                int end = blank >= 0 ? blank : slash;
                XMLElement* element = XMLElement::CreateNewElement(data + s, end - s);
                InsertNewElement(element);
                LinkNewElement(element, previous);
                previous = element;
                if (data[e] != '/') openTags_.push_back(element->name_);
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
    if (previous->name_ == openTags_.back())
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
    return e && e->HasAttributes();
}

bool XMLTextReader::MoveToNextAttribute() {
    if (!HasAttributes()) return false;
    state_ = kOnAttribute;
    return Current()->MoveToNextAttribute();
}

const std::string XMLTextReader::Name() {
    XMLElement* e = Current();
    if (!e) return std::string();
    if (state_ == kOnElement) return e->Name();
    XMLAttribute* a = e->GetCurrentAttribute();
    return a ? a->Name() : std::string();
}

const std::string XMLTextReader::Value() {
    XMLElement* e = Current();
    if (!e) return std::string();
    if (state_ == kOnElement) return e->Value();
    XMLAttribute* a = e->GetCurrentAttribute();
    return a ? a->Value() : std::string();
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
