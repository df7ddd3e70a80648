#include "xml/XMLElement.h"

#include <cstring>
#include <new>

#include "xml/XMLPool.h"

namespace {

// Length of the first length bytes of text, ending early at a NUL among them.
std::size_t BytesLength(const char* text, unsigned int length) {
    if (!text) return 0;
    const void* nul = std::memchr(text, '\0', length);
    return nul ? static_cast<const char*>(nul) - text : length;
}

const char* Text(const char* text) { return text ? text : ""; }

}  // namespace

XMLElement::XMLElement(std::string& name) : name_(name) {}

XMLElement::XMLElement(const char* name, unsigned int length, XMLPool* pool)
    : name_(Text(name), BytesLength(name, length)), pool_(pool) {}

XMLAttribute::~XMLAttribute() = default;

XMLElement::~XMLElement() {
    for (XMLAttribute* a = firstAttribute_; a;) {
        XMLAttribute* next = a->next_;
        if (pool_)
            a->~XMLAttribute();
        else
            delete a;
        a = next;
    }
}

XMLElement* XMLElement::CreateNewElement(const char* name, unsigned int length) {
    return new XMLElement(name, length, nullptr);
}

XMLElement* XMLElement::CreateNewElement(XMLPool& pool, const char* name, unsigned int length) {
    return new (pool.Allocate(sizeof(XMLElement))) XMLElement(name, length, &pool);
}

std::string XMLElement::Name() const { return name_; }

void XMLElement::SetName(const std::string& name) { name_ = name; }

std::string XMLElement::Value() const { return value_; }

void XMLElement::SetValue(const char* text, unsigned int length) {
    value_.assign(Text(text), BytesLength(text, length));
}

XMLElement* XMLElement::FirstChild() { return firstChild_; }

XMLElement* XMLElement::NextSibling() { return nextSibling_; }

bool XMLElement::HasAttributes() { return attributeCount_ != 0; }

std::string XMLElement::GetAttribute(const std::string& name) {
    for (XMLAttribute* a = firstAttribute_; a; a = a->next_)
        if (a->name_ == name) return a->value_;
    return std::string();
}

void XMLElement::InsertNewAttribute(const char* name, unsigned int nameLength, const char* value,
                                    unsigned int valueLength) {
    AppendAttribute(Text(name), BytesLength(name, nameLength), Text(value), BytesLength(value, valueLength));
}

bool XMLElement::MoveToNextAttribute() { return AdvanceCursor(); }

XMLAttribute* XMLElement::GetCurrentAttribute() { return current_; }

bool XMLElement::IsLeaf() { return leaf_; }

void XMLElement::SetLeaf(bool leaf) { leaf_ = leaf; }

void XMLElement::SetFirstChild(XMLElement* child) { firstChild_ = child; }

void XMLElement::SetNextSibling(XMLElement* sibling) { nextSibling_ = sibling; }
