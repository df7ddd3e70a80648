// The benchmark's reads, counted rather than timed: instruction counts do not
// depend on the processor. Reads one message COUNT times with one library
// (tessel or pugixml; Login, DeskList, ChuPai or GameResult), from the bench
// build folder:
//   valgrind --tool=callgrind --toggle-collect='Counted*' bin/xml_count tessel DeskList 1000
// The instructions collected divided by COUNT are one read: parse, visit every
// attribute value, free (callgrind_annotate --inclusive=yes splits them).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/xml/xml_messages.h"

// Out of line, so that callgrind collects exactly the reads.
static __attribute__((noinline)) size_t CountedTesselRead(const std::string& text) {
    return xmlbench::TesselRead(text);
}

static __attribute__((noinline)) size_t CountedPugiRead(const std::string& text) { return xmlbench::PugiRead(text); }

int main(int argc, char** argv) {
    using Make = xmlbench::Node (*)();
    const struct {
        const char* name;
        Make make;
    } messages[] = {{"Login", xmlbench::Login},
                    {"DeskList", xmlbench::DeskList},
                    {"ChuPai", xmlbench::ChuPai},
                    {"GameResult", xmlbench::GameResult}};
    Make make = nullptr;
    for (const auto& m : messages)
        if (argc == 4 && std::strcmp(argv[2], m.name) == 0) make = m.make;
    const bool tessel = argc == 4 && std::strcmp(argv[1], "tessel") == 0;
    if (!make || (!tessel && std::strcmp(argv[1], "pugixml") != 0)) {
        std::fprintf(stderr, "usage: xml_count tessel|pugixml Login|DeskList|ChuPai|GameResult COUNT\n");
        return 2;
    }
    const std::string text = xmlbench::TesselText(make());
    const long count = std::atol(argv[3]);
    size_t sum = 0;
    for (long i = 0; i < count; ++i) sum += tessel ? CountedTesselRead(text) : CountedPugiRead(text);
    std::printf("%ld reads, %zu value bytes\n", count, sum);
    return 0;
}
