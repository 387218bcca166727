// SPDX-License-Identifier: GPL-3.0-or-later
// The core pass over the runeword table: the sample data with everything
// ticked (the longest list), and synthetic tables to show it grows linearly.
#include "core/DataStore.h"
#include "core/FileStore.h"
#include "core/Roster.h"
#include "core/RunewordFilter.h"

#include <benchmark/benchmark.h>

#include <numeric>

using namespace glyphmoor;

namespace {

class SilentMessages final : public MessageSink {
public:
    MessageAnswer Show(const Message&) override { return MessageAnswer::Ok; }
};

std::vector<int> Every(int count)
{
    std::vector<int> all(static_cast<std::size_t>(count));
    std::iota(all.begin(), all.end(), 0);
    return all;
}

void LoadSample(DataStore& store)
{
    DiskFiles files(GLYPHMOOR_SAMPLE_DATA);
    SilentMessages messages;
    for (const ReferenceTable table : ReferenceTables)
        store.Load(table, {files, messages});
}

// The pass with every rune and item type ticked and a level-99 character:
// the longest list.
void FilterEverythingTicked(benchmark::State& state, const DataStore& store)
{
    Roster roster;
    roster.characters[0].SetNameAndClvl("Bench", 99);
    roster.characterCount = 1;
    roster.selectedCharacter = 0;
    const FilterSettings settings{AllRunes, SelectedCharacter, 0, 100, true};
    const std::vector<int> runes = Every(33);
    const std::vector<int> items = Every(18);
    std::vector<int> passed;
    for (auto _ : state) {
        FilterRunewords(store, runes, items, roster, settings, passed);
        benchmark::DoNotOptimize(passed.data());
    }
    state.counters["listed"] = static_cast<double>(passed.size());
}

void BM_FilterSampleData(benchmark::State& state)
{
    DataStore store(33, 18, 168, 6);
    LoadSample(store);
    FilterEverythingTicked(state, store);
    state.counters["runewords"] = store.GetRunewordCount();
}
BENCHMARK(BM_FilterSampleData);

// A table of `n` runewords over the sample runes and item types, each with
// 2 to 6 runes and 1 to 3 allowed item types.
void BM_FilterSynthetic(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    DataStore store(33, 18, n, 6);
    LoadSample(store);
    for (int i = 0; i < n; ++i) {
        Runeword& word = store.GetRuneword(i);
        word.SetStore(&store);
        word.SetName("Synthetic " + std::to_string(i));
        std::vector<int> runes;
        for (int r = 0; r < 2 + i % 5; ++r)
            runes.push_back((i * 7 + r * 5) % 33);
        std::vector<int> items;
        for (int t = 0; t < 1 + i % 3; ++t)
            items.push_back((i * 3 + t * 7) % 18);
        word.SetRunes(runes);
        word.SetItemTypes(items);
    }
    store.SetRunewordCount(n);
    FilterEverythingTicked(state, store);
    state.SetComplexityN(n);
}
BENCHMARK(BM_FilterSynthetic)->Arg(1000)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN);

void BM_LoadSampleData(benchmark::State& state)
{
    for (auto _ : state) {
        DataStore store(33, 18, 168, 6);
        LoadSample(store);
        benchmark::DoNotOptimize(store.GetRunewordCount());
    }
}
BENCHMARK(BM_LoadSampleData);

} // namespace
