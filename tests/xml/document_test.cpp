#include <gtest/gtest.h>

#include <string>

#include "tests/xml/xml_helpers.h"
#include "xml/XMLTextReader.h"

namespace {

using xmltest::Build;
using xmltest::Parse;

// The fields of the data elements, by position, as the message parsers take them.
std::string Fields(const std::string& text) {
    XMLTextReader r;
    xmltest::SetExact(r, text);
    r.Read();
    r.Read();
    r.MoveToNextAttribute();
    std::string out = r.Value();  // the message name
    while (r.Read()) {
        out += " " + r.Name() + ":";
        while (r.MoveToNextAttribute()) out += "[" + r.Value() + "]";
    }
    return out;
}

TEST(XmlDocument, RequestsReadBackByPosition) {
    std::string chat = Build(
        "+GameMessage @game=lobby +Message @name=Chat @type=Request +Chat @from=\xD5\xC5\xC8\xFD @to= "
        "@text=\xC4\xE3\xBA\xC3 - - -");
    EXPECT_EQ(chat,
              "<GameMessage game=\"lobby\"><Message name=\"Chat\" type=\"Request\"><Chat from=\"\xD5\xC5\xC8\xFD\" "
              "to=\"\" text=\"\xC4\xE3\xBA\xC3\"/></Message></GameMessage>");
    EXPECT_EQ(Fields(chat), "Chat Chat:[\xD5\xC5\xC8\xFD][][\xC4\xE3\xBA\xC3]");

    std::string bare = Build("+GameMessage @game=Lobby +Message @name=RequestRoomList @type=Request - -");
    EXPECT_EQ(bare, "<GameMessage game=\"Lobby\"><Message name=\"RequestRoomList\" type=\"Request\"/></GameMessage>");
    EXPECT_EQ(Fields(bare), "RequestRoomList");
}

TEST(XmlDocument, FieldsAreMatchedByPositionNotByName) {
    EXPECT_EQ(Fields("<GameMessage game=\"FENLO\"><Message name=\"Bet\" type=\"Request\" x=\"y\">"
                     "<player money=\"100\" id=\"7\"/></Message></GameMessage>"),
              "Bet player:[100][7]");
    EXPECT_EQ(Fields("<GameMessage game=\"FENLO\"><Message type=\"Request\" name=\"Bet\"/></GameMessage>"), "Request");
}

// Lists whose entries hold further elements come out with the closing tags
// deferred; read in document order they give back what was built.
TEST(XmlDocument, NestedListRepliesKeepTheirOrder) {
    std::string text = Build(
        "+GameMessage @game=FENLO +Message @name=GameResult @type=Request "
        "+player @id=1 +card @number=3 @suit=1 - +card @number=16 @suit=0 - - "
        "+player @id=2 +card @number=15 @suit=2 - - - -");
    EXPECT_EQ(text,
              "<GameMessage game=\"FENLO\"><Message name=\"GameResult\" type=\"Request\"><player id=\"1\">"
              "<card number=\"3\" suit=\"1\"/><card number=\"16\" suit=\"0\"/><player id=\"2\">"
              "<card number=\"15\" suit=\"2\"/></player></player></Message></GameMessage>");
    EXPECT_EQ(Fields(text), "GameResult player:[1] card:[3][1] card:[16][0] player:[2] card:[15][2]");
}

// Texts as other XML tools write them: declaration, a blank before "/>",
// indentation between tags. A final line end is rejected, as from any sender.
TEST(XmlDocument, TextsFromOtherTools) {
    const std::string indented =
        "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<GameMessage game=\"FENLO\">\n\t<Message name=\"PingData\">\n"
        "\t\t<server ip=\"10.0.0.1\" port=\"8001\" />\n\t</Message>\n</GameMessage>";
    EXPECT_EQ(Fields(indented), "PingData server:[10.0.0.1][8001]");
    EXPECT_EQ(Parse(indented + "\n"), "throw -1");
    EXPECT_EQ(Parse(indented + "\r\n"), "throw -1");
    EXPECT_EQ(Parse("<root>\n  <item>\xD6\xD0\xCE\xC4</item>\n</root>"), "root:\n   item:\xD6\xD0\xCE\xC4");
}

}  // namespace
