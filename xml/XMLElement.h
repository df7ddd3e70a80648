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

    // An element whose attributes come from pool; the owner destroys it.
    static XMLElement* CreateNewElement(XMLPool& pool, const char* name, unsigned int length);
    // InsertNewAttribute on bytes known to hold no NUL.
    inline void AppendAttribute(const char* name, std::size_t nameLength, const char* value,
                                std::size_t valueLength);
    // MoveToNextAttribute, for the reader's and writer's loops.
    inline bool AdvanceCursor();

    std::string name_;
    std::string value_;
    XMLPool* pool_;  // null: attributes on the heap
    // The attributes in insertion order, linked through XMLAttribute::next_.
    XMLAttribute* firstAttribute_;
    XMLAttribute* lastAttribute_;
    std::size_t attributeCount_;
    // The cursor: an index, and the attribute at it (null unless started and
    // the index is below the count).
    bool cursorStarted_;
    std::size_t cursor_;
    XMLAttribute* current_;
    bool leaf_;
    XMLElement* firstChild_;
    XMLElement* nextSibling_;
};

inline void XMLElement::AppendAttribute(const char* name, std::size_t nameLength, const char* value,
                                        std::size_t valueLength) {
    XMLAttribute* a;
    if (pool_) {
        a = new (pool_->Allocate(sizeof(XMLAttribute))) XMLAttribute(name, nameLength, value, valueLength);
    } else {
        void* memory = ::operator new(sizeof(XMLAttribute));
        try {
            a = new (memory) XMLAttribute(name, nameLength, value, valueLength);
        } catch (...) {
            ::operator delete(memory);
            throw;
        }
    }
    if (lastAttribute_)
        lastAttribute_->next_ = a;
    else
        firstAttribute_ = a;
    lastAttribute_ = a;
    // A cursor standing past the last attribute now stands on the new one.
    if (cursorStarted_ && cursor_ == attributeCount_) current_ = a;
    ++attributeCount_;
}

inline bool XMLElement::AdvanceCursor() {
    if (attributeCount_ == 0) return false;
    if (!cursorStarted_) {
        cursorStarted_ = true;
        cursor_ = 0;
        current_ = firstAttribute_;
        return true;
    }
    if (cursor_ < attributeCount_) {
        ++cursor_;
        current_ = current_->next_;
    }
    return cursor_ < attributeCount_;
}
