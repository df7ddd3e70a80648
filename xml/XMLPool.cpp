#include "xml/XMLPool.h"

#include <new>

namespace {

const std::size_t kFirstBlock = 2048;

std::size_t RoundUp(std::size_t n) {
    const std::size_t align = alignof(std::max_align_t);
    return (n + align - 1) & ~(align - 1);
}

const std::size_t kHeader = RoundUp(2 * sizeof(void*));

}  // namespace

XMLPool::~XMLPool() {
    while (newest_) {
        Block* previous = newest_->previous;
        ::operator delete(newest_);
        newest_ = previous;
    }
}

void* XMLPool::Grow(std::size_t size) {
    std::size_t capacity = newest_ ? newest_->size * 2 : kFirstBlock;
    while (capacity < size) capacity *= 2;
    Block* block = static_cast<Block*>(::operator new(kHeader + capacity));
    block->previous = newest_;
    block->size = capacity;
    newest_ = block;
    at_ = reinterpret_cast<char*>(block) + kHeader + size;
    end_ = reinterpret_cast<char*>(block) + kHeader + capacity;
    return reinterpret_cast<char*>(block) + kHeader;
}

void XMLPool::Reset() {
    if (!newest_) return;
    while (Block* previous = newest_->previous) {
        newest_->previous = previous->previous;
        ::operator delete(previous);
    }
    at_ = reinterpret_cast<char*>(newest_) + kHeader;
    end_ = at_ + newest_->size;
}
