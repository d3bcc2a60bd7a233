// Times parsing, freeing and compact printing of the same documents with this project's JSON
// library, RapidJSON (DOM) and nlohmann::json, side by side in one run, and prints medians, ratios
// and whether the goals are met: parse, parse and free together, and print within their factors
// of RapidJSON's time at every size, and always faster than nlohmann::json.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "bench_documents.h"
#include "kestrum/json/json_document.h"
#include "kestrum/json/json_node.h"

namespace {

using Clock = std::chrono::steady_clock;

// ---- one adapter per library: Parse, Print (returns the printed size), Free ----

struct KestrumTree {
    static constexpr const char* kName = "kestrum tree";
    using Doc = JsonNode*;
    static Doc Parse(const std::string& text) { return json_parse(text.c_str()); }
    static size_t Print(const Doc& doc)
    {
        char* text = json_print_value(doc, 0, false);
        size_t touched = text != nullptr && text[0] != '\0' ? 1 : 0;
        json_free(text);
        return touched;
    }
    static void Free(Doc& doc) { json_delete(doc); }
};

struct KestrumDocument {
    static constexpr const char* kName = "kestrum document";
    using Doc = std::unique_ptr<jdoc::CJsonDocument>;
    static Doc Parse(const std::string& text) { return std::make_unique<jdoc::CJsonDocument>(text); }
    static size_t Print(const Doc& doc) { return doc->ToCompactText().size(); }
    static void Free(Doc& doc) { doc.reset(); }
};

struct RapidJson {
    static constexpr const char* kName = "rapidjson";
    using Doc = std::unique_ptr<rapidjson::Document>;
    static Doc Parse(const std::string& text)
    {
        Doc doc = std::make_unique<rapidjson::Document>();
        doc->Parse(text.c_str(), text.size());
        return doc;
    }
    static size_t Print(const Doc& doc)
    {
        rapidjson::StringBuffer buffer;
        rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
        doc->Accept(writer);
        return buffer.GetSize();
    }
    static void Free(Doc& doc) { doc.reset(); }
};

struct Nlohmann {
    static constexpr const char* kName = "nlohmann";
    using Doc = nlohmann::json;
    static Doc Parse(const std::string& text) { return nlohmann::json::parse(text); }
    static size_t Print(const Doc& doc) { return doc.dump().size(); }
    static void Free(Doc& doc) { doc = nullptr; }
};

// ---- timing ----

struct Timing {
    double parse = 0;  // microseconds per document
    double free = 0;
    double print = 0;
};

double Microseconds(Clock::time_point from, Clock::time_point to, int reps)
{
    return std::chrono::duration<double, std::micro>(to - from).count() / reps;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

size_t g_sink = 0;  // keeps the printed results alive for the optimiser

// Times of one sample: `reps` documents parsed, each printed, then all freed.
template <typename Library>
Timing Sample(const std::string& text, int reps)
{
    std::vector<typename Library::Doc> docs;
    docs.reserve(static_cast<size_t>(reps));
    Clock::time_point start = Clock::now();
    for (int i = 0; i < reps; ++i)
        docs.push_back(Library::Parse(text));
    Clock::time_point parsed = Clock::now();
    for (const typename Library::Doc& doc : docs)
        g_sink += Library::Print(doc);
    Clock::time_point printed = Clock::now();
    for (typename Library::Doc& doc : docs)
        Library::Free(doc);
    Clock::time_point freed = Clock::now();
    return Timing{Microseconds(start, parsed, reps), Microseconds(printed, freed, reps),
                  Microseconds(parsed, printed, reps)};
}

// A sample taken after an untimed one of the same library, so that the heap is in the state
// that library's own repeated use leaves, not in the state the previous library left.
template <typename Library>
Timing SteadySample(const std::string& text, int reps)
{
    Sample<Library>(text, reps);
    return Sample<Library>(text, reps);
}

// Median per column over the samples.
class Samples {
public:
    void Add(const Timing& t)
    {
        parse_.push_back(t.parse);
        free_.push_back(t.free);
        print_.push_back(t.print);
    }
    Timing Median() const { return Timing{::Median(parse_), ::Median(free_), ::Median(print_)}; }

private:
    std::vector<double> parse_, free_, print_;
};

void PrintRow(const char* name, const Timing& t, const Timing& rapid)
{
    std::printf("  %-17s %11.1f %11.1f %11.1f %9.2fx %9.2fx %9.2fx\n", name, t.parse, t.free, t.print,
                t.parse / rapid.parse, (t.parse + t.free) / (rapid.parse + rapid.free), t.print / rapid.print);
}

// Allowed factors of RapidJSON's time.
constexpr double kParseGoal = 1.5;
constexpr double kParseAndFreeGoal = 1.5;
constexpr double kPrintGoal = 1.2;

struct Verdict {
    bool parse = true;
    bool parse_and_free = true;
    bool print = true;
};

// Whether `ours` is within `factor` of RapidJSON's time and below nlohmann's.
bool Meets(double ours, double rapid, double nlohmann, double factor)
{
    return ours <= factor * rapid && ours < nlohmann;
}

Verdict RunDocument(const char* title, const std::string& text, int reps, int samples)
{
    std::printf("\n%s: %zu bytes, median of %d samples of %d documents\n", title, text.size(), samples, reps);
    std::printf("  %-17s %11s %11s %11s %10s %10s %10s\n", "library", "parse us", "free us", "print us", "parse/rj",
                "p+free/rj", "print/rj");
    // The libraries take turns within each sample, so that load from elsewhere on the machine
    // falls on all of them alike.
    Samples rapid_samples, tree_samples, document_samples, nlohmann_samples;
    for (int s = 0; s < samples; ++s) {
        rapid_samples.Add(SteadySample<RapidJson>(text, reps));
        tree_samples.Add(SteadySample<KestrumTree>(text, reps));
        document_samples.Add(SteadySample<KestrumDocument>(text, reps));
        nlohmann_samples.Add(SteadySample<Nlohmann>(text, reps));
    }
    Timing rapid = rapid_samples.Median();
    Timing tree = tree_samples.Median();
    Timing document = document_samples.Median();
    Timing nlohmann = nlohmann_samples.Median();
    PrintRow(KestrumTree::kName, tree, rapid);
    PrintRow(KestrumDocument::kName, document, rapid);
    PrintRow(RapidJson::kName, rapid, rapid);
    PrintRow(Nlohmann::kName, nlohmann, rapid);
    Verdict verdict;
    verdict.parse = Meets(tree.parse, rapid.parse, nlohmann.parse, kParseGoal);
    verdict.parse_and_free =
        Meets(tree.parse + tree.free, rapid.parse + rapid.free, nlohmann.parse + nlohmann.free, kParseAndFreeGoal);
    verdict.print = Meets(tree.print, rapid.print, nlohmann.print, kPrintGoal);
    return verdict;
}

void PrintGoal(const char* column, double factor, bool met)
{
    std::printf("goal %s <= %.1fx rapidjson and faster than nlohmann, kestrum tree at every size: %s\n", column, factor,
                met ? "met" : "NOT met");
}

bool BuiltWithSanitizers()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

}  // namespace

int main()
{
    if (BuiltWithSanitizers())
        std::printf("warning: built with sanitizers; timings are not representative\n");
    std::printf("times in microseconds per document; ratios against rapidjson (lower is better)\n");
    Verdict verdicts[] = {
        RunDocument("room-info answer", RoomInfoAnswer(), 2000, 21),
        RunDocument("user list", UserListAnswer(100 * 1024), 20, 21),
        RunDocument("generated document", LargeDocument(5 * 1024 * 1024), 1, 11),
    };
    Verdict all;
    for (const Verdict& v : verdicts) {
        all.parse = all.parse && v.parse;
        all.parse_and_free = all.parse_and_free && v.parse_and_free;
        all.print = all.print && v.print;
    }
    std::printf("\n");
    PrintGoal("parse", kParseGoal, all.parse);
    PrintGoal("parse+free", kParseAndFreeGoal, all.parse_and_free);
    PrintGoal("print", kPrintGoal, all.print);
    return g_sink == 0 ? 1 : 0;
}
