// The SDL2 backend's sound output behind PlaySoundA, over SDL audio. Without an audio device (a
// machine with no sound card, SDL's usual case on servers) a sound is silent and the call returns
// FALSE; it never shows or logs an error, and it never waits for the sound.
#include "shell/platform/winapi/sdl2/winmm_sound.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/sdl2/backendstate.h"
#include "shell/platform/winapi/winmm_playsound.h"

Sound::~Sound()
{
    if (device != 0) SDL_CloseAudioDevice(device);
    if (startedAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool Sound::HasDevice()
{
    if (state == DeviceState::Unopened) {
        state = DeviceState::Unavailable;
        if (SDL_WasInit(SDL_INIT_AUDIO) == 0) {
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
            startedAudio = true;
        }
        SDL_AudioSpec wanted{};
        wanted.freq = kRate;
        wanted.format = kFormat;
        wanted.channels = kChannels;
        wanted.samples = 1024;
        // No changes allowed: SDL converts to the hardware itself, so the cached samples always fit.
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (device == 0) return false;
        SDL_PauseAudioDevice(device, 0);
        state = DeviceState::Open;
    }
    return state == DeviceState::Open;
}

bool Sound::Play(const std::string& name)
{
    if (!HasDevice()) return false;
    auto found = sounds.find(name);
    if (found == sounds.end()) {
        std::vector<int16_t> samples = LoadWav(layer::WaveFileName(name));
        if (samples.empty()) samples = DefaultTone();
        found = sounds.emplace(name, std::move(samples)).first;
    }
    const std::vector<int16_t>& samples = found->second;
    // A new sound cuts off the one playing, as on Windows, so hits never pile up in the queue.
    SDL_ClearQueuedAudio(device);
    const Uint32 bytes = static_cast<Uint32>(samples.size() * sizeof(int16_t));
    return SDL_QueueAudio(device, samples.data(), bytes) == 0;
}

void Sound::Stop()
{
    if (device != 0) SDL_ClearQueuedAudio(device);
}

uint32_t Sound::QueuedBytes() const
{
    return device != 0 ? SDL_GetQueuedAudioSize(device) : 0;
}

const std::vector<int16_t>* Sound::Decoded(const std::string& name) const
{
    auto found = sounds.find(name);
    return found != sounds.end() ? &found->second : nullptr;
}

std::vector<int16_t> Sound::DefaultTone()
{
    // A 150 ms beep at 880 Hz, faded in and out over 5 ms so it starts and ends without a click.
    const int count = kRate * 150 / 1000;
    const int fade = kRate * 5 / 1000;
    const double pi = 3.14159265358979323846;
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double envelope =
            std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(count - 1 - i) / fade});
        const double value = 0.3 * envelope * std::sin(2.0 * pi * 880.0 * i / kRate);
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(value * 32767.0));
    }
    return samples;
}

std::vector<int16_t> Sound::LoadWav(const std::string& path)
{
    std::vector<int16_t> samples;
    SDL_AudioSpec wavFormat{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &wavFormat, &buffer, &length) == nullptr) return samples;

    // A minute of CD audio is far more than a hit sound needs; anything larger is not taken.
    const Uint32 largest = 60u * 44100u * 4u;
    SDL_AudioCVT cvt;
    if (length <= largest && SDL_BuildAudioCVT(&cvt, wavFormat.format, wavFormat.channels, wavFormat.freq,
                                               kFormat, kChannels, kRate) >= 0) {
        // The conversion works in place in a buffer large enough for its widest stage.
        std::vector<Uint8> work(static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult));
        std::copy(buffer, buffer + length, work.begin());
        cvt.buf = work.data();
        cvt.len = static_cast<int>(length);
        if (SDL_ConvertAudio(&cvt) == 0) {
            samples.resize(static_cast<size_t>(cvt.len_cvt) / sizeof(int16_t));
            std::memcpy(samples.data(), work.data(), samples.size() * sizeof(int16_t));
        }
    }
    SDL_FreeWAV(buffer);
    return samples;
}

bool layer::backend::PlaySoundFile(const std::string& path)
{
    std::unique_ptr<Sound>& sound = sdl2::State().sound;
    if (!sound) sound = std::make_unique<Sound>();
    return sound->Play(path);
}

void layer::backend::StopSound()
{
    if (Sound* sound = sdl2::State().sound.get()) sound->Stop();
}
