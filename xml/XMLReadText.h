// Non-throwing helpers around XMLTextReader for callers that treat bad text as
// "not read". Inline: the exception is thrown and caught in the caller's module.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "xml/XMLTextReader.h"

// Parses text into the reader; false when the reader rejects it.
inline bool ReadXmlText(XMLTextReader& reader, const std::string& text) {
    try {
        reader.SetXmlData(text.c_str(), static_cast<int>(text.size()));
        return true;
    } catch (int* code) {
        delete code;
        return false;
    }
}

// Up to count attribute values of the reader's current element, by position.
inline std::vector<std::string> AttributeValues(XMLTextReader& reader, std::size_t count) {
    std::vector<std::string> values;
    while (values.size() < count && reader.MoveToNextAttribute()) values.push_back(reader.Value());
    return values;
}
