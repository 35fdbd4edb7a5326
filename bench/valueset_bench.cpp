#include "valuesets/profile.h"
#include "valuesets/resistor_set.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::string kHugeRange = "[Resistors]\nLabel=Big\nMinIndex=1\nMaxIndex=2000000000\n"
                               "R1=1\nR1000000=2.2\nR2000000000=4.7\n";

std::string E192Path() {
    return std::string(OHMTRIM_SOURCE_DIR) + "/data/E192.val";
}

std::string ReadAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_HugeIndexRangeFromText(benchmark::State& state) {
    for (auto _ : state) {
        ohmtrim::ResistorSet set;
        if (!set.LoadFromText(kHugeRange))
            state.SkipWithError(set.errorText().c_str());
        benchmark::DoNotOptimize(set.count());
    }
}
BENCHMARK(BM_HugeIndexRangeFromText);

void BM_HugeIndexRangeFromFile(benchmark::State& state) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("ohmtrim-bench-" + std::to_string(::getpid()) + ".val");
    {
        std::ofstream out(file, std::ios::binary);
        out << kHugeRange;
    }
    for (auto _ : state) {
        ohmtrim::ResistorSet set;
        if (!set.Load(file))
            state.SkipWithError(set.errorText().c_str());
        benchmark::DoNotOptimize(set.count());
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
}
BENCHMARK(BM_HugeIndexRangeFromFile);

void BM_E192FromFile(benchmark::State& state) {
    const std::string file = E192Path();
    for (auto _ : state) {
        ohmtrim::ResistorSet set;
        if (!set.Load(file))
            state.SkipWithError(set.errorText().c_str());
        benchmark::DoNotOptimize(set.count());
    }
}
BENCHMARK(BM_E192FromFile);

void BM_E192FromText(benchmark::State& state) {
    const std::string text = ReadAll(E192Path());
    for (auto _ : state) {
        ohmtrim::ResistorSet set;
        if (!set.LoadFromText(text))
            state.SkipWithError(set.errorText().c_str());
        benchmark::DoNotOptimize(set.count());
    }
}
BENCHMARK(BM_E192FromText);

// What trying every n of the index range costs: one key lookup per n on the
// three-key file. Multiply by 2e9 / range for the time a loader that probes
// every index would need on the huge range above.
void BM_ProbeEveryIndex(benchmark::State& state) {
    const ohmtrim::ProfileFile profile = ohmtrim::ProfileFile::FromText(kHugeRange);
    const int range = static_cast<int>(state.range(0));
    for (auto _ : state) {
        int found = 0;
        for (int n = 1; n <= range; ++n) {
            char key[16];
            std::snprintf(key, sizeof key, "R%u", static_cast<unsigned>(n));
            found += profile.GetString("Resistors", key, "", 23).empty() ? 0 : 1;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * range);
}
BENCHMARK(BM_ProbeEveryIndex)->Arg(100000);

} // namespace
