// Small helpers shared by the XML tests: build a document from a compact
// operation list, walk a reader into one line, and parse catching the code.
#pragma once

#include <cstddef>
#include <sstream>
#include <string>

#include "tests/support/ExactBytes.h"
#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace xmltest {

// ops: blank-separated "+name" (start), "@name=value" (attribute), "-" (end).
inline std::string Build(const std::string& ops, unsigned int* length = nullptr) {
    XMLTextWriter w;
    std::istringstream in(ops);
    std::string op;
    while (in >> op) {
        if (op[0] == '+') {
            w.WriteStartElement(op.substr(1));
        } else if (op[0] == '@') {
            size_t eq = op.find('=');
            w.WriteAttributeString(op.substr(1, eq - 1), op.substr(eq + 1));
        } else {
            w.WriteEndElement();
        }
    }
    unsigned int n = 0;
    unsigned char* data = w.GetXmlData(&n);
    std::string text(reinterpret_cast<char*>(data));
    delete[] data;
    if (length) *length = n;
    return text;
}

// Every element in reading order: name(attr=value,...):text, blank-separated.
inline std::string Dump(XMLTextReader& r) {
    std::string out;
    while (r.Read()) {
        if (!out.empty()) out += ' ';
        out += r.Name();
        std::string text = r.Value();
        std::string attrs;
        while (r.MoveToNextAttribute()) attrs += (attrs.empty() ? "" : ",") + r.Name() + "=" + r.Value();
        if (!attrs.empty()) out += "(" + attrs + ")";
        if (!text.empty()) out += ":" + text;
    }
    return out;
}

// SetXmlData on a copy of the text that ends at its length, so that a read
// past it is out of bounds; no text or a negative length goes as given.
inline void SetExact(XMLTextReader& r, const char* data, int length) {
    if (!data || length < 0) return r.SetXmlData(data, length);
    const testsupport::ExactBytes exact(data, static_cast<std::size_t>(length));
    r.SetXmlData(exact.data(), length);
}

inline void SetExact(XMLTextReader& r, const std::string& text) {
    SetExact(r, text.data(), static_cast<int>(text.size()));
}

// Parses text (a copy that ends at its length); returns the dump, or "throw N"
// with the thrown code.
inline std::string Parse(const char* data, int length) {
    XMLTextReader r;
    try {
        SetExact(r, data, length);
    } catch (int* code) {
        std::string out = "throw " + std::to_string(*code);
        delete code;
        return out;
    }
    return Dump(r);
}

inline std::string Parse(const std::string& text) { return Parse(text.c_str(), static_cast<int>(text.size())); }

}  // namespace xmltest
