#include <gtest/gtest.h>

#include <memory>

#include "xml/XMLAttribute.h"

namespace {

// The factory is protected: reach it the way the library's friends do.
struct AttributeFactory : XMLAttribute {
    static std::unique_ptr<XMLAttribute> Make(const std::string& name, const std::string& value) {
        return std::unique_ptr<XMLAttribute>(CreateNewAttribute(name, value));
    }
};

TEST(XmlAttribute, HoldsNameAndValueAsGivenBytes) {
    auto a = AttributeFactory::Make("nickname", "\xD5\xC5\xC8\xFD");  // GBK text, unchanged
    EXPECT_EQ(a->Name(), "nickname");
    EXPECT_EQ(a->Value(), "\xD5\xC5\xC8\xFD");
    auto empty = AttributeFactory::Make("money", "");
    EXPECT_EQ(empty->Value(), "");
}

TEST(XmlAttribute, AccessorsAreReferencesIntoTheAttribute) {
    auto a = AttributeFactory::Make("a", "1");
    a->Value() += "2";
    a->Name() = "b";
    EXPECT_EQ(a->Name(), "b");
    EXPECT_EQ(a->Value(), "12");
}

TEST(XmlAttribute, CopiesAreIndependent) {
    auto a = AttributeFactory::Make("seat", "0");
    XMLAttribute copy(*a);
    copy.Value() = "2";
    EXPECT_EQ(a->Value(), "0");
    *a = copy;
    EXPECT_EQ(a->Value(), "2");
}

}  // namespace
