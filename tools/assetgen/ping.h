// The brick's hit sound: a short, bright metallic ping, made from a few inharmonic partials that
// ring out quickly, the higher ones fastest, as a small struck metal bar does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Ping {
public:
    static constexpr int sampleRate = 44100;
    static constexpr float seconds = 0.3f;

    // Mono 16-bit samples; starts and ends at silence, so it does not click.
    std::vector<int16_t> Samples() const;
    // A 16-bit PCM mono WAVE file.
    std::vector<uint8_t> Wav() const;
    // The wave as a file; false when it cannot be written.
    bool WriteWav(const std::string& path) const;
};
