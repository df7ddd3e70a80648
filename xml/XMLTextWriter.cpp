#include "xml/XMLTextWriter.h"

#include <cstring>

#include "xml/XMLElement.h"

namespace {

// The buffer every document gets; larger documents get a buffer that fits.
const unsigned int kBufferSize = 10000;

}  // namespace

XMLTextWriter::XMLTextWriter() = default;

XMLTextWriter::~XMLTextWriter() {
    for (XMLElement* e : elements_) e->~XMLElement();
}

void XMLTextWriter::WriteStartElement(std::string name) {
    if (elements_.empty()) {
        // Room for a typical message at once.
        elements_.reserve(16);
        openElements_.reserve(8);
    }
    XMLElement* e = XMLElement::CreateNewElement(pool_, name.data(), static_cast<unsigned int>(name.size()));
    try {
        elements_.push_back(e);
    } catch (...) {
        e->~XMLElement();
        throw;
    }
    openElements_.push_back(e);
}

void XMLTextWriter::WriteAttributeString(const std::string& name, const std::string& value) {
    if (openElements_.empty()) return;
    openElements_.back()->InsertNewAttribute(name.data(), static_cast<unsigned int>(name.size()), value.data(),
                                             static_cast<unsigned int>(value.size()));
}

void XMLTextWriter::WriteEndElement() {
    if (openElements_.empty()) return;
    if (openElements_.back() == elements_.back()) openElements_.back()->SetLeaf(true);
    openElements_.pop_back();
}

unsigned char* XMLTextWriter::GetXmlData(unsigned int* length) {
    // Measure first, so that a long document gets a buffer it fits in.
    std::size_t needed = 1;  // the NUL
    std::size_t open = 0;
    for (XMLElement* e : elements_) {
        needed += 1 + e->name_.size();  // "<name"
        for (XMLAttribute* a = e->firstAttribute_; a; a = a->next_) needed += 4 + a->name_.size() + a->value_.size();
        needed += e->IsLeaf() ? 2 : 1 + 3 + e->name_.size();  // "/>", or ">" and "</name>"
        if (!e->IsLeaf()) ++open;
    }
    std::size_t size = needed > kBufferSize ? needed : kBufferSize;
    unsigned char* data = new unsigned char[size];
    char* at = reinterpret_cast<char*>(data);

    auto put = [&at](const char* text, std::size_t n) {
        std::memcpy(at, text, n);
        at += n;
    };
    std::vector<XMLElement*> unclosed;
    try {
        unclosed.reserve(open);
    } catch (...) {
        delete[] data;
        throw;
    }
    for (XMLElement* e : elements_) {
        *at++ = '<';
        put(e->name_.data(), e->name_.size());
        while (e->AdvanceCursor()) {
            XMLAttribute* a = e->current_;
            *at++ = ' ';
            put(a->name_.data(), a->name_.size());
            *at++ = '=';
            *at++ = '"';
            put(a->value_.data(), a->value_.size());
            *at++ = '"';
        }
        if (e->IsLeaf()) {
            *at++ = '/';
            *at++ = '>';
        } else {
            *at++ = '>';
            unclosed.push_back(e);
        }
    }
    while (!unclosed.empty()) {
        *at++ = '<';
        *at++ = '/';
        put(unclosed.back()->name_.data(), unclosed.back()->name_.size());
        *at++ = '>';
        unclosed.pop_back();
    }
    *at = '\0';
    if (length) *length = static_cast<unsigned int>(at - reinterpret_cast<char*>(data));
    return data;
}

void XMLTextWriter::WriteStringToCharArray(const std::string& text, char* buffer, unsigned int offset) {
    std::memcpy(buffer + offset, text.data(), text.size());
}
