// Parses one XML text into a flat list of elements in document order and hands
// them out through a forward-only cursor. Understands the writer's output plus
// an XML declaration and element text; blanks (0x20) are the only separators.
#pragma once

#include <cstddef>
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
    enum { kParsed = 1 };

    // SetXmlData without the throw: kParsed, or the code to throw.
    int ParseXmlData(const char* data, int length);
    int ParseText(const char* data, int length);
    XMLElement* Current();
    void InsertNewElement(XMLElement* element);
    void LinkNewElement(XMLElement* element, XMLElement* previous);
    // The newest element named like this one, or null.
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
    int state_;
    XMLElement* root_;
    // The elements whose tags are open; their names are the open tags.
    std::vector<XMLElement*> openTags_;
    XMLPool pool_;
    // NewestNamed looks back through the elements while that has cost less
    // than two steps per element so far, then builds the index of the newest
    // element of each name, kept from then on: a text costs time in line with
    // its length, and a small one never pays for the index.
    class NameIndex;
    std::unique_ptr<NameIndex> index_;
    std::size_t scanned_ = 0;
};
