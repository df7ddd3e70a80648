// Tessel.dll must export every member of its four classes, private ones included:
// the programs built against it import them by these names.
#include <cxxabi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>

#include "xml/XMLTextReader.h"

namespace {

void Replace(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at; (at = s.find(from)) != std::string::npos;) s.replace(at, from.size(), to);
}

std::set<std::string> DemangledExports(HMODULE module) {
    auto base = reinterpret_cast<const unsigned char*>(module);
    auto nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> out;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        int status = 0;
        char* plain = abi::__cxa_demangle(reinterpret_cast<const char*>(base + names[i]), nullptr, nullptr, &status);
        if (status != 0) continue;
        std::string s = plain;
        std::free(plain);
        Replace(s, "std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >", "string");
        Replace(s, "[abi:cxx11]", "");
        out.insert(s);
    }
    return out;
}

TEST(XmlExports, EveryMemberIsExported) {
    XMLTextReader linked;  // the import library brings the DLL in
    HMODULE dll = GetModuleHandleA("Tessel.dll");
    ASSERT_NE(dll, nullptr);
    std::set<std::string> exported = DemangledExports(dll);
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

}  // namespace
