// Tessel.dll must export every member of its four classes, private ones included:
// the programs built against it import them by these names.
#include <cxxabi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <map>
#include <string>

#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace {

void Replace(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at; (at = s.find(from)) != std::string::npos;) s.replace(at, from.size(), to);
}

// Demangled name -> exported name.
std::map<std::string, std::string> Exports(HMODULE module) {
    auto base = reinterpret_cast<const unsigned char*>(module);
    auto nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::map<std::string, std::string> out;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        int status = 0;
        const char* raw = reinterpret_cast<const char*>(base + names[i]);
        char* plain = abi::__cxa_demangle(raw, nullptr, nullptr, &status);
        if (status != 0) continue;
        std::string s = plain;
        std::free(plain);
        Replace(s, "std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >", "string");
        Replace(s, "[abi:cxx11]", "");
        out[s] = raw;
    }
    return out;
}

TEST(XmlExports, EveryMemberIsExported) {
    XMLTextReader linked;  // the import library brings the DLL in
    HMODULE dll = GetModuleHandleA("Tessel.dll");
    ASSERT_NE(dll, nullptr);
    std::map<std::string, std::string> exported = Exports(dll);
    const char* members[] = {
        "XMLAttribute::XMLAttribute(string const&, string const&)",
        "XMLAttribute::XMLAttribute(XMLAttribute const&)",
        "XMLAttribute::operator=(XMLAttribute const&)",
        "XMLAttribute::~XMLAttribute()",
        "XMLAttribute::CreateNewAttribute(string const&, string const&)",
        "XMLAttribute::Name()",
        "XMLAttribute::Value()",
        "XMLElement::XMLElement(string&)",
        "XMLElement::~XMLElement()",
        "XMLElement::CreateNewElement(char const*, unsigned int)",
        "XMLElement::Name() const",
        "XMLElement::SetName(string const&)",
        "XMLElement::Value() const",
        "XMLElement::SetValue(char const*, unsigned int)",
        "XMLElement::FirstChild()",
        "XMLElement::NextSibling()",
        "XMLElement::HasAttributes()",
        "XMLElement::GetAttribute(string const&)",
        "XMLElement::InsertNewAttribute(char const*, unsigned int, char const*, unsigned int)",
        "XMLElement::MoveToNextAttribute()",
        "XMLElement::GetCurrentAttribute()",
        "XMLElement::IsLeaf()",
        "XMLElement::SetLeaf(bool)",
        "XMLElement::SetFirstChild(XMLElement*)",
        "XMLElement::SetNextSibling(XMLElement*)",
        "XMLTextReader::XMLTextReader()",
        "XMLTextReader::~XMLTextReader()",
        "XMLTextReader::SetXmlData(char const*, int)",
        "XMLTextReader::Read()",
        "XMLTextReader::MoveToNextAttribute()",
        "XMLTextReader::HasAttributes()",
        "XMLTextReader::Name()",
        "XMLTextReader::Value()",
        "XMLTextReader::GetRoot()",
        "XMLTextReader::InsertNewElement(XMLElement*)",
        "XMLTextReader::find_first_of(char const*, char, int, int)",
        "XMLTextReader::find_first_not_of(char const*, char, int, int)",
        "XMLTextReader::find_last_of(char const*, char, int, int)",
        "XMLTextReader::trim_left(char const*)",
        "XMLTextReader::trim_right(char const*)",
        "XMLTextWriter::XMLTextWriter()",
        "XMLTextWriter::~XMLTextWriter()",
        "XMLTextWriter::WriteStartElement(string)",
        "XMLTextWriter::WriteAttributeString(string const&, string const&)",
        "XMLTextWriter::WriteEndElement()",
        "XMLTextWriter::GetXmlData(unsigned int*)",
        "XMLTextWriter::WriteStringToCharArray(string const&, char*, unsigned int)",
    };
    for (const char* m : members) EXPECT_EQ(exported.count(m), 1u) << m;
}

// The private helpers, which only the exports reach: called as a program built
// against the DLL would, through their exported addresses.
#if defined(__i386__)
#define MEMBER_CALL __thiscall
#else
#define MEMBER_CALL
#endif
template <class Fn>
Fn Exported(const char* member) {
    HMODULE dll = GetModuleHandleA("Tessel.dll");
    const std::map<std::string, std::string> exported = Exports(dll);
    const auto found = exported.find(member);
    if (found == exported.end()) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dll, found->second.c_str())));
}

TEST(XmlExports, TheHelpersSearchTrimAndCopyAsTheyPromise) {
    XMLTextReader r;
    using Find = int(MEMBER_CALL*)(XMLTextReader*, const char*, char, int, int);
    using Trim = const char*(MEMBER_CALL*)(XMLTextReader*, const char*);
    Find firstOf = Exported<Find>("XMLTextReader::find_first_of(char const*, char, int, int)");
    Find firstNotOf = Exported<Find>("XMLTextReader::find_first_not_of(char const*, char, int, int)");
    Find lastOf = Exported<Find>("XMLTextReader::find_last_of(char const*, char, int, int)");
    Trim left = Exported<Trim>("XMLTextReader::trim_left(char const*)");
    Trim right = Exported<Trim>("XMLTextReader::trim_right(char const*)");
    ASSERT_TRUE(firstOf && firstNotOf && lastOf && left && right);
    const char text[] = "  a=b\0c=";
    // count + 1 bytes from start; -1 when none, or when a NUL comes first.
    EXPECT_EQ(firstOf(&r, text, '=', 0, 3), 3);
    EXPECT_EQ(firstOf(&r, text, '=', 0, 2), -1);
    EXPECT_EQ(firstOf(&r, text, 'c', 0, 7), -1) << "past the NUL";
    EXPECT_EQ(firstNotOf(&r, text, ' ', 0, 5), 2);
    EXPECT_EQ(firstNotOf(&r, "   ", ' ', 0, 2), -1);
    // Backwards from end down to start.
    EXPECT_EQ(lastOf(&r, text, ' ', 0, 4), 1);
    EXPECT_EQ(lastOf(&r, text, 'a', 3, 4), -1);
    EXPECT_EQ(lastOf(&r, text, '=', 0, 7), 7);
    EXPECT_EQ(lastOf(&r, text, 'a', 0, 7), -1) << "the NUL at 5 comes first";
    EXPECT_EQ(left(&r, text), text + 2);
    const char tag[] = "ab  >";
    EXPECT_EQ(right(&r, tag + 3), tag + 1) << "over blanks to the byte before them";
    EXPECT_EQ(right(&r, tag + 4), tag + 4) << "not a blank: itself";

    XMLTextWriter w;
    using Copy = void(MEMBER_CALL*)(XMLTextWriter*, const std::string&, char*, unsigned int);
    Copy copy = Exported<Copy>("XMLTextWriter::WriteStringToCharArray(string const&, char*, unsigned int)");
    ASSERT_NE(copy, nullptr);
    char buffer[8] = "xxxxxxx";
    copy(&w, std::string("ab"), buffer, 3);
    EXPECT_STREQ(buffer, "xxxabxx") << "the bytes at the offset, no NUL after them";
}

}  // namespace
