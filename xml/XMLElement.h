// One element of an XML document: name, text, attributes and the first-child and
// next-sibling links. Elements are created only by the reader and the writer, which
// own them; an element owns its attributes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "xml/TesselApi.h"
#include "xml/XMLAttribute.h"

class TESSEL_API XMLElement {
    friend class XMLTextReader;
    friend class XMLTextWriter;

public:
    // Elements share their attributes with nobody: copies are refused.
    XMLElement(const XMLElement&) = delete;
    XMLElement& operator=(const XMLElement&) = delete;
    ~XMLElement();

    std::string Name() const;
    void SetName(const std::string& name);
    std::string Value() const;
    void SetValue(const char* text, unsigned int length);

    XMLElement* FirstChild();
    XMLElement* NextSibling();

    bool HasAttributes();
    // Value of the first attribute with exactly this name; "" when there is none.
    std::string GetAttribute(const std::string& name);

protected:
    static XMLElement* CreateNewElement(const char* name, unsigned int length);

    void InsertNewAttribute(const char* name, unsigned int nameLength, const char* value, unsigned int valueLength);
    // One forward pass over the attributes: true while the cursor stands on one.
    // The cursor is never reset; once past the last attribute it stays there.
    bool MoveToNextAttribute();
    // The attribute under the cursor; null when the cursor stands on none.
    XMLAttribute* GetCurrentAttribute();

    bool IsLeaf();
    void SetLeaf(bool leaf);
    void SetFirstChild(XMLElement* child);
    void SetNextSibling(XMLElement* sibling);

private:
    explicit XMLElement(std::string& name);

    std::string name_;
    std::string value_;
    bool cursorStarted_;
    std::vector<XMLAttribute*> attributes_;
    std::size_t cursor_;
    bool leaf_;
    XMLElement* firstChild_;
    XMLElement* nextSibling_;
};
