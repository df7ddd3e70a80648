// Fuzz target: any bytes taken as a zip archive must open, list and extract
// without a fault, and no entry may hand out more than its announced size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/zipdll/ZipArchive.h"
#include "platform/zipdll/ZipPath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zip::Reader reader;
    if (reader.Open(data, size) != zip::Status::kOk) return 0;
    for (const zip::Entry& entry : reader.Entries()) {
        size_t total = 0;
        reader.Extract(entry, [&](const unsigned char*, size_t n) {
            total += n;
            if (total > entry.size) std::abort();
            return true;
        });
        std::wstring name(entry.name.begin(), entry.name.end()), path;
        zip::SafeRelativePath(name, path);
    }
    return 0;
}
