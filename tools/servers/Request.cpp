#include "tools/servers/Request.h"

#include "lobby/net/binary/BinaryForm.h"
#include "xml/XMLTextReader.h"

namespace servers {

Request ReadTextRequest(const std::string& payload, std::string* root) {
    Request r;
    XMLTextReader reader;
    try {
        reader.SetXmlData(payload.data(), static_cast<int>(payload.size()));
    } catch (int* code) {
        delete code;
        return r;
    }
    if (!reader.Read()) return r;
    if (root) *root = reader.Name();
    if (reader.Name() != "GameMessage") {  // another document: its root's values
        r.name = reader.Name();
        while (reader.MoveToNextAttribute()) r.values.push_back(reader.Value());
        return r;
    }
    if (!reader.Read()) return r;
    r.document = true;
    if (reader.MoveToNextAttribute()) r.name = reader.Value();
    while (reader.Read())
        while (reader.MoveToNextAttribute()) r.values.push_back(reader.Value());
    return r;
}

bool ReadBinaryRequest(const std::string& payload, const MsgCodeTable& codes, Request& out) {
    if (payload.size() < binform::kHeaderSize) return false;
    const int code = static_cast<unsigned char>(payload[1]);
    const MsgCodeEntry* row = nullptr;
    for (const MsgCodeEntry& e : codes)
        if (!row && e.code == code) row = &e;
    if (!row) return false;
    Request r;
    r.name = row->name;
    r.binary = true;
    r.document = true;
    binform::Decoder decoder(reinterpret_cast<const unsigned char*>(payload.data()), payload.size());
    while (decoder.Position() < payload.size()) {
        std::string field;
        if (!decoder.Text(field)) return false;
        r.values.push_back(field);
    }
    out = r;
    return true;
}

}  // namespace servers
