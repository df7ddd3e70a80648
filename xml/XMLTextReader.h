// Parses one XML text into a flat list of elements in document order and hands
// them out through a forward-only cursor. Understands the writer's output plus
// an XML declaration and element text; blanks (0x20) are the only separators.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "xml/TesselApi.h"
#include "xml/XMLPool.h"

class XMLElement;

class TESSEL_API XMLTextReader {
public:
    XMLTextReader();
    XMLTextReader(const XMLTextReader&) = delete;
    XMLTextReader& operator=(const XMLTextReader&) = delete;
    ~XMLTextReader();

    // Parses the text (length bytes, never read beyond; a NUL ends it earlier).
    // Malformed text throws a new int: -1 for a missing, misordered or unreadable
    // tag, 0 for tags left open. The elements parsed before the throw stay here.
#ifdef TESSEL_IMPORTED
    // Each module links its own unwinder, so an exception cannot leave Tessel.dll:
    // importers compile the throw into their own module.
    void SetXmlData(const char* data, int length) {
        int code = ParseXmlData(data, length);
        if (code != kParsed) throw new int(code);
    }
#else
    void SetXmlData(const char* data, int length);
#endif

    bool Read();
    bool MoveToNextAttribute();
    bool HasAttributes();
    const std::string Name();
    const std::string Value();
    XMLElement* GetRoot();

private:
    friend struct XMLTextReaderProbe;  // tests only: the name search and the elements
    enum { kParsed = 1 };
    enum State { kBeforeFirst = 0, kOnElement = 1, kOnAttribute = 2, kPastLast = 3 };
    // How a closing tag finds the newest element of its name: by looking back
    // until the budget is spent, then through the index; the other two only
    // for the tests, which compare them.
    enum NameSearch { kLookBackThenIndex, kIndexOnly, kLookBackOnly };

    // SetXmlData without the throw: kParsed, or the code to throw.
    int ParseXmlData(const char* data, int length);
    XMLElement* Current();
    void InsertNewElement(XMLElement* element);
    void LinkNewElement(XMLElement* element, XMLElement* previous);
    struct OpenTag {
        XMLElement* element;
        std::size_t at;  // its place in elements_
    };
    // The place of the newest element named like the open one: the newest
    // after it with its name, else its own.
    std::size_t LookBack(const OpenTag& open) const;
    // The newest element named like this one, through the index (built on
    // first use, brought up to date on each).
    XMLElement* NewestNamed(const XMLElement* like);
    // Destroys the elements of the last text.
    void ClearElements();

    int find_first_of(const char* text, char c, int start, int count);
    int find_first_not_of(const char* text, char c, int start, int count);
    int find_last_of(const char* text, char c, int start, int end);
    const char* trim_left(const char* p);
    const char* trim_right(const char* p);

    std::vector<XMLElement*> elements_;  // in pool_
    std::size_t cursor_;
    // elements_[cursor_], null when the cursor stands past the elements.
    XMLElement* atCursor_ = nullptr;
    int state_;
    XMLElement* root_;
    // The elements whose tags are open; their names are the open tags.
    std::vector<OpenTag> openTags_;
    XMLPool pool_;
    // A closing tag looks back through the elements after its own when they are
    // few, or while what that costs (spent_) stays within a budget in line with
    // the bytes read; past it the index of the newest element of each name takes
    // over for the rest of the text. spent_ counts name bytes compared plus a
    // step cost per comparison, in the index too, but not the short look-backs.
    class NameIndex;
    std::unique_ptr<NameIndex> index_;
    std::uint64_t spent_ = 0;
    NameSearch search_ = kLookBackThenIndex;
};
