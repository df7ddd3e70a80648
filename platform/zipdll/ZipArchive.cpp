#include "platform/zipdll/ZipArchive.h"
#include "platform/ByteOrder.h"

#include <zlib.h>

#include <algorithm>

namespace zip {

namespace {

const uint32_t kLocalSignature = 0x04034b50;
const uint32_t kCentralSignature = 0x02014b50;
const uint32_t kEndSignature = 0x06054b50;
const size_t kLocalSize = 30;
const size_t kCentralSize = 46;
const size_t kEndSize = 22;
const uint16_t kFlagEncrypted = 1;
const uint16_t kFlagUtf8 = 1 << 11;
const uint16_t kMethodStore = 0;
const uint16_t kMethodDeflate = 8;

void Put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>(v >> 8 & 0xFF));
}
void Put32(std::vector<unsigned char>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

uint32_t Crc(uint32_t crc, const unsigned char* p, size_t n) {
    while (n > 0) {
        const uInt piece = n > 0x40000000 ? 0x40000000 : static_cast<uInt>(n);
        crc = static_cast<uint32_t>(crc32(crc, p, piece));
        p += piece;
        n -= piece;
    }
    return crc;
}

}  // namespace

Status Reader::Open(const unsigned char* data, size_t size) {
    data_ = data;
    size_ = size;
    entries_.clear();
    if (size < kEndSize) return Status::kFormat;
    // The end record sits behind the directory, followed by a comment of at most 65535 bytes.
    size_t end = size - kEndSize;
    const size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
    for (;; --end) {
        if (ReadLe32(data + end) == kEndSignature && end + kEndSize + ReadLe16(data + end + 20) <= size) break;
        if (end == lowest) return Status::kFormat;
    }
    const unsigned char* e = data + end;
    const uint16_t count = ReadLe16(e + 10);
    const uint32_t directorySize = ReadLe32(e + 12);
    const uint32_t directoryOffset = ReadLe32(e + 16);
    if (ReadLe16(e + 4) != 0 || ReadLe16(e + 6) != 0 || ReadLe16(e + 8) != count) return Status::kUnsupported;
    if (count == 0xFFFF || directoryOffset == 0xFFFFFFFF) return Status::kUnsupported;
    if (directoryOffset > end || directorySize > end - directoryOffset) return Status::kFormat;

    size_t at = directoryOffset;
    const size_t limit = directoryOffset + directorySize;
    for (uint16_t i = 0; i < count; ++i) {
        if (limit - at < kCentralSize || ReadLe32(data + at) != kCentralSignature) return Status::kFormat;
        const unsigned char* c = data + at;
        const size_t variable = static_cast<size_t>(ReadLe16(c + 28)) + ReadLe16(c + 30) + ReadLe16(c + 32);
        if (limit - at - kCentralSize < variable) return Status::kFormat;
        Entry entry;
        entry.flags = ReadLe16(c + 8);
        entry.method = ReadLe16(c + 10);
        entry.crc = ReadLe32(c + 16);
        entry.compressedSize = ReadLe32(c + 20);
        entry.size = ReadLe32(c + 24);
        entry.localOffset = ReadLe32(c + 42);
        entry.name.assign(reinterpret_cast<const char*>(c + kCentralSize), ReadLe16(c + 28));
        entry.utf8 = (entry.flags & kFlagUtf8) != 0;
        entry.folder = !entry.name.empty() && entry.name.back() == '/';
        entries_.push_back(std::move(entry));
        at += kCentralSize + variable;
    }
    return Status::kOk;
}

Status Reader::Extract(const Entry& entry, const Sink& sink) const {
    if (entry.flags & kFlagEncrypted) return Status::kUnsupported;
    if (entry.method != kMethodStore && entry.method != kMethodDeflate) return Status::kUnsupported;
    const size_t at = entry.localOffset;
    if (at > size_ || size_ - at < kLocalSize || ReadLe32(data_ + at) != kLocalSignature) return Status::kFormat;
    const size_t start = at + kLocalSize + ReadLe16(data_ + at + 26) + ReadLe16(data_ + at + 28);
    if (start > size_ || size_ - start < entry.compressedSize) return Status::kFormat;
    const unsigned char* in = data_ + start;

    if (entry.method == kMethodStore) {
        if (entry.compressedSize != entry.size) return Status::kData;
        if (Crc(0, in, entry.size) != entry.crc) return Status::kData;
        return entry.size == 0 || sink(in, entry.size) ? Status::kOk : Status::kStopped;
    }

    z_stream z = {};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return Status::kData;
    std::vector<unsigned char> piece(64 * 1024);
    z.next_in = const_cast<unsigned char*>(in);
    z.avail_in = entry.compressedSize;
    uint32_t crc = 0;
    size_t produced = 0;
    Status status = Status::kData;
    for (;;) {
        z.next_out = piece.data();
        z.avail_out = static_cast<uInt>(piece.size());
        const int r = inflate(&z, Z_NO_FLUSH);
        const size_t n = piece.size() - z.avail_out;
        if (r != Z_OK && r != Z_STREAM_END) break;
        // More bytes than the directory announced: stop before handing them on.
        if (n > entry.size - produced) break;
        produced += n;
        crc = Crc(crc, piece.data(), n);
        if (n > 0 && !sink(piece.data(), n)) {
            status = Status::kStopped;
            break;
        }
        if (r == Z_STREAM_END) {
            if (produced == entry.size && crc == entry.crc) status = Status::kOk;
            break;
        }
        if (n == 0 && z.avail_in == 0) break;  // the input ended inside the stream
    }
    inflateEnd(&z);
    return status;
}

