// Throughput of the equaliser's 512-point real transform, forward and the
// forward-multiply-inverse round trip that the engine runs per channel block.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/real_fft.h"

namespace {

std::vector<float> Noise(size_t n)
{
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (float& x : v)
        x = dist(rng);
    return v;
}

void BM_RealFftForward(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    eq::RealFft fft(n);
    const std::vector<float> input = Noise(n);
    std::vector<float> a(n);
    for (auto _ : state) {
        a = input;
        fft.Forward(a.data());
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(n * sizeof(float)));
}
BENCHMARK(BM_RealFftForward)->Arg(512)->Arg(1024)->Arg(4096);

void BM_RealFftInverse(benchmark::State& state)
{
    const size_t n = 512;
    eq::RealFft fft(n);
    const std::vector<float> input = Noise(n);
    std::vector<float> a(n);
    for (auto _ : state) {
        a = input;
        fft.Inverse(a.data());
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RealFftInverse);

// One channel block of the equaliser: forward, multiply by a filter spectrum, inverse.
void BM_ConvolutionBlock(benchmark::State& state)
{
    const size_t n = 512;
    eq::RealFft fft(n);
    std::vector<float> filter = Noise(n);
    const std::vector<float> input = Noise(n);
    std::vector<float> a(n);
    for (auto _ : state) {
        a = input;
        fft.Forward(a.data());
        eq::MultiplyPacked(a.data(), filter.data(), n);
        fft.Inverse(a.data());
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    // 255 new frames of one channel per block.
    state.SetItemsProcessed(state.iterations() * 255);
}
BENCHMARK(BM_ConvolutionBlock);

} // namespace

BENCHMARK_MAIN();
