#include <gtest/gtest.h>

#include <cstring>

#include "tests/xml/xml_helpers.h"
#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace {

using xmltest::Build;

TEST(XmlWriter, WritesTheMessageShapeAndItsLength) {
    unsigned int length = 0;
    std::string text = Build("+GameMessage @game=FENLO +Message @name=AutoPlay +player @id=7 - - -", &length);
    EXPECT_EQ(text,
              "<GameMessage game=\"FENLO\"><Message name=\"AutoPlay\"><player id=\"7\"/></Message></GameMessage>");
    EXPECT_EQ(length, text.size());
}

TEST(XmlWriter, LeafRuleAndDeferredClosingTags) {
    struct Case {
        const char* ops;
        const char* text;
    } cases[] = {
        {"+A +B - +C - -", "<A><B/><C/></A>"},
        {"+A -", "<A/>"},
        {"+A @x= @y=2 -", "<A x=\"\" y=\"2\"/>"},
        {"+A +B +C - - +D - -", "<A><B><C/><D/></B></A>"},
        {"+A +P +C - - +Q +D - - -", "<A><P><C/><Q><D/></Q></P></A>"},
        {"+A +B -", "<A><B/></A>"},  // A never ended
        {"+A", "<A></A>"},
    };
    for (const Case& c : cases) EXPECT_EQ(Build(c.ops), c.text) << c.ops;
}

TEST(XmlWriter, CopiesGbkBytesAndCountsBytes) {
    unsigned int length = 0;
    std::string text = Build("+Chat @text=\xC4\xE3\xBA\xC3 -", &length);  // two Chinese characters
    EXPECT_EQ(text, "<Chat text=\"\xC4\xE3\xBA\xC3\"/>");
    EXPECT_EQ(length, 19u);  // 4 bytes for the two characters
}

TEST(XmlWriter, CallsWithoutAnOpenElementAreIgnored) {
    XMLTextWriter w;
    w.WriteAttributeString("a", "1");
    w.WriteEndElement();
    w.WriteStartElement("A");
    w.WriteEndElement();
    w.WriteEndElement();
    unsigned int length = 99;
    unsigned char* data = w.GetXmlData(&length);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "<A/>");
    EXPECT_EQ(length, 4u);
    delete[] data;
}

// A list reply decoded from the binary form can outgrow the usual 10000 bytes:
// it must come out whole (the sanitizer build also sees any write past the buffer).
TEST(XmlWriter, LongDocumentsGetABufferThatFits) {
    for (int desks : {1, 300, 2000}) {
        XMLTextWriter w;
        w.WriteStartElement("GameMessage");
        w.WriteStartElement("Message");
        w.WriteAttributeString("name", "DeskList");
        for (int i = 0; i < desks; ++i) {
            w.WriteStartElement("desk");
            w.WriteAttributeString("id", std::to_string(i));
            w.WriteStartElement("player");
            w.WriteAttributeString("name", "\xD5\xC5\xC8\xFD");
            w.WriteEndElement();
            w.WriteEndElement();
        }
        w.WriteEndElement();
        w.WriteEndElement();
        unsigned int length = 0;
        unsigned char* data = w.GetXmlData(&length);
        const char* text = reinterpret_cast<char*>(data);
        ASSERT_EQ(std::strlen(text), length);
        XMLTextReader r;
        r.SetXmlData(text, static_cast<int>(length));
        int read = 0;
        while (r.Read()) read += r.Name() == "desk";
        EXPECT_EQ(read, desks);
        delete[] data;
    }
}

TEST(XmlWriter, TextsOfExactlyTheBufferSizeAndOneMore) {
    // "<A v=\"...\"/>" is 9 bytes plus the value.
    for (size_t value : {9999u - 9u, 10000u - 9u, 10001u - 9u}) {
        unsigned int length = 0;
        std::string text = Build("+A @v=" + std::string(value, 'x') + " -", &length);
        EXPECT_EQ(length, value + 9);
        EXPECT_EQ(text.size(), value + 9);
        EXPECT_EQ(text.substr(text.size() - 4), "x\"/>");
    }
}

}  // namespace
