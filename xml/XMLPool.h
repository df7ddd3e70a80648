// Memory for the elements and attributes of one reader or writer: carved from
// blocks that grow geometrically and are freed together.
#pragma once

#include <cstddef>

class XMLPool {
public:
    XMLPool() = default;
    XMLPool(const XMLPool&) = delete;
    XMLPool& operator=(const XMLPool&) = delete;
    ~XMLPool();

    // size bytes aligned for any object; never null (throws std::bad_alloc).
    void* Allocate(std::size_t size) {
        size = (size + kAlign - 1) & ~(kAlign - 1);
        if (static_cast<std::size_t>(end_ - at_) < size) return Grow(size);
        void* p = at_;
        at_ += size;
        return p;
    }
    // Frees every block but the newest (the largest), which is reused.
    void Reset();

private:
    static const std::size_t kAlign = alignof(std::max_align_t);

    struct Block {
        Block* previous;
        std::size_t size;
    };

    void* Grow(std::size_t size);

    Block* newest_ = nullptr;
    char* at_ = nullptr;
    char* end_ = nullptr;
};
