#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "xml/XMLElement.h"

namespace {

// The factory and cursor are for the reader and writer: reach them as a subclass does.
struct E : XMLElement {
    static std::unique_ptr<XMLElement> Make(const char* name, unsigned int length) {
        return std::unique_ptr<XMLElement>(CreateNewElement(name, length));
    }
    static bool Next(XMLElement* e) { return (e->*&E::MoveToNextAttribute)(); }
    static XMLAttribute* Current(XMLElement* e) { return (e->*&E::GetCurrentAttribute)(); }
    static bool Leaf(XMLElement* e) { return (e->*&E::IsLeaf)(); }
    static void MarkLeaf(XMLElement* e) { (e->*&E::SetLeaf)(true); }
    static void Link(XMLElement* e, XMLElement* child, XMLElement* sibling) {
        (e->*&E::SetFirstChild)(child);
        (e->*&E::SetNextSibling)(sibling);
    }
    static void Add(XMLElement* e, const std::string& n, const std::string& v, unsigned cut = ~0u) {
        (e->*&E::InsertNewAttribute)(n.data(), std::min<unsigned>(cut, n.size()), v.data(), v.size());
    }
};

TEST(XmlElement, FactoryAndSetValueTakeLengthBytesUpToANul) {
    auto e = E::Make("player/x", 6);
    EXPECT_EQ(e->Name(), "player");
    EXPECT_EQ(e->Value(), "");
    EXPECT_FALSE(E::Leaf(e.get()));
    EXPECT_EQ(e->FirstChild(), nullptr);
    EXPECT_EQ(e->NextSibling(), nullptr);
    EXPECT_EQ(E::Make("ab\0cd", 5)->Name(), "ab");
    e->SetValue("text", 0);
    EXPECT_EQ(e->Value(), "");
    e->SetValue("te\0xt", 5);
    EXPECT_EQ(e->Value(), "te");
    E::Add(e.get(), "idx",
           std::string("7\0"
                       "8",
                       3),
           2);
    EXPECT_EQ(e->GetAttribute("id"), "7");
    e->SetName("card");
    EXPECT_EQ(e->Name(), "card");
}

TEST(XmlElement, CursorWalksAttributesOnceAndStaysPastTheEnd) {
    auto none = E::Make("a", 1);
    EXPECT_FALSE(none->HasAttributes());
    EXPECT_FALSE(E::Next(none.get()));
    EXPECT_EQ(E::Current(none.get()), nullptr);

    auto e = E::Make("a", 1);
    E::Add(e.get(), "a", "1");
    E::Add(e.get(), "b", "2");
    E::Add(e.get(), "c", "3");
    EXPECT_TRUE(e->HasAttributes());
    EXPECT_EQ(E::Current(e.get()), nullptr);  // not started
    for (const char* name : {"a", "b", "c"}) {
        ASSERT_TRUE(E::Next(e.get()));
        EXPECT_EQ(E::Current(e.get())->Name(), name);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(E::Next(e.get()));
        EXPECT_EQ(E::Current(e.get()), nullptr);
    }
}

// A cursor past the last attribute stands on one added then; the next step
// passes it, as it passes any last attribute.
TEST(XmlElement, AnAttributeAddedPastTheEndComesUnderTheCursor) {
    auto e = E::Make("a", 1);
    E::Add(e.get(), "a", "1");
    ASSERT_TRUE(E::Next(e.get()));
    EXPECT_FALSE(E::Next(e.get()));
    EXPECT_FALSE(E::Next(e.get()));
    E::Add(e.get(), "b", "2");
    ASSERT_NE(E::Current(e.get()), nullptr);
    EXPECT_EQ(E::Current(e.get())->Name(), "b");
    EXPECT_FALSE(E::Next(e.get()));
    EXPECT_EQ(E::Current(e.get()), nullptr);

    // Added while the cursor stands on the last one: the next step reaches it.
    E::Add(e.get(), "c", "3");
    E::Add(e.get(), "d", "4");
    EXPECT_EQ(E::Current(e.get())->Name(), "c");
    ASSERT_TRUE(E::Next(e.get()));
    EXPECT_EQ(E::Current(e.get())->Name(), "d");
}

TEST(XmlElement, GetAttributeTakesTheFirstExactMatch) {
    auto e = E::Make("a", 1);
    E::Add(e.get(), "id", "1");
    E::Add(e.get(), "id", "2");
    E::Add(e.get(), "", "empty-name");
    EXPECT_EQ(e->GetAttribute("id"), "1");
    EXPECT_EQ(e->GetAttribute("ID"), "");
    EXPECT_EQ(e->GetAttribute("missing"), "");
    EXPECT_EQ(e->GetAttribute(""), "empty-name");
    // Lookups by name leave the cursor where it was.
    EXPECT_TRUE(E::Next(e.get()));
    EXPECT_EQ(E::Current(e.get())->Value(), "1");
}

TEST(XmlElement, LinksAndLeafAreSetNotOwned) {
    auto a = E::Make("a", 1), b = E::Make("b", 1), c = E::Make("c", 1);
    E::Link(a.get(), b.get(), nullptr);
    E::Link(b.get(), nullptr, c.get());
    E::MarkLeaf(a.get());
    EXPECT_EQ(a->FirstChild(), b.get());
    EXPECT_EQ(a->FirstChild()->NextSibling(), c.get());
    EXPECT_TRUE(E::Leaf(a.get()));
    a.reset();  // deleting a leaves b and c alone (ASan would report otherwise)
    EXPECT_EQ(b->NextSibling(), c.get());
}

}  // namespace
