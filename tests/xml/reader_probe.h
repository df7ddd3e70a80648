// The tests' access to the reader's insides: how a closing tag finds the
// newest element of its name, the elements in document order, what the search
// counted, and a rewind that walks the elements a failed parse left.
#pragma once

#include <cstdint>
#include <vector>

#include "xml/XMLTextReader.h"

struct XMLTextReaderProbe {
    using Search = XMLTextReader::NameSearch;
    static constexpr Search kAsShipped = XMLTextReader::kLookBackThenIndex;
    static constexpr Search kIndexOnly = XMLTextReader::kIndexOnly;
    static constexpr Search kLookBackOnly = XMLTextReader::kLookBackOnly;

    static void SetSearch(XMLTextReader& r, Search search) { r.search_ = search; }
    static const std::vector<XMLElement*>& Elements(const XMLTextReader& r) { return r.elements_; }
    // Name bytes compared plus a step cost per comparison, in the look-back
    // (but for the short ones) and in the index.
    static std::uint64_t Spent(const XMLTextReader& r) { return r.spent_; }
    static bool Indexed(const XMLTextReader& r) { return r.index_ != nullptr; }
    // Read() starts again at the first element.
    static void Rewind(XMLTextReader& r) { r.state_ = XMLTextReader::kBeforeFirst; }
};