void Writer::SetTime(uint16_t dosDate, uint16_t dosTime) {
    date_ = dosDate;
    time_ = dosTime;
}

bool Writer::AddFile(const std::string& name, const void* data, size_t size, bool utf8) {
    if (!Room(name) || size > 0xFFFFFFF0u) return false;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    Entry entry;
    entry.name = name;
    entry.utf8 = utf8;
    entry.size = static_cast<uint32_t>(size);
    entry.crc = Crc(0, bytes, size);

    std::vector<unsigned char> packed(compressBound(static_cast<uLong>(size)) + 16);
    z_stream z = {};
    bool deflated = false;
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK) {
        z.next_in = const_cast<unsigned char*>(bytes);
        z.avail_in = static_cast<uInt>(size);
        z.next_out = packed.data();
        z.avail_out = static_cast<uInt>(packed.size());
        deflated = deflate(&z, Z_FINISH) == Z_STREAM_END && z.total_out < size;
        packed.resize(z.total_out);
        deflateEnd(&z);
    }
    if (deflated) {
        entry.method = kMethodDeflate;
        entry.compressedSize = static_cast<uint32_t>(packed.size());
        AddEntry(entry, packed.data(), packed.size());
    } else {
        entry.method = kMethodStore;
        entry.compressedSize = entry.size;
        AddEntry(entry, bytes, size);
    }
    return true;
}

bool Writer::AddFolder(const std::string& name, bool utf8) {
    Entry entry;
    entry.name = name.empty() || name.back() != '/' ? name + "/" : name;
    entry.utf8 = utf8;
    if (!Room(entry.name)) return false;
    AddEntry(entry, nullptr, 0);
    return true;
}

bool Writer::Room(const std::string& name) const { return count_ < 0xFFFE && !name.empty() && name.size() <= 0xFFFF; }

// The fields local and central headers share: version needed to extract up to
// the name length.
void Writer::PutShared(std::vector<unsigned char>& out, const Entry& entry) const {
    Put16(out, 20);
    Put16(out, entry.utf8 ? kFlagUtf8 : 0);
    Put16(out, entry.method);
    Put16(out, time_);
    Put16(out, date_);
    Put32(out, entry.crc);
    Put32(out, entry.compressedSize);
    Put32(out, entry.size);
    Put16(out, static_cast<uint16_t>(entry.name.size()));
}

void Writer::AddEntry(Entry entry, const unsigned char* stored, size_t storedSize) {
    entry.localOffset = static_cast<uint32_t>(out_.size());
    Put32(out_, kLocalSignature);
    PutShared(out_, entry);
    Put16(out_, 0);  // extra length
    out_.insert(out_.end(), entry.name.begin(), entry.name.end());
    if (storedSize > 0) out_.insert(out_.end(), stored, stored + storedSize);

    Put32(directory_, kCentralSignature);
    Put16(directory_, 20);  // made by: MS-DOS, version 2.0
    PutShared(directory_, entry);
    Put32(directory_, 0);                                       // extra and comment lengths
    Put32(directory_, 0);                                       // disk, internal attributes
    Put32(directory_, entry.name.back() == '/' ? 0x10 : 0x20);  // folder or archive attribute
    Put32(directory_, entry.localOffset);
    directory_.insert(directory_.end(), entry.name.begin(), entry.name.end());
    ++count_;
}

std::vector<unsigned char> Writer::Finish() {
    std::vector<unsigned char> archive;
    archive.swap(out_);
    const uint32_t offset = static_cast<uint32_t>(archive.size());
    archive.insert(archive.end(), directory_.begin(), directory_.end());
    Put32(archive, kEndSignature);
    Put32(archive, 0);  // disk numbers
    Put16(archive, count_);
    Put16(archive, count_);
    Put32(archive, static_cast<uint32_t>(directory_.size()));
    Put32(archive, offset);
    Put16(archive, 0);
    directory_.clear();
    count_ = 0;
    return archive;
}

}  // namespace zip
