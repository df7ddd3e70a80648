#include "tools/servers/Reply.h"

#include "lobby/net/binary/BinaryForm.h"
#include "xml/XMLTextWriter.h"

namespace servers {

Reply::Reply(const char* game, const std::string& name) : game_(game), name_(name) {}

Reply& Reply::Start(const char* element, std::initializer_list<Attr> attributes) {
    return Start(element, std::vector<Attr>(attributes));
}

Reply& Reply::Start(const char* element, const std::vector<Attr>& attributes) {
    Node node{element, {}, depth_++};
    for (const Attr& a : attributes) {
        node.attributes.emplace_back(a.first, a.second);
        fields_.push_back(a.second);
    }
    nodes_.push_back(node);
    return *this;
}

Reply& Reply::End() {
    if (depth_ > 0) {
        --depth_;
        nodes_.push_back(Node{std::string(), {}, -1});
    }
    return *this;
}

Reply& Reply::XmlOnly(std::initializer_list<Attr> attributes) {
    for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it) {
        if (it->depth < 0) continue;
        for (const Attr& a : attributes) it->attributes.emplace_back(a.first, a.second);
        break;
    }
    return *this;
}

Reply& Reply::Count(size_t n) {
    fields_.push_back(std::to_string(n));
    return *this;
}

Reply& Reply::Cards(const CardList& cards) {
    Count(cards.size());
    for (const auto& c : cards) {
        const std::string number = std::to_string(c.first), suit = std::to_string(c.second);
        nodes_.push_back(Node{"card", {{"number", number}, {"suit", suit}}, depth_});
        nodes_.push_back(Node{std::string(), {}, -1});
        fields_.push_back(number);
        fields_.push_back(suit);
    }
    return *this;
}

std::string Reply::Xml() const {
    if (isRaw_) return raw_;
    XMLTextWriter writer;
    writer.WriteStartElement("GameMessage");
    writer.WriteAttributeString("game", game_);
    writer.WriteStartElement("Message");
    writer.WriteAttributeString("name", name_);
    writer.WriteAttributeString("type", "Response");
    int open = 0;
    for (const Node& n : nodes_) {
        if (n.depth < 0) {
            writer.WriteEndElement();
            --open;
            continue;
        }
        writer.WriteStartElement(n.name);
        for (const auto& a : n.attributes) writer.WriteAttributeString(a.first, a.second);
        ++open;
    }
    for (; open > 0; --open) writer.WriteEndElement();
    writer.WriteEndElement();
    writer.WriteEndElement();
    unsigned int length = 0;
    unsigned char* data = writer.GetXmlData(&length);
    std::string text(reinterpret_cast<char*>(data), length);
    delete[] data;
    return text;
}

bool Reply::Binary(const MsgCodeTable& codes, std::string& out) const {
    if (isRaw_) return false;
    const MsgCodeEntry* row = nullptr;
    for (const MsgCodeEntry& e : codes)
        if (!row && e.name == name_ && e.code != MsgCodeEntry::kUnset) row = &e;
    if (!row) return false;
    size_t size = binform::kHeaderSize;
    for (const std::string& f : fields_) size += 2 + f.size();
    std::vector<unsigned char> buffer(size);
    binform::Encoder encoder(buffer.data(), buffer.size());
    encoder.Header(row->code);
    for (const std::string& f : fields_) encoder.Field(f);
    if (!encoder.Ok()) return false;
    out.assign(reinterpret_cast<char*>(buffer.data()), encoder.Size());
    return true;
}

}  // namespace servers
