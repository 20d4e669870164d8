// The bitmap loader against stb_image, SDL and a plain copy, on 2048 x 2048 pictures in the page
// cache: 24-bit (argument 24) and 8-bit with a 256-colour table (argument 8).
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "image/dibimage.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/support/bmpfile.h"

using bmpfile::operator+;

namespace {

constexpr int kSide = 2048;

struct Picture {
    std::string path;
    bmpfile::Bytes bytes;
};

std::map<int, Picture>& Pictures()
{
    static std::map<int, Picture> pictures;
    return pictures;
}

// A picture with detail everywhere, so no path gets an easy ride on flat colour.
uint8_t Pattern(int x, int y, int channel)
{
    uint32_t v =
        static_cast<uint32_t>(x * 73856093u) ^ static_cast<uint32_t>(y * 19349663u) ^ (channel * 83492791u);
    return static_cast<uint8_t>((x + y * channel) ^ (v >> 13));
}

bmpfile::Bytes MakeFile(int bitCount)
{
    bmpfile::Bytes table;
    if (bitCount == 8) {
        std::vector<bmpfile::Rgb> colours;
        for (int i = 0; i < 256; ++i) colours.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
        table = bmpfile::Table(colours);
    }
    const size_t rowBytes = (static_cast<size_t>(kSide) * bitCount / 8 + 3) / 4 * 4;
    bmpfile::Bytes pixels(rowBytes * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide * bitCount / 8; ++x) pixels[y * rowBytes + x] = Pattern(x, y, bitCount);
    }
    return bmpfile::File(bmpfile::InfoHeader({kSide, kSide, static_cast<uint16_t>(bitCount)}) + table,
                         pixels);
}

void BM_LoadDib(benchmark::State& state)
{
    const Picture& picture = Pictures().at(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RgbImage* image = LoadDibImage(picture.path.c_str());
        if (!image) {
            state.SkipWithError("the loader refused the picture");
            return;
        }
        benchmark::DoNotOptimize(image->data);
        std::free(image->data);
        std::free(image);
    }
}

void BM_Stb(benchmark::State& state)
{
    const Picture& picture = Pictures().at(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int w, h, n;
        unsigned char* data = stbi_load_from_memory(picture.bytes.data(),
                                                    static_cast<int>(picture.bytes.size()), &w, &h, &n, 3);
        if (!data) {
            state.SkipWithError("stb_image refused the picture");
            return;
        }
        benchmark::DoNotOptimize(data);
        stbi_image_free(data);
    }
}

void BM_SdlBmp(benchmark::State& state)
{
    const Picture& picture = Pictures().at(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SDL_RWops* rw = SDL_RWFromConstMem(picture.bytes.data(), static_cast<int>(picture.bytes.size()));
        SDL_Surface* loaded = SDL_LoadBMP_RW(rw, 1);
        SDL_Surface* rgb = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0) : nullptr;
        if (!rgb) {
            SDL_FreeSurface(loaded);
            state.SkipWithError("SDL refused the picture");
            return;
        }
        benchmark::DoNotOptimize(rgb->pixels);
        SDL_FreeSurface(rgb);
        SDL_FreeSurface(loaded);
    }
}

void BM_Memcpy(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(kSide) * kSide * 3;
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_LoadDib)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SdlBmp)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bmpfile::ScratchDir dir;
    for (int bitCount : {24, 8}) {
        Picture& picture = Pictures()[bitCount];
        picture.bytes = MakeFile(bitCount);
        picture.path = dir.Write("picture" + std::to_string(bitCount) + ".bmp", picture.bytes);
        // Read once through the file system so the loader's runs find it in the page cache.
        std::ifstream warm(picture.path, std::ios::binary);
        std::string ignored((std::istreambuf_iterator<char>(warm)), {});
    }
    // A refusal must not open a modal box in the middle of a run.
    testseam::RecordMessageBoxes(true);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
