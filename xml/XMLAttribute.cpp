#include "xml/XMLAttribute.h"

XMLAttribute::XMLAttribute(const std::string& name, const std::string& value) : name_(name), value_(value) {}

XMLAttribute::XMLAttribute(const XMLAttribute& other) = default;

XMLAttribute& XMLAttribute::operator=(const XMLAttribute& other) = default;

XMLAttribute::~XMLAttribute() = default;

XMLAttribute* XMLAttribute::CreateNewAttribute(const std::string& name, const std::string& value) {
    return new XMLAttribute(name, value);
}

std::string& XMLAttribute::Name() { return name_; }

std::string& XMLAttribute::Value() { return value_; }
