// One name/value pair of an XML element. Created only through the factory or
// by its element (in the memory of the reader or writer that owns the element);
// the owning element destroys it.
#pragma once

#include <cstddef>
#include <string>

#include "xml/TesselApi.h"
#include "xml/XMLBytes.h"

class TESSEL_API XMLAttribute {
    friend class XMLElement;
    friend class XMLTextReader;
    friend class XMLTextWriter;

public:
    XMLAttribute(const XMLAttribute& other);
    XMLAttribute& operator=(const XMLAttribute& other);
    ~XMLAttribute();

    std::string& Name();
    std::string& Value();

protected:
    static XMLAttribute* CreateNewAttribute(const std::string& name, const std::string& value);

private:
    XMLAttribute(const std::string& name, const std::string& value);
    [[gnu::always_inline]] XMLAttribute(const char* name, std::size_t nameLength, const char* value,
                                        std::size_t valueLength)
        : name_(tessel::Bytes(name, nameLength)), value_(tessel::Bytes(value, valueLength)), next_(nullptr) {}

    std::string name_;
    std::string value_;
    XMLAttribute* next_;  // the element's next attribute; copies start unlinked
};
