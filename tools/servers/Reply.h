// One message of our servers, built once and written in both forms: the
// message document (XML text) and the binary message form. Each call adds to
// both; Count and Cards add the counts that only the binary form carries.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "lobby/net/binary/MsgCodeEntry.h"

namespace servers {

typedef std::pair<const char*, std::string> Attr;
typedef std::vector<std::pair<int, int>> CardList;  // number, suit

class Reply {
public:
    Reply(const char* game, const std::string& name);
    // A text sent as it stands (no message document, no binary form).
    static Reply Raw(const std::string& text) {
        Reply r("", "");
        r.raw_ = text;
        r.isRaw_ = true;
        return r;
    }

    Reply& Start(const char* element, std::initializer_list<Attr> attributes = {});
    Reply& Start(const char* element, const std::vector<Attr>& attributes);
    Reply& End();
    Reply& Element(const char* element, std::initializer_list<Attr> attributes) {
        return Start(element, attributes).End();
    }
    Reply& Element(const char* element, const std::vector<Attr>& attributes) {
        return Start(element, attributes).End();
    }
    Reply& Count(size_t n);  // binary only
    // Attributes of the element last started that only the document carries.
    Reply& XmlOnly(std::initializer_list<Attr> attributes);
    // A counted list of card elements (number, suit).
    Reply& Cards(const CardList& cards);

    const std::string& Name() const { return name_; }
    // The document, every element closed.
    std::string Xml() const;
    // The binary form with the code of the name in the table; false when the
    // table has no row for it.
    bool Binary(const MsgCodeTable& codes, std::string& out) const;

private:
    struct Node {
        std::string name;
        std::vector<std::pair<std::string, std::string>> attributes;
        int depth;  // -1: the end of an element
    };
    std::string game_;
    std::string name_;
    std::vector<Node> nodes_;
    std::vector<std::string> fields_;
    int depth_ = 0;
    std::string raw_;
    bool isRaw_ = false;
};

}  // namespace servers
