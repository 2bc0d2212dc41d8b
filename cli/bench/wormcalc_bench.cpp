// Throughput of wormcalc: the --jsonl batch (JSON in, 34 result texts and the
// checks out, per design) and --sweep into --csv with its output discarded,
// each on one thread and on two.
#include <benchmark/benchmark.h>

#include <sstream>
#include <streambuf>

#include "cli/wormcalc.h"

namespace {

const char* kCoefficients = "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9";

// An output stream that throws everything away, as > /dev/null does.
class Discard : public std::streambuf {
 protected:
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

const std::string& ThousandDesigns() {
    static const std::string input = [] {
        const std::string line =
            R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78"})";
        std::string lines;
        for (int n = 0; n < 1000; ++n) lines += line + "\n";
        return lines;
    }();
    return input;
}

// Output collected in memory (the measure of earlier versions), on one
// thread and on two: the time is the wall's, the workers' work included.
void BM_JsonlDesigns(benchmark::State& state) {
    const std::string threads = std::to_string(state.range(0));
    for (auto _ : state) {
        std::istringstream in(ThousandDesigns());
        std::ostringstream out, err;
        wormgear::RunWormcalc({"--jsonl", "--threads", threads, "--coefficients", kCoefficients}, in, out, err, {},
                              '.');
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_JsonlDesigns)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Output discarded, as wormcalc --jsonl > results.jsonl spends it.
void BM_JsonlDesignsDiscarded(benchmark::State& state) {
    const std::string threads = std::to_string(state.range(0));
    Discard discard;
    for (auto _ : state) {
        std::istringstream in(ThousandDesigns());
        std::ostream out(&discard);
        std::ostringstream err;
        wormgear::RunWormcalc({"--jsonl", "--threads", threads, "--coefficients", kCoefficients}, in, out, err, {},
                              '.');
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_JsonlDesignsDiscarded)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// 20001 designs: the main base circle from 120 to 140 in steps of 0.001.
void BM_SweepCsvDiscarded(benchmark::State& state) {
    const std::string threads = std::to_string(state.range(0));
    Discard discard;
    for (auto _ : state) {
        std::istringstream in;
        std::ostream out(&discard);
        std::ostringstream err;
        const int status = wormgear::RunWormcalc(
            {"--centre-distance", "200", "--speed-ratio", "25", "--teeth", "50", "--starts", "2", "--pitch-diameter",
             "78", "--coefficients", kCoefficients, "--sweep", "base-diameter=120:140:0.001", "--csv", "--threads",
             threads},
            in, out, err, {}, '.');
        if (status != 0) state.SkipWithError("the sweep failed");
    }
    state.SetItemsProcessed(state.iterations() * 20001);
}
BENCHMARK(BM_SweepCsvDiscarded)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
