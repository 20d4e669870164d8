// What a brick hit costs the frame: the first sound opens the device and decodes the file; every
// later one only replaces what the device has queued.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "shell/platform/winapi/sdl2/winmm_sound.h"

namespace {

void UseDummyAudio()
{
    if (std::getenv("SDL_AUDIODRIVER") == nullptr) setenv("SDL_AUDIODRIVER", "dummy", 1);
}

void BM_FirstHitOpensAndDecodes(benchmark::State& state)
{
    UseDummyAudio();
    for (auto _ : state) {
        auto* sound = new Sound();
        benchmark::DoNotOptimize(sound->Play("PRES4YA"));
        state.PauseTiming();
        delete sound;  // closing waits for the device's thread; no frame pays for that
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstHitOpensAndDecodes)->Unit(benchmark::kMillisecond);

void BM_LaterHitReplacesTheQueue(benchmark::State& state)
{
    UseDummyAudio();
    Sound sound;
    sound.Play("PRES4YA");
    for (auto _ : state) benchmark::DoNotOptimize(sound.Play("PRES4YA"));
}
BENCHMARK(BM_LaterHitReplacesTheQueue)->Unit(benchmark::kMicrosecond);

void BM_DecodeWaveFile(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(Sound::LoadWav("PRES4YA.wav"));
}
BENCHMARK(BM_DecodeWaveFile)->Unit(benchmark::kMicrosecond);

}  // namespace
