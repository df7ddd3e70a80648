// One element of an XML document: name, text, attributes and the first-child and
// next-sibling links. Elements are created only by the reader and the writer, which
// own them (in their pool); an element owns its attributes, kept in its owner's
// pool too, or on the heap for an element made by the factory.
#pragma once

#include <cstddef>
#include <new>
#include <string>

#include "xml/TesselApi.h"
#include "xml/XMLAttribute.h"
#include "xml/XMLBytes.h"
#include "xml/XMLPool.h"

class TESSEL_API XMLElement {
    friend class XMLTextReader;
    friend class XMLTextWriter;

public:
    // Elements share their attributes with nobody: copies are refused.
    XMLElement(const XMLElement&) = delete;
    XMLElement& operator=(const XMLElement&) = delete;
    ~XMLElement();

    std::string Name() const;
    void SetName(const std::string& name);
    std::string Value() const;
    void SetValue(const char* text, unsigned int length);

    XMLElement* FirstChild();
    XMLElement* NextSibling();

    bool HasAttributes();
    // Value of the first attribute with exactly this name; "" when there is none.
    std::string GetAttribute(const std::string& name);

protected:
    static XMLElement* CreateNewElement(const char* name, unsigned int length);

    void InsertNewAttribute(const char* name, unsigned int nameLength, const char* value, unsigned int valueLength);
    // One forward pass over the attributes: true while the cursor stands on one.
    // The cursor is never reset; once past the last attribute it stays there.
    bool MoveToNextAttribute();
    // The attribute under the cursor; null when the cursor stands on none.
    XMLAttribute* GetCurrentAttribute();

    bool IsLeaf();
    void SetLeaf(bool leaf);
    void SetFirstChild(XMLElement* child);
    void SetNextSibling(XMLElement* sibling);

private:
    explicit XMLElement(std::string& name);
    XMLElement(const char* name, unsigned int length, XMLPool* pool);
    // The name's bytes are known to hold no NUL.
    inline XMLElement(XMLPool& pool, const char* name, std::size_t length);

    // An element whose attributes come from pool; the owner destroys it.
    static XMLElement* CreateNewElement(XMLPool& pool, const char* name, unsigned int length);
    // The same, in the reader, on bytes known to hold no NUL.
    static inline XMLElement* CreateInPool(XMLPool& pool, const char* name, std::size_t length);
    // InsertNewAttribute on bytes known to hold no NUL.
    inline void AppendAttribute(const char* name, std::size_t nameLength, const char* value, std::size_t valueLength);
    // The same for an element whose attributes come from its pool (the reader's).
    [[gnu::always_inline]] inline void AppendInPool(const char* name, std::size_t nameLength, const char* value,
                                                    std::size_t valueLength);
    // Puts a after the last attribute.
    inline void Link(XMLAttribute* a);
    // MoveToNextAttribute, for the reader's and writer's loops.
    inline bool AdvanceCursor();

    std::string name_;
    std::string value_;
    XMLPool* pool_ = nullptr;  // null: attributes on the heap
    // The attributes in insertion order, linked through XMLAttribute::next_.
    XMLAttribute* firstAttribute_ = nullptr;
    XMLAttribute* lastAttribute_ = nullptr;
    std::size_t attributeCount_ = 0;
    // The cursor: the attribute under it, null before the first step and once
    // past the last attribute.
    bool cursorStarted_ = false;
    XMLAttribute* current_ = nullptr;
    bool leaf_ = false;
    XMLElement* firstChild_ = nullptr;
    XMLElement* nextSibling_ = nullptr;
};

inline void XMLElement::AppendAttribute(const char* name, std::size_t nameLength, const char* value,
                                        std::size_t valueLength) {
    if (pool_) return AppendInPool(name, nameLength, value, valueLength);
    void* memory = ::operator new(sizeof(XMLAttribute));
    XMLAttribute* a;
    try {
        a = new (memory) XMLAttribute(name, nameLength, value, valueLength);
    } catch (...) {
        ::operator delete(memory);
        throw;
    }
    Link(a);
}

inline void XMLElement::AppendInPool(const char* name, std::size_t nameLength, const char* value,
                                     std::size_t valueLength) {
    Link(new (pool_->Allocate(sizeof(XMLAttribute))) XMLAttribute(name, nameLength, value, valueLength));
}

inline void XMLElement::Link(XMLAttribute* a) {
    if (lastAttribute_)
        lastAttribute_->next_ = a;
    else
        firstAttribute_ = a;
    lastAttribute_ = a;
    // A cursor standing past the last attribute now stands on the new one.
    if (cursorStarted_ && !current_) current_ = a;
    ++attributeCount_;
}

inline bool XMLElement::AdvanceCursor() {
    if (cursorStarted_) {
        if (current_) current_ = current_->next_;
        return current_ != nullptr;
    }
    if (!firstAttribute_) return false;
    cursorStarted_ = true;
    current_ = firstAttribute_;
    return true;
}

inline XMLElement::XMLElement(XMLPool& pool, const char* name, std::size_t length)
    : name_(tessel::Bytes(name, length)), pool_(&pool) {}

inline XMLElement* XMLElement::CreateInPool(XMLPool& pool, const char* name, std::size_t length) {
    return new (pool.Allocate(sizeof(XMLElement))) XMLElement(pool, name, length);
}
