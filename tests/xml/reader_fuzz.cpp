// Fuzz target: any bytes given to the reader, taken exactly as long as they are
// (no NUL after them), either parse or throw. Each input is read three ways: as
// shipped, with the name index from the first closing tag, and by the look-back
// alone; the three must leave the same code, elements (name, text, attributes)
// and links. Each document is walked past its ends and written back out.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "tests/xml/reader_probe.h"
#include "xml/XMLElement.h"
#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace {

void Field(std::string& out, const std::string& s) { out += std::to_string(s.size()) + ':' + s; }

// What one read leaves, as one string: the code, the root and each element
// with its links as element positions.
std::string Read(const uint8_t* data, size_t size, XMLTextReaderProbe::Search search) {
    XMLTextReader r;
    XMLTextReaderProbe::SetSearch(r, search);
    std::string out = "ok";
    try {
        r.SetXmlData(reinterpret_cast<const char*>(data), static_cast<int>(size));
    } catch (int* code) {
        if (*code != -1 && *code != 0) std::abort();
        out = std::to_string(*code);
        delete code;
        XMLTextReaderProbe::Rewind(r);  // the elements read before the throw
    }
    std::map<const XMLElement*, long> at{{nullptr, -1}};
    for (XMLElement* e : XMLTextReaderProbe::Elements(r)) at.emplace(e, static_cast<long>(at.size()) - 1);
    auto place = [&at](const XMLElement* e) {
        const auto found = at.find(e);
        if (found == at.end()) std::abort();  // a link out of the document
        return std::to_string(found->second);
    };
    out += " root " + place(r.GetRoot());

    size_t steps = 0;
    for (XMLElement* e = r.GetRoot(); e && steps < size; e = e->FirstChild() ? e->FirstChild() : e->NextSibling())
        ++steps;

    XMLTextWriter w;
    size_t i = 0;
    while (r.Read()) {
        XMLElement* e = XMLTextReaderProbe::Elements(r)[i++];
        out += '\n';
        Field(out, r.Name());
        w.WriteStartElement(r.Name());
        Field(out, r.Value());
        while (r.MoveToNextAttribute()) {
            std::string name = r.Name();
            Field(out, name);
            Field(out, r.Value());
            w.WriteAttributeString(name, r.Value());
        }
        r.MoveToNextAttribute();
        r.Value();
        w.WriteEndElement();
        out += " child " + place(e->FirstChild()) + " sibling " + place(e->NextSibling());
    }
    if (i != XMLTextReaderProbe::Elements(r).size()) std::abort();
    r.Read();
    r.Name();
    unsigned int length = 0;
    unsigned char* written = w.GetXmlData(&length);
    if (std::strlen(reinterpret_cast<char*>(written)) != length) std::abort();
    delete[] written;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string shipped = Read(data, size, XMLTextReaderProbe::kAsShipped);
    if (Read(data, size, XMLTextReaderProbe::kIndexOnly) != shipped) std::abort();
    if (Read(data, size, XMLTextReaderProbe::kLookBackOnly) != shipped) std::abort();
    return 0;
}
