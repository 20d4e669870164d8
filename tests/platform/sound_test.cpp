#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/platform/winapi/sdl2/winmm_sound.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/platform/platform.h"

namespace {

// Each test runs in a process of its own, so each may pick its audio driver before SDL starts.
void UseAudioDriver(const char* name)
{
    setenv("SDL_AUDIODRIVER", name, 1);
}

std::string TempPath(const std::string& name)
{
    return "/tmp/soundtest-" + std::to_string(getpid()) + "-" + name;
}

// A PCM wave file of 8-bit unsigned or 16-bit signed samples, interleaved by channel.
std::string WriteWav(const std::string& name, int rate, int channels, int bits,
                     const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out;
    const auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    const auto tag = [&out](const char* text) { out.insert(out.end(), text, text + 4); };
    tag("RIFF"), put(static_cast<uint32_t>(36 + data.size()), 4), tag("WAVE"), tag("fmt "), put(16, 4),
        put(1, 2);
    put(channels, 2), put(rate, 4), put(rate * channels * bits / 8, 4), put(channels * bits / 8, 2),
        put(bits, 2);
    tag("data"), put(static_cast<uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    const std::string path = TempPath(name);
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    return path;
}

std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples)
{
    const auto* p = reinterpret_cast<const uint8_t*>(samples.data());
    return std::vector<uint8_t>(p, p + samples.size() * 2);
}

TEST(Sound, RecordingSeamTakesTheNameInsteadOfPlaying)
{
    UseAudioDriver("no-such-driver");
    testseam::RecordSounds(true);
    EXPECT_EQ(PlaySoundA("PRES4YA", nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(PlaySoundA("other", nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(testseam::TakeSounds(), (std::vector<std::string>{"PRES4YA", "other"}));
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "recording must not open the audio device";
    testseam::RecordSounds(false);
}

TEST(Sound, FilesAreDecodedOnceIntoTheDeviceFormatAndQueuedWithoutWaiting)
{
    UseAudioDriver("dummy");
    std::vector<int16_t> samples(22050);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i % 100) * 300 - 15000);
    const std::string same = WriteWav("same.wav", Sound::kRate, 1, 16, Bytes(samples));
    // 8-bit stereo at half the rate: loud left, silent right.
    std::vector<uint8_t> stereo;
    for (int i = 0; i < 2205; ++i) stereo.insert(stereo.end(), {uint8_t(i % 2 ? 28 : 228), 128});
    const std::string other = WriteWav("other.wav", 22050, 2, 8, stereo);

    Sound sound;
    const std::string name = same.substr(0, same.size() - 4);  // ".wav" is added
    ASSERT_TRUE(sound.Play(name));
    std::remove(same.c_str());
    ASSERT_TRUE(sound.Play(name));  // from the cache: the file is gone
    EXPECT_EQ(*sound.Decoded(name), samples);
    // Queued, not waited for; and the second play replaced the first rather than adding to it.
    EXPECT_GT(sound.QueuedBytes(), 0u);
    EXPECT_LE(sound.QueuedBytes(), samples.size() * 2);

    ASSERT_TRUE(sound.Play(other));  // a name with its extension is taken as it is
    std::remove(other.c_str());
    const std::vector<int16_t>& converted = *sound.Decoded(other);
    EXPECT_NEAR(static_cast<double>(converted.size()), 4410.0, 64.0);
    int peak = 0;
    for (int16_t s : converted) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 5000);
    sound.Stop();
    EXPECT_EQ(sound.QueuedBytes(), 0u);
}

TEST(Sound, MissingOrBrokenFilesPlayTheDefaultTone)
{
    UseAudioDriver("dummy");
    const std::string broken = TempPath("broken.wav");
    FILE* file = std::fopen(broken.c_str(), "wb");
    std::fputs("RIFF\x10\0\0\0WAVEnot really a sound", file);
    std::fclose(file);
    const std::string empty = WriteWav("empty.wav", 8000, 1, 8, {});

    const std::vector<int16_t> tone = Sound::DefaultTone();
    int peak = 0;
    for (int16_t s : tone) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 3000);
    EXPECT_LT(std::abs(tone.front()), 100) << "it should fade in, not click";
    EXPECT_LT(std::abs(tone.back()), 100) << "it should fade out, not click";

    Sound sound;
    for (const std::string& name : {TempPath("nothing-here"), broken, empty, std::string()}) {
        EXPECT_TRUE(sound.Play(name)) << name;
        EXPECT_EQ(*sound.Decoded(name), tone) << name;
    }
    std::remove(broken.c_str());
    std::remove(empty.c_str());
}

TEST(Sound, TheGameHitSoundIsTheWaveFileBesideIt)
{
    UseAudioDriver("dummy");
    if (access("PRES4YA.wav", R_OK) != 0) GTEST_SKIP() << "no PRES4YA.wav in the working directory";
    {
        Sound sound;
        ASSERT_TRUE(sound.Play("PRES4YA"));
        EXPECT_NE(*sound.Decoded("PRES4YA"), Sound::DefaultTone());
        EXPECT_EQ(*sound.Decoded("PRES4YA"), Sound::LoadWav("PRES4YA.wav"));
    }  // closes its device: the dummy driver has only one
    EXPECT_EQ(PlaySoundA("PRES4YA", nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(PlaySoundA(nullptr, nullptr, SND_ASYNC), TRUE);
}

TEST(Sound, WithoutAnAudioDeviceItIsSilentAndLooksOnlyOnce)
{
    UseAudioDriver("no-such-driver");
    Sound sound;
    EXPECT_FALSE(sound.Play("PRES4YA"));
    EXPECT_EQ(sound.Decoded("PRES4YA"), nullptr);
    UseAudioDriver("dummy");  // a device that turns up later is not searched for again
    EXPECT_FALSE(sound.Play("PRES4YA"));
    EXPECT_EQ(sound.QueuedBytes(), 0u);

    UseAudioDriver("no-such-driver");
    EXPECT_EQ(PlaySoundA("PRES4YA", nullptr, SND_ASYNC), FALSE);
    EXPECT_EQ(PlaySoundA(nullptr, nullptr, SND_ASYNC), TRUE);
}

}  // namespace
