// The layer's sound output behind PlaySoundA: one SDL audio device, opened on the first sound, and
// the sounds decoded for it, cached by name so a file is read at most once. Internal to the layer;
// tests use it to look at what was queued.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class Sound {
public:
    // The device format; sounds are converted to it once, when they are first played.
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 1;
    static constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;

    Sound() = default;
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Starts "<name>.wav" from the working directory (or the name itself when it already ends in
    // ".wav"), or a short tone when there is no such file or it cannot be decoded, replacing whatever
    // is playing. Returns at once. False when there is no audio device or the device refused it.
    bool Play(const std::string& name);
    // Silences the device and drops what it still had to play.
    void Stop();

    // Opens the device on first use. Without one, every later call is silent and cheap: the device
    // is never asked for again.
    bool HasDevice();
    // Bytes the device still has to play.
    uint32_t QueuedBytes() const;
    // The samples decoded for name, or null when name has not been played.
    const std::vector<int16_t>* Decoded(const std::string& name) const;

    // The tone played in place of a missing sound.
    static std::vector<int16_t> DefaultTone();
    // The file's samples in the device format; empty when the file is missing or undecodable.
    static std::vector<int16_t> LoadWav(const std::string& path);

private:
    enum class DeviceState { Unopened, Open, Unavailable };

    DeviceState state = DeviceState::Unopened;
    bool startedAudio = false;
    SDL_AudioDeviceID device = 0;
    std::unordered_map<std::string, std::vector<int16_t>> sounds;
};
