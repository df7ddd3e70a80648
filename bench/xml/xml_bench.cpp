// Write and read throughput on typical lobby and game messages, Tessel against
// pugixml. Both write the same trees without declaration or indentation; both
// read the text Tessel wrote and visit every attribute value. Then Tessel's read
// of texts of many elements named apart, at a count and at twice it: the time
// doubles with the count.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace {

struct Node {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attrs;
    std::vector<Node> children;
};

Node Message(const std::string& game, const std::string& name, std::vector<Node> data) {
    Node message{"Message", {{"name", name}, {"type", "Request"}}, std::move(data)};
    return Node{"GameMessage", {{"game", game}}, {std::move(message)}};
}

Node Login() {
    return Message("Lobby", "Login",
                   {{"player", {{"id", "zhangsan"}, {"version", "2.0.1.5"}, {"gamename", "FENLO"}}, {}}});
}

// A room of 30 desks with three players each, as the lobby receives it.
Node DeskList() {
    Node room{"Room", {{"flag", "True"}}, {}};
    for (int d = 1; d <= 30; ++d) {
        Node desk{"desk",
                  {{"name", std::to_string(d)}, {"room", "12"}, {"id", std::to_string(d)}, {"x", ""}, {"f", "false"}},
                  {}};
        for (int s = 0; s < 3; ++s)
            desk.children.push_back({"player",
                                     {{"id", "player" + std::to_string(d * 3 + s)},
                                      {"nick", "\xD5\xC5\xC8\xFD"},
                                      {"seat", std::to_string(s)},
                                      {"f", "False"},
                                      {"n", "1"}},
                                     {}});
        room.children.push_back(std::move(desk));
    }
    return Message("Lobby", "DeskList", {std::move(room)});
}

Node ChuPai() {
    std::vector<Node> data{{"player", {{"id", "7"}}, {}}};
    for (int n : {5, 5, 5, 9, 9}) data.push_back({"card", {{"number", std::to_string(n)}, {"suit", "1"}}, {}});
    return Message("FENLO", "ChuPai", std::move(data));
}

Node GameResult() {
    std::vector<Node> players;
    for (int p = 0; p < 3; ++p) {
        Node player{"player", {{"id", std::to_string(p)}, {"money", "-200"}, {"score", "3"}}, {}};
        for (int c = 0; c < 8; ++c)
            player.children.push_back(
                {"card", {{"number", std::to_string(3 + c)}, {"suit", std::to_string(c % 4)}}, {}});
        players.push_back(std::move(player));
    }
    return Message("FENLO", "GameResult", std::move(players));
}

void Write(XMLTextWriter& w, const Node& n) {
    w.WriteStartElement(n.name);
    for (const auto& a : n.attrs) w.WriteAttributeString(a.first, a.second);
    for (const Node& c : n.children) Write(w, c);
    w.WriteEndElement();
}

std::string TesselText(const Node& n) {
    XMLTextWriter w;
    Write(w, n);
    unsigned int length = 0;
    unsigned char* data = w.GetXmlData(&length);
    std::string text(reinterpret_cast<char*>(data), length);
    delete[] data;
    return text;
}

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
    for (auto _ : state) {
        XMLTextReader r;
        r.SetXmlData(text.c_str(), static_cast<int>(text.size()));
        size_t sum = 0;
        while (r.Read())
            while (r.MoveToNextAttribute()) sum += r.Value().size();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Visit(pugi::xml_node n, size_t& sum) {
    for (pugi::xml_attribute a : n.attributes()) sum += std::char_traits<char>::length(a.value());
    for (pugi::xml_node c : n.children()) Visit(c, sum);
}

void PugiRead(benchmark::State& state, Node (*make)()) {
    std::string text = TesselText(make());
    for (auto _ : state) {
        pugi::xml_document d;
        d.load_buffer(text.data(), text.size());
        size_t sum = 0;
        Visit(d, sum);
        benchmark::DoNotOptimize(sum);
    }
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
