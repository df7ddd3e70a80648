// Builds one XML document element by element and serialises it into a new buffer
// (at least 10000 bytes, NUL-terminated) that the caller frees with delete[].
// Closing tags of elements with children are all written at the very end.
#pragma once

#include <string>
#include <vector>

#include "xml/TesselApi.h"
#include "xml/XMLPool.h"

class XMLElement;

class TESSEL_API XMLTextWriter {
public:
    XMLTextWriter();
    XMLTextWriter(const XMLTextWriter&) = delete;
    XMLTextWriter& operator=(const XMLTextWriter&) = delete;
    ~XMLTextWriter();

    void WriteStartElement(std::string name);
    void WriteAttributeString(const std::string& name, const std::string& value);
    void WriteEndElement();
    // Call once, after the last WriteEndElement. Stores the text's length without
    // the NUL through length.
    unsigned char* GetXmlData(unsigned int* length);

private:
    void WriteStringToCharArray(const std::string& text, char* buffer, unsigned int offset);

    std::vector<XMLElement*> elements_;  // in pool_
    std::vector<XMLElement*> openElements_;
    XMLPool pool_;
};
