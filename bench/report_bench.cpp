// The contents listing of a Project of 1,000,000 vertices (about 50 MB of text), against
// copying a text of the same size: the floor of any listing held in memory.
#include "model/project.h"
#include "report/report.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace meshforge;

namespace {

const Project& Vertices() {
    static const Project p = [] {
        Project s;
        std::mt19937 rng(11);
        std::uniform_real_distribution<float> coord(-5000, 5000);
        s.Vertices.reserve(1'000'000);
        for (int i = 0; i < 1'000'000; ++i)
            s.Vertices.push_back({coord(rng), coord(rng), coord(rng)});
        return s;
    }();
    return p;
}

void BM_ContentsListing(benchmark::State& st) {
    std::size_t bytes = 0;
    for (auto _ : st) {
        const Listing listing = ProjectListing(Vertices(), ListingKind::Contents);
        bytes = listing.Text().size();
        benchmark::DoNotOptimize(listing.LineCount());
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_ContentsListing)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CopyText(benchmark::State& st) {
    const std::string text = ProjectListing(Vertices(), ListingKind::Contents).Text();
    for (auto _ : st) {
        std::string copy = text;
        benchmark::DoNotOptimize(copy.data());
    }
    st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_CopyText)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
