// One name/value pair of an XML element. Created only through the factory;
// the owning element deletes it.
#pragma once

#include <string>

#include "xml/TesselApi.h"

class TESSEL_API XMLAttribute {
    friend class XMLElement;

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

    std::string name_;
    std::string value_;
};
