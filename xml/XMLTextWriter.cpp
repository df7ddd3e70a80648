#include "xml/XMLTextWriter.h"

#include <cstring>

#include "xml/XMLElement.h"

namespace {

// The buffer every document gets; larger documents get a buffer that fits.
const unsigned int kBufferSize = 10000;

}  // namespace

XMLTextWriter::XMLTextWriter() = default;

XMLTextWriter::~XMLTextWriter() {
    for (XMLElement* e : elements_) delete e;
}

void XMLTextWriter::WriteStartElement(std::string name) {
    XMLElement* e = XMLElement::CreateNewElement(name.data(), static_cast<unsigned int>(name.size()));
    openElements_.push_back(e);
    elements_.push_back(e);
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
    for (XMLElement* e : elements_) {
        needed += 1 + e->name_.size();  // "<name"
        for (XMLAttribute* a : e->attributes_) needed += 4 + a->Name().size() + a->Value().size();
        needed += e->IsLeaf() ? 2 : 1 + 3 + e->name_.size();  // "/>", or ">" and "</name>"
    }
    std::size_t size = needed > kBufferSize ? needed : kBufferSize;
    unsigned char* data = new unsigned char[size];
    char* buffer = reinterpret_cast<char*>(data);

    unsigned int at = 0;
    auto put = [&](const std::string& text) {
        WriteStringToCharArray(text, buffer, at);
        at += static_cast<unsigned int>(text.size());
    };
    std::vector<XMLElement*> unclosed;
    for (XMLElement* e : elements_) {
        put("<");
        put(e->name_);
        while (e->MoveToNextAttribute()) {
            XMLAttribute* a = e->GetCurrentAttribute();
            put(" ");
            put(a->Name());
            put("=\"");
            put(a->Value());
            put("\"");
        }
        if (e->IsLeaf()) {
            put("/>");
        } else {
            put(">");
            unclosed.push_back(e);
        }
    }
    while (!unclosed.empty()) {
        put("</");
        put(unclosed.back()->name_);
        put(">");
        unclosed.pop_back();
    }
    buffer[at] = '\0';
    if (length) *length = at;
    return data;
}

void XMLTextWriter::WriteStringToCharArray(const std::string& text, char* buffer, unsigned int offset) {
    std::memcpy(buffer + offset, text.data(), text.size());
}
