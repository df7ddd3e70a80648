// Replay driver for fuzz targets in the ordinary native (sanitizer) build:
// runs LLVMFuzzerTestOneInput over every corpus file, then over a bounded
// number of seeded mutations of them. libFuzzer proper is the 'fuzz' preset.
// Each input is handed over in a block of exactly its size, as libFuzzer does,
// so that a read past its end is out of bounds for AddressSanitizer.
//
//   replay_<name> <corpus-dir-or-file>... [--mutations=N] [--seed=S]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/support/ExactBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

void Run(const Bytes& b) {
    const testsupport::ExactBytes exact(b.data(), b.size());
    LLVMFuzzerTestOneInput(exact.bytes(), exact.size());
}

void Load(const std::filesystem::path& p, std::vector<Bytes>& out) {
    if (std::filesystem::is_directory(p)) {
        for (const auto& e : std::filesystem::recursive_directory_iterator(p))
            if (e.is_regular_file()) Load(e.path(), out);
        return;
    }
    std::ifstream in(p, std::ios::binary);
    out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes Mutate(const std::vector<Bytes>& corpus, std::mt19937& rng) {
    Bytes b = corpus[rng() % corpus.size()];
    int steps = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < steps; ++i) {
        size_t n = b.size();
        switch (rng() % 6) {
            case 0: if (n) b[rng() % n] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
            case 1: if (n) b[rng() % n] = static_cast<uint8_t>(rng()); break;
            case 2: b.insert(b.begin() + (n ? rng() % (n + 1) : 0), static_cast<uint8_t>(rng())); break;
            case 3: if (n) b.erase(b.begin() + rng() % n); break;
            case 4: if (n) b.resize(rng() % n); break;  // truncate
            case 5: {  // splice in a piece of another input
                const Bytes& o = corpus[rng() % corpus.size()];
                if (!o.empty()) {
                    size_t from = rng() % o.size(), len = 1 + rng() % (o.size() - from);
                    b.insert(b.begin() + (n ? rng() % (n + 1) : 0), o.begin() + from, o.begin() + from + len);
                }
                break;
            }
        }
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Bytes> corpus;
    long mutations = 10000;
    unsigned seed = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--mutations=", 12) == 0) mutations = std::atol(argv[i] + 12);
        else if (std::strncmp(argv[i], "--seed=", 7) == 0) seed = static_cast<unsigned>(std::atol(argv[i] + 7));
        else Load(argv[i], corpus);
    }
    if (corpus.empty()) corpus.emplace_back();
    for (const Bytes& b : corpus) Run(b);
    std::mt19937 rng(seed);
    for (long i = 0; i < mutations; ++i) Run(Mutate(corpus, rng));
    std::printf("replayed %zu corpus inputs and %ld mutations\n", corpus.size(), mutations);
    return 0;
}
