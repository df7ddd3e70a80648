// Zip archives in memory, over zlib: a reader that checks every offset and
// length against the archive's size before it uses it, and a writer.
// Supported: stored and deflated entries of one-disk archives below 4 GB; names
// in the OEM code page or, with general-purpose bit 11, in UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zip {

enum class Status {
    kOk,
    kFormat,       // not an archive, or a header lies outside it
    kUnsupported,  // encrypted, spanned, zip64, or a method other than store and deflate
    kData,         // compressed data, size or checksum wrong
    kStopped,      // the sink refused the bytes
};

struct Entry {
    std::string name;  // as stored; '/' separates folders
    bool utf8 = false;
    bool folder = false;  // the name ends with '/'
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t size = 0;
    uint32_t localOffset = 0;
};

// Receives the bytes of an entry in pieces; false stops the extraction.
using Sink = std::function<bool(const unsigned char* bytes, size_t length)>;

class Reader {
public:
    // data stays valid and unchanged for the life of the reader.
    Status Open(const unsigned char* data, size_t size);
    const std::vector<Entry>& Entries() const { return entries_; }
    // Hands the entry's bytes to sink; kOk only when they are complete and their
    // checksum is right (the sink may already have seen some bytes otherwise).
    Status Extract(const Entry& entry, const Sink& sink) const;

private:
    const unsigned char* data_ = nullptr;
    size_t size_ = 0;
    std::vector<Entry> entries_;
};

class Writer {
public:
    // DOS date and time of the entries that follow (default 1980-01-01 00:00).
    void SetTime(uint16_t dosDate, uint16_t dosTime);
    // Deflated, or stored when deflating does not make it smaller. False for an
    // empty name, or when the archive is full (65534 entries).
    bool AddFile(const std::string& name, const void* data, size_t size, bool utf8 = false);
    bool AddFolder(const std::string& name, bool utf8 = false);  // a '/' is appended when missing
    // The finished archive; the writer is empty afterwards.
    std::vector<unsigned char> Finish();

private:
    bool Room(const std::string& name) const;
    void PutShared(std::vector<unsigned char>& out, const Entry& entry) const;
    void AddEntry(Entry entry, const unsigned char* stored, size_t storedSize);

    std::vector<unsigned char> out_;
    std::vector<unsigned char> directory_;
    uint16_t count_ = 0;
    uint16_t date_ = 0x21;
    uint16_t time_ = 0;
};

}  // namespace zip
