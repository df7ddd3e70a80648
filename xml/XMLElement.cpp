#include "xml/XMLElement.h"

#include <algorithm>

namespace {

// The first length bytes of text, ending early at a NUL among them.
std::string Bytes(const char* text, unsigned int length) {
    if (!text) return std::string();
    return std::string(text, std::find(text, text + length, '\0'));
}

}  // namespace

XMLElement::XMLElement(std::string& name)
    : name_(name), cursorStarted_(false), cursor_(0), leaf_(false), firstChild_(nullptr), nextSibling_(nullptr) {}

XMLElement::~XMLElement() {
    for (XMLAttribute* a : attributes_) delete a;
}

XMLElement* XMLElement::CreateNewElement(const char* name, unsigned int length) {
    std::string n = Bytes(name, length);
    return new XMLElement(n);
}

std::string XMLElement::Name() const { return name_; }

void XMLElement::SetName(const std::string& name) { name_ = name; }

std::string XMLElement::Value() const { return value_; }

void XMLElement::SetValue(const char* text, unsigned int length) { value_ = Bytes(text, length); }

XMLElement* XMLElement::FirstChild() { return firstChild_; }

XMLElement* XMLElement::NextSibling() { return nextSibling_; }

bool XMLElement::HasAttributes() { return !attributes_.empty(); }

std::string XMLElement::GetAttribute(const std::string& name) {
    for (XMLAttribute* a : attributes_)
        if (a->Name() == name) return a->Value();
    return std::string();
}

void XMLElement::InsertNewAttribute(const char* name, unsigned int nameLength, const char* value,
                                    unsigned int valueLength) {
    attributes_.push_back(XMLAttribute::CreateNewAttribute(Bytes(name, nameLength), Bytes(value, valueLength)));
}

bool XMLElement::MoveToNextAttribute() {
    if (attributes_.empty()) return false;
    if (!cursorStarted_) {
        cursorStarted_ = true;
        cursor_ = 0;
        return true;
    }
    if (cursor_ < attributes_.size()) ++cursor_;
    return cursor_ < attributes_.size();
}

XMLAttribute* XMLElement::GetCurrentAttribute() {
    return cursorStarted_ && cursor_ < attributes_.size() ? attributes_[cursor_] : nullptr;
}

bool XMLElement::IsLeaf() { return leaf_; }

void XMLElement::SetLeaf(bool leaf) { leaf_ = leaf; }

void XMLElement::SetFirstChild(XMLElement* child) { firstChild_ = child; }

void XMLElement::SetNextSibling(XMLElement* sibling) { nextSibling_ = sibling; }
