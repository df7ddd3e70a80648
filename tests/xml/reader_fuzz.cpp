// Fuzz target: any bytes given to the reader, taken exactly as long as they are
// (no NUL after them), either parse or throw; the parsed document is then walked
// past its ends and written back out.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "xml/XMLElement.h"
#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XMLTextReader r;
    try {
        r.SetXmlData(reinterpret_cast<const char*>(data), static_cast<int>(size));
    } catch (int* code) {
        if (*code != -1 && *code != 0) std::abort();
        delete code;
        return 0;
    }
    size_t steps = 0;
    for (XMLElement* e = r.GetRoot(); e && steps < size; e = e->FirstChild() ? e->FirstChild() : e->NextSibling())
        ++steps;

    XMLTextWriter w;
    while (r.Read()) {
        w.WriteStartElement(r.Name());
        std::string text = r.Value();
        while (r.MoveToNextAttribute()) {
            std::string name = r.Name();
            w.WriteAttributeString(name, r.Value());
        }
        r.MoveToNextAttribute();
        r.Value();
        w.WriteEndElement();
    }
    r.Read();
    r.Name();
    unsigned int length = 0;
    unsigned char* out = w.GetXmlData(&length);
    if (std::strlen(reinterpret_cast<char*>(out)) != length) std::abort();
    delete[] out;
    return 0;
}
