#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/xml/reader_probe.h"
#include "tests/xml/xml_helpers.h"
#include "xml/XMLElement.h"
#include "xml/XMLTextReader.h"

namespace {

using xmltest::Parse;

TEST(XmlReader, ParsesTagsIntoElementsInDocumentOrder) {
    struct Case {
        const char* text;
        const char* dump;
    } cases[] = {
        {"<?xml version=\"1.0\"?><a x=\"1\" y=\"two\"/>", "a(x=1,y=two)"},
        {"<a><b>text</b></a>", "a b:text"},
        {"<a x=\"\"  y=\"2\"/>", "a(x=,y=2)"},
        {"<a name = \"v\"></a>", "a(name=v)"},
        {"<a></b>", "a"},                               // closing tags are not compared
        {"<a x=\"1\">text</a>", "a(x=1)"},              // an element with attributes gets no text
        {"<a> two words <b/></a>", "a: two words  b"},  // text untrimmed
        {"<a>x</a>", "a:x"},
        {"<a><b/>x</a>", "a b"},      // text after "/>" belongs to nobody
        {"< a b >x</a b>", "a b:x"},  // blanks inside a name
        {"<a /><b c/><d/e></d>", "a b d"},
        {"<a =\"1\"/>", "a(=1)"},
        {"<a x=\"<\"/>", "a(x=<)"},
        {"<a x=\"1\" / >", "a(x=1)"},
        {"<a x=\"1\" y=/>", "a(x=1)"},  // reading ends at the last quote
        {"<a\"x\" y=\"1\"/>", "a\"x\"(y=1)"},
        {"<a x=\"1\" \"y\"=\"2\"/>", "a(x=1,\"y\"=2)"},
        {"<abcdefghijklmno p=\"0123456789abcde\" q=\"0123456789abcdef\"/>",
         "abcdefghijklmno(p=0123456789abcde,q=0123456789abcdef)"},  // 15 and 16 bytes
        {"<a x=/>", "a"},
        {"", ""},
        {"<?xml version=\"1.0\" encoding=\"GBK\"?>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.dump) << c.text;
}

TEST(XmlReader, RejectsMalformedTextWithTheCodes) {
    struct Case {
        std::string text;
        const char* result;
    } cases[] = {
        {"<a/>\n", "throw -1"},                      // byte after the last ">"
        {std::string("<a/>", 5), "throw -1"},        // length counts the NUL
        {std::string("<a/>\0<b/>", 9), "throw -1"},  // a NUL ends the text
        {"<a>", "throw 0"},
        {"<a><b>", "throw 0"},
        {"<a x=\"1\">", "throw 0"},
        {"<a/b>", "throw 0"},  // the "/" is not last: still open
        {"a/>", "throw -1"},
        {"<a", "throw -1"},
        {"><a/>", "throw -1"},
        {"<a>text", "throw -1"},
        {"<>", "throw -1"},
        {"<   >", "throw -1"},
        {"</a>", "throw -1"},  // nothing open
        {"<a/></a>", "throw -1"},
        {"<a\"x\"/>", "throw -1"},      // quote but no blank after the name
        {"<a x \"1\"/>", "throw -1"},   // no "="
        {"<a x=\"1/>", "throw -1"},     // unterminated value
        {"<a\"x\" y=1/>", "throw -1"},  // every quote before the first blank
        {"<a x=\">\"/>", "throw -1"},   // the first ">" ends the tag, in a value too
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.text.data(), static_cast<int>(c.text.size())), c.result) << c.text;
}

TEST(XmlReader, LinksFirstChildAndNextSibling) {
    XMLTextReader r;
    r.SetXmlData("<m><p/><q/></m>", 15);
    XMLElement* m = r.GetRoot();
    ASSERT_EQ(m->Name(), "m");
    ASSERT_NE(m->FirstChild(), nullptr);
    EXPECT_EQ(m->FirstChild()->Name(), "p");
    ASSERT_NE(m->FirstChild()->NextSibling(), nullptr);
    EXPECT_EQ(m->FirstChild()->NextSibling()->Name(), "q");
    EXPECT_EQ(m->NextSibling(), nullptr);

    // The inner m matches the open tag's name, so q becomes its child.
    XMLTextReader r2;
    r2.SetXmlData("<m><m/><q/></m>", 15);
    XMLElement* inner = r2.GetRoot()->FirstChild();
    ASSERT_NE(inner, nullptr);
    ASSERT_NE(inner->FirstChild(), nullptr);
    EXPECT_EQ(inner->FirstChild()->Name(), "q");
    EXPECT_EQ(inner->NextSibling(), nullptr);
}

// Random tag sequences against the rules: a closing tag makes the newest
// element named like the innermost open one the previous element, whatever it
// says itself; a new element becomes the previous element's first child when
// that one is named like the innermost open tag, else its next sibling. Each
// element carries its number, so every link can be checked. Texts reach
// thousands of elements, some nesting hundreds of names apart, some with names
// that share their first 8 or 40 bytes; each is read as shipped, through the
// index alone and by the look-back alone. The shipped reader must reach its
// index in the rounds of names apart, or they test the look-back alone.
TEST(XmlReader, LinksFollowTheNewestElementOfTheClosedName) {
    std::mt19937 rng(47);
    for (int round = 0; round < 60; ++round) {
        std::vector<std::string> names;
        std::vector<int> child, sibling, open;
        int previous = -1;
        std::string text;
        auto make = [&](const std::string& name, bool stays) {
            const int e = static_cast<int>(names.size());
            names.push_back(name);
            child.push_back(-1);
            sibling.push_back(-1);
            if (previous >= 0 && !open.empty()) (names[previous] == names[open.back()] ? child : sibling)[previous] = e;
            previous = e;
            if (stays) open.push_back(e);
            text += "<" + name + " n=\"" + std::to_string(e) + (stays ? "\">" : "\"/>");
        };
        auto close = [&] {
            for (int e = static_cast<int>(names.size()) - 1; e >= 0; --e)
                if (names[e] == names[open.back()]) {
                    previous = e;
                    break;
                }
            open.pop_back();
            text += "</z>";
        };
        const std::string stem(round % 4 == 1 ? 8 : round % 4 == 3 ? 40 : 0, 'k');
        make(stem + "root", true);
        const int apart = round % 3 == 0 ? 300 : 0;  // names apart, nested
        for (int i = 0; i < apart; ++i) make(stem + "d" + std::to_string(i), true);
        const int tags = 50 + static_cast<int>(rng() % 3000);
        const char* common[] = {"a", "b", "m"};
        for (int i = 0; i < tags; ++i) {
            const unsigned pick = rng() % 10;
            const std::string name = stem + (rng() % 4 ? common[rng() % 3] : "u" + std::to_string(i));
            if (pick < 4) make(name, true);
            else if (pick < 7) make(name, false);
            else if (open.size() > 1) close();
        }
        while (!open.empty()) close();

        for (auto search :
             {XMLTextReaderProbe::kAsShipped, XMLTextReaderProbe::kIndexOnly, XMLTextReaderProbe::kLookBackOnly}) {
            XMLTextReader r;
            XMLTextReaderProbe::SetSearch(r, search);
            ASSERT_NO_THROW(r.SetXmlData(text.data(), static_cast<int>(text.size()))) << round;
            if (search == XMLTextReaderProbe::kAsShipped && apart > 0) {
                EXPECT_TRUE(XMLTextReaderProbe::Indexed(r)) << "round " << round << " never reached the index";
            }
            auto number = [](XMLElement* e) { return e ? std::atoi(e->GetAttribute("n").c_str()) : -1; };
            std::vector<XMLElement*> reached(names.size(), nullptr);
            std::vector<XMLElement*> todo{r.GetRoot()};
            while (!todo.empty()) {
                XMLElement* e = todo.back();
                todo.pop_back();
                const int n = number(e);
                ASSERT_GE(n, 0);
                if (reached[n]) continue;
                reached[n] = e;
                ASSERT_EQ(e->Name(), names[n]);
                ASSERT_EQ(number(e->FirstChild()), child[n])
                    << "round " << round << ", search " << search << ", element " << n;
                ASSERT_EQ(number(e->NextSibling()), sibling[n])
                    << "round " << round << ", search " << search << ", element " << n;
                for (XMLElement* next : {e->FirstChild(), e->NextSibling()})
                    if (next) todo.push_back(next);
            }
            size_t count = 0;
            while (r.Read()) ASSERT_EQ(r.Name(), names[count++]);
            EXPECT_EQ(count, names.size());
        }
    }
}

// What the name search compares, counted by the reader, for texts of n and of
// 2n elements: in line with the text (an ordered index costs a log more), where
// the look-back alone would cost four times as much. The shapes: names apart,
// each inside the one before, short or sharing a long prefix (every comparison
// of two such names reads the prefix); and long names nested below a flat run
// of short ones that raises the look-back's budget without the index.
TEST(XmlReader, TheNameSearchCostsInLineWithTheText) {
    auto nested = [](int n, const std::string& prefix, int flat) {
        std::string text = "<r>";
        for (int i = 0; i < flat; ++i) text += "<f/>";
        for (int i = 0; i < n; ++i) text += "<" + prefix + std::to_string(100000 + i) + ">";
        for (int i = 0; i < n; ++i) text += "</z>";
        return text + "</r>";
    };
    const std::string prefix(300, 'p');
    auto spent = [](const std::string& text, XMLTextReaderProbe::Search search) {
        XMLTextReader r;
        XMLTextReaderProbe::SetSearch(r, search);
        r.SetXmlData(text.data(), static_cast<int>(text.size()));
        return static_cast<double>(XMLTextReaderProbe::Spent(r));
    };
    for (int shape = 0; shape < 3; ++shape) {
        auto text = [&](int n) {
            return shape == 0 ? nested(n, "e", 0) : shape == 1 ? nested(n, prefix, 0) : nested(n / 8, prefix, 40 * n);
        };
        const std::string once = text(1000), twice = text(2000);
        const double shipped = spent(once, XMLTextReaderProbe::kAsShipped);
        EXPECT_LT(spent(twice, XMLTextReaderProbe::kAsShipped) / shipped, 2.5) << "shape " << shape;
        EXPECT_LT(shipped, 64.0 * once.size()) << "shape " << shape;
        EXPECT_GT(spent(twice, XMLTextReaderProbe::kLookBackOnly) / spent(once, XMLTextReaderProbe::kLookBackOnly), 3.5)
            << "shape " << shape;
    }
}

// The lobby's largest messages stay within the look-back's budget: no index.
TEST(XmlReader, ADeskListBuildsNoIndex) {
    std::string ops = "+GameMessage @game=Lobby +Message @name=DeskList +Room";
    for (int d = 0; d < 100; ++d) {
        ops += " +desk @id=" + std::to_string(d) + " @room=12";
        for (int s = 0; s < 3; ++s)
            ops += " +player @id=p" + std::to_string(d * 3 + s) + " @seat=" + std::to_string(s) + " -";
        ops += " -";
    }
    const std::string text = xmltest::Build(ops + " - - -");
    XMLTextReader r;
    r.SetXmlData(text.data(), static_cast<int>(text.size()));
    EXPECT_FALSE(XMLTextReaderProbe::Indexed(r));
}

TEST(XmlReader, CursorStatesAndWalkingPastTheEnds) {
    XMLTextReader r;
    r.SetXmlData("<a x=\"1\"><b/></a>", 17);
    EXPECT_EQ(r.Name(), "");  // before the first Read
    EXPECT_FALSE(r.HasAttributes());
    EXPECT_FALSE(r.MoveToNextAttribute());
    ASSERT_TRUE(r.Read());
    EXPECT_EQ(r.Name(), "a");
    EXPECT_TRUE(r.HasAttributes());
    ASSERT_TRUE(r.MoveToNextAttribute());
    EXPECT_EQ(r.Name(), "x");
    EXPECT_EQ(r.Value(), "1");
    EXPECT_FALSE(r.MoveToNextAttribute());
    EXPECT_FALSE(r.MoveToNextAttribute());
    EXPECT_EQ(r.Name(), "");  // past the attribute list
    EXPECT_EQ(r.Value(), "");
    ASSERT_TRUE(r.Read());
    EXPECT_FALSE(r.MoveToNextAttribute());  // no attributes: stays on the element
    EXPECT_EQ(r.Name(), "b");
    EXPECT_FALSE(r.Read());
    EXPECT_FALSE(r.Read());
    EXPECT_FALSE(r.HasAttributes());
    EXPECT_FALSE(r.MoveToNextAttribute());
    EXPECT_EQ(r.Name(), "");
    EXPECT_EQ(r.Value(), "");

    XMLTextReader empty;
    empty.SetXmlData("", 0);
    EXPECT_EQ(empty.GetRoot(), nullptr);
    EXPECT_FALSE(empty.Read());
    EXPECT_EQ(empty.Value(), "");
}

// SetXmlData puts the read cursor on the first element. After a text read
// whole the reader stands before it: nothing is read, and the first element's
// attributes wait for the Read that reaches it. A text that throws leaves the
// state on an element: the new text's first element, read where it stands.
TEST(XmlReader, TheFirstElementRightAfterSetXmlData) {
    XMLTextReader r;
    xmltest::SetExact(r, "<a x=\"1\" y=\"2\"/>");
    EXPECT_EQ(r.Name(), "");
    EXPECT_EQ(r.Value(), "");
    EXPECT_FALSE(r.MoveToNextAttribute());
    EXPECT_EQ(r.Name(), "");
    EXPECT_EQ(xmltest::Dump(r), "a(x=1,y=2)");

    for (const char* first : {"", "<p/><q/><s/>"}) {
        XMLTextReader thrown;
        if (*first) {
            xmltest::SetExact(thrown, first);
            thrown.Read();
            thrown.Read();  // on q
        }
        try {
            xmltest::SetExact(thrown, "<a x=\"1\"><b y=\"2\">");
            ADD_FAILURE() << "no throw";
        } catch (int* code) {
            delete code;
        }
        EXPECT_EQ(thrown.Name(), "a") << first;
        EXPECT_TRUE(thrown.HasAttributes()) << first;
        ASSERT_TRUE(thrown.MoveToNextAttribute()) << first;
        EXPECT_EQ(thrown.Name() + "=" + thrown.Value(), "x=1") << first;
        EXPECT_FALSE(thrown.MoveToNextAttribute()) << first;
        EXPECT_EQ(xmltest::Dump(thrown), "b(y=2)") << first;
    }
}

// An attribute added to the current element once its attributes have been
// walked comes under the cursor: the reader reads it where it stands.
TEST(XmlReader, AnAttributeAddedPastTheEndIsReadWhereTheCursorStands) {
    struct Add : XMLElement {
        static void To(XMLElement* e, const std::string& n, const std::string& v) {
            (e->*&Add::InsertNewAttribute)(n.data(), static_cast<unsigned>(n.size()), v.data(),
                                           static_cast<unsigned>(v.size()));
        }
    };
    XMLTextReader r;
    xmltest::SetExact(r, "<a x=\"1\"/>");
    ASSERT_TRUE(r.Read());
    ASSERT_TRUE(r.MoveToNextAttribute());
    EXPECT_FALSE(r.MoveToNextAttribute());
    Add::To(XMLTextReaderProbe::Elements(r)[0], "y", "2");
    EXPECT_EQ(r.Name() + "=" + r.Value(), "y=2");
    EXPECT_FALSE(r.MoveToNextAttribute());
    EXPECT_EQ(r.Name(), "");
}

TEST(XmlReader, ASecondTextReplacesTheFirst) {
    XMLTextReader r;
    try {
        r.SetXmlData("<a><b>", 6);
        ADD_FAILURE() << "no throw";
    } catch (int* code) {
        delete code;
    }
    r.SetXmlData("<c/>", 4);
    EXPECT_EQ(xmltest::Dump(r), "c");
}

// Truncated texts in a buffer of exactly their length (no NUL after them):
// every cut is rejected and nothing beyond the length is read.
TEST(XmlReader, EveryTruncationIsRejectedWithoutReadingPastTheLength) {
    const std::string full =
        "<GameMessage game=\"FENLO\"><Message name=\"ChuPai\"><card number=\"3\" suit=\"1\"/>"
        "<card number=\"17\" suit=\"0\"/></Message></GameMessage>";
    for (size_t n = 1; n < full.size(); ++n) {
        std::unique_ptr<char[]> cut(new char[n]);
        full.copy(cut.get(), n);
        EXPECT_EQ(Parse(cut.get(), static_cast<int>(n)).rfind("throw ", 0), 0u) << n;
    }
    EXPECT_EQ(Parse(full), "GameMessage(game=FENLO) Message(name=ChuPai) card(number=3,suit=1) card(number=17,suit=0)");
}

TEST(XmlReader, GarbageNeverCrashes) {
    std::mt19937 rng(7);
    const char alphabet[] = "<>/=\" ?ax\n";
    for (int i = 0; i < 3000; ++i) {
        std::vector<char> text(rng() % 40);
        for (char& c : text) c = rng() % 4 ? alphabet[rng() % (sizeof alphabet - 1)] : static_cast<char>(rng());
        Parse(text.data(), static_cast<int>(text.size()));
    }
    EXPECT_EQ(Parse(nullptr, 5), "");
    EXPECT_EQ(Parse("<a/>", -3), "");
}

}  // namespace
