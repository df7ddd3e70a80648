// What both decoder fuzz targets check of a decoded document: it always reads
// back (the translators never let a value break the text), as a message document.
#pragma once

#include <cstdlib>
#include <cstring>

#include "xml/XMLTextReader.h"

inline void CheckDecodedDocument(const char* text) {
    XMLTextReader reader;
    try {
        reader.SetXmlData(text, static_cast<int>(std::strlen(text)));
    } catch (int* code) {
        delete code;
        std::abort();
    }
    if (!reader.Read() || reader.Name() != "GameMessage" || !reader.Read() || reader.Name() != "Message") std::abort();
}
