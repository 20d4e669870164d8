#include "tools/assetgen/ping.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/filebytes.h"

namespace {

struct Partial {
    float frequency;
    float amplitude;
    float decaySeconds;
};

// The ratios 1 : 2.756 : 5.404 are those of a bar free at both ends, which is what sounds metallic.
const Partial partials[] = {
    {1480.0f, 1.00f, 0.080f},
    {1480.0f * 2.756f, 0.55f, 0.045f},
    {1480.0f * 5.404f, 0.30f, 0.025f},
    {1480.0f * 1.003f, 0.35f, 0.090f},  // a slightly detuned twin gives the shimmer
};

const float attackSeconds = 0.0015f;
const float releaseSeconds = 0.01f;
const float peak = 0.8f;

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<int16_t> Ping::Samples() const
{
    const int count = static_cast<int>(seconds * sampleRate);
    std::vector<float> wave(static_cast<size_t>(count));
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < count; ++i) {
        const float time = static_cast<float>(i) / sampleRate;
        float value = 0.0f;
        for (const Partial& partial : partials) {
            value += partial.amplitude * std::exp(-time / partial.decaySeconds) *
                     static_cast<float>(std::sin(2.0 * pi * partial.frequency * time));
        }
        const float attack = std::min(1.0f, time / attackSeconds);
        const float release = std::min(1.0f, (seconds - time) / releaseSeconds);
        wave[static_cast<size_t>(i)] = value * attack * std::max(0.0f, release);
    }

    float loudest = 0.0f;
    for (float value : wave) loudest = std::max(loudest, std::fabs(value));
    const float scale = loudest > 0.0f ? peak * 32767.0f / loudest : 0.0f;
    std::vector<int16_t> samples(wave.size());
    for (size_t i = 0; i < wave.size(); ++i) samples[i] = static_cast<int16_t>(std::lround(wave[i] * scale));
    return samples;
}

std::vector<uint8_t> Ping::Wav() const
{
    const std::vector<int16_t> samples = Samples();
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    const uint16_t channels = 1;
    const uint16_t bits = 16;
    const uint16_t blockAlign = channels * bits / 8;

    std::vector<uint8_t> file;
    PutTag(file, "RIFF");
    PutLittleEndian(file, 4 + 8 + 16 + 8 + dataBytes, 4);
    PutTag(file, "WAVE");
    PutTag(file, "fmt ");
    PutLittleEndian(file, 16, 4);
    PutLittleEndian(file, 1, 2);  // PCM
    PutLittleEndian(file, channels, 2);
    PutLittleEndian(file, sampleRate, 4);
    PutLittleEndian(file, sampleRate * blockAlign, 4);
    PutLittleEndian(file, blockAlign, 2);
    PutLittleEndian(file, bits, 2);
    PutTag(file, "data");
    PutLittleEndian(file, dataBytes, 4);
    for (int16_t sample : samples) PutLittleEndian(file, static_cast<uint16_t>(sample), 2);

    return file;
}

bool Ping::WriteWav(const std::string& path) const
{
    return WriteFileBytes(path, Wav());
}
