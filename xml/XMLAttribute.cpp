#include "xml/XMLAttribute.h"

XMLAttribute::XMLAttribute(const std::string& name, const std::string& value)
    : name_(name), value_(value), next_(nullptr) {}

XMLAttribute::XMLAttribute(const XMLAttribute& other) : name_(other.name_), value_(other.value_), next_(nullptr) {}

// The link stays: an attribute assigned to keeps its place in its element.
XMLAttribute& XMLAttribute::operator=(const XMLAttribute& other) {
    name_ = other.name_;
    value_ = other.value_;
    return *this;
}

// ~XMLAttribute is defined with the element's destructor, which inlines it.

XMLAttribute* XMLAttribute::CreateNewAttribute(const std::string& name, const std::string& value) {
    return new XMLAttribute(name, value);
}

std::string& XMLAttribute::Name() { return name_; }

std::string& XMLAttribute::Value() { return value_; }
