// A copy of some bytes that ends where they end: a heap block of exactly their
// size, so that AddressSanitizer reports a read one byte past them (a
// std::string's NUL or a vector's spare room would hide it). Header only: the
// XML tests and the fuzz replay share it.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>

namespace testsupport {

class ExactBytes {
public:
    ExactBytes(const void* bytes, std::size_t size)
        : block_(new char[size ? size : 1]), data_(size ? block_.get() : block_.get() + 1), size_(size) {
        if (size) std::memcpy(block_.get(), bytes, size);
    }
    ExactBytes(const ExactBytes&) = delete;
    ExactBytes& operator=(const ExactBytes&) = delete;

    // Never null. No bytes: the end of a block of one byte, as ASan lets the
    // one byte it gives a block of none be read.
    const char* data() const { return data_; }
    const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(data_); }
    std::size_t size() const { return size_; }

private:
    std::unique_ptr<char[]> block_;
    const char* data_;
    std::size_t size_;
};

}  // namespace testsupport
