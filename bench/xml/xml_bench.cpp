// Write and read throughput on typical lobby and game messages, Tessel against
// pugixml. Both write the same trees without declaration or indentation; both
// read the text Tessel wrote and visit every attribute value. Then Tessel's read
// of texts of many elements named apart, at a count and at twice it: the time
// doubles with the count. The messages and reads are in xml_messages.h;
// xml_count.cpp counts the reads' instructions with callgrind (see there).
#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <string>

#include "bench/xml/xml_messages.h"
#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace {

using xmlbench::ChuPai;
using xmlbench::DeskList;
using xmlbench::GameResult;
using xmlbench::Login;
using xmlbench::Node;
using xmlbench::TesselText;
using xmlbench::Write;

void Write(pugi::xml_node parent, const Node& n) {
    pugi::xml_node e = parent.append_child(n.name.c_str());
    for (const auto& a : n.attrs) e.append_attribute(a.first.c_str()) = a.second.c_str();
    for (const Node& c : n.children) Write(e, c);
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

void TesselWrite(benchmark::State& state, Node (*make)()) {
    Node doc = make();
    size_t bytes = 0;
    for (auto _ : state) {
        XMLTextWriter w;
        Write(w, doc);
        unsigned int length = 0;
        unsigned char* data = w.GetXmlData(&length);
        benchmark::DoNotOptimize(data);
        bytes += length;
        delete[] data;
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void PugiWrite(benchmark::State& state, Node (*make)()) {
    Node doc = make();
    size_t bytes = 0;
    for (auto _ : state) {
        pugi::xml_document d;
        Write(d, doc);
        StringWriter out;
        d.save(out, "", pugi::format_raw | pugi::format_no_declaration);
        bytes += out.text.size();
        benchmark::DoNotOptimize(out.text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void TesselRead(benchmark::State& state, Node (*make)()) {
    std::string text = TesselText(make());
    for (auto _ : state) benchmark::DoNotOptimize(xmlbench::TesselRead(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void PugiRead(benchmark::State& state, Node (*make)()) {
    std::string text = TesselText(make());
    for (auto _ : state) benchmark::DoNotOptimize(xmlbench::PugiRead(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

#define MESSAGE_BENCHMARKS(msg)               \
    BENCHMARK_CAPTURE(TesselWrite, msg, msg); \
    BENCHMARK_CAPTURE(PugiWrite, msg, msg);   \
    BENCHMARK_CAPTURE(TesselRead, msg, msg);  \
    BENCHMARK_CAPTURE(PugiRead, msg, msg)

// n elements named apart, either each inside the one before (every closing
// tag asks for the newest element of a name that lies far back) or side by
// side in one root (the same bytes and elements, the name always close at
// hand): the two grow alike.
std::string NamedApart(int n, bool nested) {
    std::string text = nested ? "" : "<r>";
    for (int i = 0; i < n; ++i) text += "<e" + std::to_string(i) + (nested ? ">" : "></e" + std::to_string(i) + ">");
    if (nested)
        for (int i = n - 1; i >= 0; --i) text += "</e" + std::to_string(i) + ">";
    return nested ? text : text + "</r>";
}

void TesselReadNamedApart(benchmark::State& state, bool nested) {
    const std::string text = NamedApart(static_cast<int>(state.range(0)), nested);
    for (auto _ : state) {
        XMLTextReader r;
        r.SetXmlData(text.c_str(), static_cast<int>(text.size()));
        benchmark::DoNotOptimize(r.GetRoot());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(TesselReadNamedApart, Nested, true)->Arg(40000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TesselReadNamedApart, SideBySide, false)->Arg(40000)->Arg(80000)->Unit(benchmark::kMillisecond);

MESSAGE_BENCHMARKS(Login);
MESSAGE_BENCHMARKS(DeskList);
MESSAGE_BENCHMARKS(ChuPai);
MESSAGE_BENCHMARKS(GameResult);

}  // namespace

BENCHMARK_MAIN();
