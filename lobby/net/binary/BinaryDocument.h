// Message documents on either side of the binary form. Inline on purpose: each
// translator compiles them against the Tessel its program links.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace binform {

typedef std::vector<const char*> Names;
typedef std::vector<std::string> Values;

// Walks a request document by position, as the server's parser would.
class RequestReader {
public:
    // Malformed text makes the reader throw; the exception passes to the caller.
    RequestReader(const char* xml, int length) { reader_.SetXmlData(xml, length); }

    // The first attribute of the second element; empty when there is none.
    std::string MessageName() {
        if (!reader_.Read() || !reader_.Read() || !reader_.MoveToNextAttribute()) return std::string();
        return reader_.Value();
    }
    bool NextElement() { return reader_.Read(); }
    // Only right after NextElement.
    std::string ElementName() { return reader_.Name(); }
    // Appends the next count attribute values of the current element; false when it has fewer.
    bool Attributes(std::size_t count, Values& values) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!reader_.MoveToNextAttribute()) return false;
            values.push_back(reader_.Value());
        }
        return true;
    }

private:
    XMLTextReader reader_;
};

// Builds a decoded message: GameMessage(game), Message(name, type="Request"), data elements.
class DocumentWriter {
public:
    DocumentWriter(const char* game, const std::string& name) {
        writer_.WriteStartElement("GameMessage");
        writer_.WriteAttributeString("game", game);
        writer_.WriteStartElement("Message");
        writer_.WriteAttributeString("name", name);
        writer_.WriteAttributeString("type", "Request");
    }

    // Starts an element with names.size() attributes taken from values[from...].
    void Start(const char* element, const Names& names = Names(), const Values& values = Values(),
               std::size_t from = 0) {
        writer_.WriteStartElement(element);
        for (std::size_t i = 0; i < names.size() && from + i < values.size(); ++i)
            writer_.WriteAttributeString(names[i], values[from + i]);
    }
    void End() { writer_.WriteEndElement(); }
    void Element(const char* element, const Names& names, const Values& values, std::size_t from = 0) {
        Start(element, names, values, from);
        End();
    }

    // Ends Message and GameMessage; the text is the caller's, freed with delete[].
    char* Finish() {
        End();
        End();
        unsigned int length = 0;
        return reinterpret_cast<char*>(writer_.GetXmlData(&length));
    }

private:
    XMLTextWriter writer_;
};

}  // namespace binform
