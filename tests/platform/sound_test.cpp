#include "shell/platform/sdl2/sound.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/platform/platform.h"
#include "shell/platform/sdl2/testing.h"

namespace {

// Every test runs in a process of its own, so each may choose its audio driver before SDL starts.
void UseDummyAudio()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/soundtest-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir()
    {
        for (const std::string& file : files_) std::remove(file.c_str());
        rmdir(path_.c_str());
    }
    std::string File(const std::string& name)
    {
        files_.push_back(path_ + "/" + name);
        return files_.back();
    }

private:
    std::string path_;
    std::vector<std::string> files_;
};

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A PCM wave file: 8-bit unsigned or 16-bit signed samples, interleaved by channel.
void WriteWav(const std::string& path, int rate, int channels, int bits, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    PutLe(out, static_cast<uint32_t>(36 + data.size()), 4);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);
    PutLe(out, static_cast<uint32_t>(channels), 2);
    PutLe(out, static_cast<uint32_t>(rate), 4);
    PutLe(out, static_cast<uint32_t>(rate * channels * bits / 8), 4);
    PutLe(out, static_cast<uint32_t>(channels * bits / 8), 2);
    PutLe(out, static_cast<uint32_t>(bits), 2);
    for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
    PutLe(out, static_cast<uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
}

std::vector<uint8_t> Samples16(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> data;
    for (int16_t s : samples) PutLe(data, static_cast<uint16_t>(s), 2);
    return data;
}

TEST(Sound, RecordingSeamTakesTheNameInsteadOfPlaying)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testseam::RecordSounds(true);
    EXPECT_EQ(PlaySoundA("PRES4YA", nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(PlaySoundA("other", nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(testseam::TakeSounds(), (std::vector<std::string>{"PRES4YA", "other"}));
    EXPECT_TRUE(testseam::TakeSounds().empty());
    // Recording never touched the audio device.
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    testseam::RecordSounds(false);
}

TEST(Sound, AFileInTheDeviceFormatIsQueuedAsItIs)
{
    UseDummyAudio();
    TempDir dir;
    std::vector<int16_t> samples(4410);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i % 100) * 300 - 15000);
    const std::string base = dir.File("clip.wav");
    WriteWav(base, Sound::kRate, 1, 16, Samples16(samples));
    const std::string name = base.substr(0, base.size() - 4);

    Sound sound;
    ASSERT_TRUE(sound.Play(name));
    ASSERT_NE(sound.Decoded(name), nullptr);
    EXPECT_EQ(*sound.Decoded(name), samples);
    // Play returns while the sound is still playing: it was queued, not waited for.
    EXPECT_GT(sound.QueuedBytes(), 0u);
    EXPECT_LE(sound.QueuedBytes(), samples.size() * sizeof(int16_t));

    // A name that already carries the extension is taken as it is.
    ASSERT_TRUE(sound.Play(base));
    EXPECT_EQ(*sound.Decoded(base), samples);
}

TEST(Sound, OtherFormatsAreConvertedToTheDevice)
{
    UseDummyAudio();
    TempDir dir;
    // 0.1 s of 8-bit stereo at 22050 Hz: a loud left channel and a silent right one.
    std::vector<uint8_t> data;
    for (int i = 0; i < 2205; ++i) {
        data.push_back(i % 2 == 0 ? 228 : 28);
        data.push_back(128);
    }
    const std::string path = dir.File("stereo.wav");
    WriteWav(path, 22050, 2, 8, data);

    Sound sound;
    ASSERT_TRUE(sound.Play(path));
    const std::vector<int16_t>* decoded = sound.Decoded(path);
    ASSERT_NE(decoded, nullptr);
    // Twice the rate, one channel: about 4410 samples, give or take the resampler's edges.
    EXPECT_NEAR(static_cast<double>(decoded->size()), 4410.0, 64.0);
    int peak = 0;
    for (int16_t s : *decoded) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 5000);
    EXPECT_NE(*decoded, Sound::DefaultTone());
}

TEST(Sound, MissingOrBrokenFilesPlayTheDefaultTone)
{
    UseDummyAudio();
    TempDir dir;
    const std::string broken = dir.File("broken.wav");
    FILE* file = std::fopen(broken.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("RIFF\x10\0\0\0WAVEnot really a sound", file);
    std::fclose(file);
    const std::string emptyData = dir.File("empty.wav");
    WriteWav(emptyData, 8000, 1, 8, {});

    const std::vector<int16_t> tone = Sound::DefaultTone();
    ASSERT_FALSE(tone.empty());
    int peak = 0;
    for (int16_t s : tone) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 3000);
    // It fades in and out rather than clicking.
    EXPECT_LT(std::abs(tone.front()), 100);
    EXPECT_LT(std::abs(tone.back()), 100);

    Sound sound;
    const std::string names[] = {dir.File("nothing-here"), broken, emptyData, ""};
    for (const std::string& name : names) {
        EXPECT_TRUE(sound.Play(name)) << name;
        ASSERT_NE(sound.Decoded(name), nullptr) << name;
        EXPECT_EQ(*sound.Decoded(name), tone) << name;
    }
}

TEST(Sound, AFileIsReadOnceAndEachSoundCutsOffTheLast)
{
    UseDummyAudio();
    TempDir dir;
    const std::vector<int16_t> samples(22050, 1000);
    const std::string path = dir.File("once.wav");
    WriteWav(path, Sound::kRate, 1, 16, Samples16(samples));

    Sound sound;
    ASSERT_TRUE(sound.Play(path));
    std::remove(path.c_str());
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(sound.Play(path));
    EXPECT_EQ(*sound.Decoded(path), samples);
    // Six plays of a half-second sound never queue more than one of it.
    EXPECT_GT(sound.QueuedBytes(), 0u);
    EXPECT_LE(sound.QueuedBytes(), samples.size() * sizeof(int16_t));

    sound.Stop();
    EXPECT_EQ(sound.QueuedBytes(), 0u);
}

TEST(Sound, PlaySoundAStartsAndANullNameStops)
{
    UseDummyAudio();
    TempDir dir;
    const std::string path = dir.File("long.wav");
    WriteWav(path, Sound::kRate, 1, 16, Samples16(std::vector<int16_t>(44100, -2000)));
    const std::string name = path.substr(0, path.size() - 4);

    EXPECT_EQ(PlaySoundA(name.c_str(), nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(PlaySoundA("no-such-sound-here", nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(PlaySoundA(nullptr, nullptr, SND_ASYNC), TRUE);
}

TEST(Sound, WithoutAnAudioDeviceItIsSilentAndAsksOnlyOnce)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Sound sound;
    EXPECT_FALSE(sound.HasDevice());
    EXPECT_FALSE(sound.Play("PRES4YA"));
    EXPECT_EQ(sound.Decoded("PRES4YA"), nullptr);
    EXPECT_EQ(sound.QueuedBytes(), 0u);
    sound.Stop();

    // A device that appears later is not looked for again: the frame never pays for the search twice.
    UseDummyAudio();
    EXPECT_FALSE(sound.Play("PRES4YA"));

    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(PlaySoundA("PRES4YA", nullptr, SND_ASYNC), FALSE);
    EXPECT_EQ(PlaySoundA(nullptr, nullptr, SND_ASYNC), TRUE);
}

}  // namespace
