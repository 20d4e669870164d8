#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "image/texture.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/support/bmpfile.h"
#include "tools/assetgen/deflate.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/pagepainter.h"
#include "tools/assetgen/picture.h"
#include "tools/assetgen/valuenoise.h"

namespace {

using bmpfile::Little;
using bmpfile::ReadFile;

std::string BuildPath(const std::string& name)
{
    return std::string(BRICKS_BUILD_DIR) + "/" + name;
}

// A 24-bit bitmap as the game's files must be: both headers, no compression, rows lowest first.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;

    // Red, green and blue of the pixel in column x of row y (row 0 lowest).
    std::array<int, 3> Rgb(int x, int y) const
    {
        const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
        const size_t at = 54 + row * static_cast<size_t>(y) + static_cast<size_t>(x) * 3;
        return {bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)};
    }
};

// Checks every header field the loader relies on; an empty width means the file failed.
Bitmap ReadBitmap(const std::string& path)
{
    Bitmap bitmap;
    bitmap.bytes = ReadFile(path);
    const std::vector<uint8_t>& b = bitmap.bytes;
    EXPECT_GE(b.size(), 54u) << path;
    if (b.size() < 54) return {};
    EXPECT_EQ(b[0], 'B') << path;
    EXPECT_EQ(b[1], 'M') << path;
    EXPECT_EQ(Little(b, 2, 4), b.size()) << path << ": file size field";
    EXPECT_EQ(Little(b, 10, 4), 54u) << path << ": pixels follow the two headers";
    EXPECT_EQ(Little(b, 14, 4), 40u) << path << ": info header size";
    EXPECT_EQ(Little(b, 26, 2), 1u) << path << ": planes";
    EXPECT_EQ(Little(b, 28, 2), 24u) << path << ": bits per pixel";
    EXPECT_EQ(Little(b, 30, 4), 0u) << path << ": compression";
    EXPECT_EQ(Little(b, 46, 4), 0u) << path << ": colours used";
    const int32_t width = static_cast<int32_t>(Little(b, 18, 4));
    const int32_t height = static_cast<int32_t>(Little(b, 22, 4));
    EXPECT_GT(width, 0) << path;
    EXPECT_GT(height, 0) << path << ": a positive height stores the lowest row first";
    const size_t row = (static_cast<size_t>(std::max(width, 0)) * 3 + 3) / 4 * 4;
    EXPECT_EQ(b.size(), 54 + row * static_cast<size_t>(std::max(height, 0))) << path;
    EXPECT_EQ(Little(b, 34, 4), row * static_cast<size_t>(std::max(height, 0)))
        << path << ": image size field";
    if (::testing::Test::HasFailure()) return {};
    bitmap.width = width;
    bitmap.height = height;
    return bitmap;
}

TEST(PictureTest, BitmapRowsArePaddedBottomUpBlueGreenRed)
{
    Picture picture(3, 2);
    picture.Set(0, 0, {1.0f, 0.0f, 0.0f});
    picture.Set(1, 0, {0.0f, 1.0f, 0.0f});
    picture.Set(2, 0, {0.0f, 0.0f, 1.0f});
    picture.Set(0, 1, {1.5f, -0.2f, 0.5f});  // out of range clamps; halves round
    const std::string path = ::testing::TempDir() + "picture_test.bmp";
    ASSERT_TRUE(picture.WriteBmp(path));
    const Bitmap bitmap = ReadBitmap(path);
    std::remove(path.c_str());
    ASSERT_EQ(bitmap.width, 3);
    ASSERT_EQ(bitmap.height, 2);
    ASSERT_EQ(bitmap.bytes.size(), 54u + 2 * 12) << "each 9-byte row pads to 12";
    const uint8_t lowestRow[12] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&bitmap.bytes[54], lowestRow, sizeof(lowestRow)), 0) << "row 0 comes first, as BGR";
    const uint8_t upperRow[12] = {128, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&bitmap.bytes[66], upperRow, sizeof(upperRow)), 0);
    EXPECT_FALSE(picture.WriteBmp(::testing::TempDir() + "no/such/directory/picture.bmp"));
}

struct Vec {
    double x, y, z;
};

Vec operator-(Vec a, Vec b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// How the game puts each picture on the box (unit half-extents): the point at picture corners
// (0,0), (1,0) and (0,1). Written out here on purpose, apart from the generator's own table, so a
// picture painted for the wrong face or the wrong way round shows up as a broken edge.
struct Face {
    const char* file;
    Vec origin;
    Vec alongS;
    Vec alongT;

    Vec At(double s, double t) const
    {
        const Vec ds = alongS - origin;
        const Vec dt = alongT - origin;
        return {origin.x + s * ds.x + t * dt.x, origin.y + s * ds.y + t * dt.y,
                origin.z + s * ds.z + t * dt.z};
    }
    // Picture coordinates of a point on this face's plane.
    void Coordinates(Vec p, double& s, double& t) const
    {
        const Vec ds = alongS - origin;
        const Vec dt = alongT - origin;
        s = Dot(p - origin, ds) / Dot(ds, ds);
        t = Dot(p - origin, dt) / Dot(dt, dt);
    }
    bool Holds(Vec p) const
    {
        double s = 0, t = 0;
        Coordinates(p, s, t);
        const Vec back = At(s, t);
        const Vec miss = back - p;
        return Dot(miss, miss) < 1e-9 && s > -1e-6 && s < 1 + 1e-6 && t > -1e-6 && t < 1 + 1e-6;
    }
};

const Face faces[] = {
    {"ClearSky_front.bmp", {1, -1, -1}, {-1, -1, -1}, {1, 1, -1}},
    {"ClearSky_left.bmp", {1, -1, 1}, {1, -1, -1}, {1, 1, 1}},
    {"ClearSky_back.bmp", {-1, -1, 1}, {1, -1, 1}, {-1, 1, 1}},
    {"ClearSky_right.bmp", {-1, -1, -1}, {-1, -1, 1}, {-1, 1, -1}},
    {"ClearSky_top.bmp", {1, 1, -1}, {-1, 1, -1}, {1, 1, 1}},
    {"marsdn.bmp", {-1, -1, -1}, {1, -1, -1}, {-1, -1, 1}},
};

class GeneratedSkyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const Face& face : faces) {
            pictures.push_back(ReadBitmap(BuildPath(std::string("skybox/") + face.file)));
            ASSERT_GE(pictures.back().width, 512) << face.file;
            ASSERT_EQ(pictures.back().height, pictures.back().width) << face.file << " should be square";
        }
    }

    std::array<int, 3> TexelAt(int face, double s, double t) const
    {
        const Bitmap& picture = pictures[face];
        const int x = std::clamp(static_cast<int>(s * picture.width), 0, picture.width - 1);
        const int y = std::clamp(static_cast<int>(t * picture.height), 0, picture.height - 1);
        return picture.Rgb(x, y);
    }

    static double Difference(std::array<int, 3> a, std::array<int, 3> b)
    {
        return (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2])) / 3.0;
    }

    std::array<double, 3> MeanColour(int face, int firstRow, int lastRow) const
    {
        const Bitmap& picture = pictures[face];
        std::array<double, 3> sum = {0, 0, 0};
        for (int y = firstRow; y <= lastRow; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const auto rgb = picture.Rgb(x, y);
                for (int c = 0; c < 3; ++c) sum[c] += rgb[c];
            }
        }
        const double count = static_cast<double>(picture.width) * (lastRow - firstRow + 1);
        return {sum[0] / count, sum[1] / count, sum[2] / count};
    }

    std::vector<Bitmap> pictures;
};

TEST_F(GeneratedSkyTest, FacesMeetAlongEveryEdgeOfTheBox)
{
    const int size = pictures[0].width;
    // Each edge of each picture: which coordinate is fixed, and at what value.
    const struct {
        bool fixedS;
        double value;
    } edges[] = {{true, 0}, {true, 1}, {false, 0}, {false, 1}};
    int edgesChecked = 0;
    for (int a = 0; a < 6; ++a) {
        for (const auto& edge : edges) {
            int neighbour = -1;
            double seam = 0;
            double inside = 0;
            double mismatched = 0;
            for (int k = 0; k < size; ++k) {
                const double along = (k + 0.5) / size;
                const double s = edge.fixedS ? edge.value : along;
                const double t = edge.fixedS ? along : edge.value;
                const Vec p = faces[a].At(s, t);
                if (neighbour < 0) {
                    for (int b = 0; b < 6; ++b) {
                        if (b != a && faces[b].Holds(p)) neighbour = b;
                    }
                    ASSERT_GE(neighbour, 0) << faces[a].file << ": an edge point lies on no other face";
                }
                double sb = 0, tb = 0;
                faces[neighbour].Coordinates(p, sb, tb);
                const auto here = TexelAt(a, s, t);
                seam += Difference(here, TexelAt(neighbour, sb, tb));
                // The next texel into this picture: how much the picture itself changes per texel.
                const double inward = (edge.value == 0 ? 1.5 : -1.5) / size;
                const double si = edge.fixedS ? edge.value + inward : s;
                const double ti = edge.fixedS ? t : edge.value + inward;
                inside += Difference(here, TexelAt(a, si, ti));
                // The neighbour's edge read backwards: what a picture turned the wrong way would give.
                double sr = 0, tr = 0;
                faces[neighbour].Coordinates(faces[a].At(edge.fixedS ? s : 1 - s, edge.fixedS ? 1 - t : t),
                                             sr, tr);
                mismatched += Difference(here, TexelAt(neighbour, sr, tr));
            }
            seam /= size;
            inside /= size;
            mismatched /= size;
            EXPECT_LE(seam, 2.0 * inside + 1.0) << faces[a].file << " against " << faces[neighbour].file
                                                << ": the colours jump at the shared edge";
            EXPECT_GT(mismatched, 4.0 * seam + 2.0)
                << faces[a].file << ": the edge is too plain for the seam check to tell anything";
            ++edgesChecked;
        }
    }
    EXPECT_EQ(edgesChecked, 24);
}

TEST_F(GeneratedSkyTest, SkyIsBlueAboveAndTheGroundReddishBelow)
{
    const int size = pictures[0].height;
    const auto top = MeanColour(4, 0, size - 1);
    EXPECT_GT(top[2], top[0] + 40) << "the top picture should be blue sky";
    const auto floor = MeanColour(5, 0, size - 1);
    EXPECT_GT(floor[0], floor[1] + 30) << "the floor should be reddish";
    EXPECT_GT(floor[1], floor[2]) << "the floor should be reddish brown";
    for (int side = 0; side < 4; ++side) {
        const auto upper = MeanColour(side, size * 3 / 4, size - 1);
        const auto lower = MeanColour(side, 0, size / 4);
        EXPECT_GT(upper[2], upper[0] + 40) << faces[side].file << ": sky in the upper rows";
        EXPECT_GT(lower[0], lower[2] + 40) << faces[side].file << ": ground in the lower rows";
    }
}

TEST_F(GeneratedSkyTest, GameLoaderReadsEveryPictureAsWritten)
{
    testseam::RecordMessageBoxes(true);
    for (size_t face = 0; face < pictures.size(); ++face) {
        const std::string path = BuildPath(std::string("skybox/") + faces[face].file);
        RgbImage* image = OpenImageFile(path.c_str());
        ASSERT_NE(image, nullptr) << path;
        const Bitmap& picture = pictures[face];
        EXPECT_EQ(image->width, picture.width) << path;
        EXPECT_EQ(image->height, picture.height) << path;
        bool same = image->width == picture.width && image->height == picture.height;
        for (int y = 0; same && y < picture.height; ++y) {
            for (int x = 0; same && x < picture.width; ++x) {
                const unsigned char* loaded = &image->data[(static_cast<size_t>(y) * picture.width + x) * 3];
                const auto written = picture.Rgb(x, y);
                same = loaded[0] == written[0] && loaded[1] == written[1] && loaded[2] == written[2];
            }
        }
        EXPECT_TRUE(same) << path << ": the loaded pixels, lowest row first, differ from the file's";
        std::free(image->data);
        std::free(image);
    }
    EXPECT_TRUE(testseam::TakeMessageBoxes().empty()) << "the loader complained about a generated picture";
    testseam::RecordMessageBoxes(false);
}

// The page paints by these names into its file system, where the game opens them: a name out of
// place would put a picture on the wrong side of the box, or leave a file missing.
TEST(PagePainterTest, NamesTheGameFilesInLoadingOrderThenTheSound)
{
    ASSERT_EQ(AssetCount(), 7);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(std::string(AssetName(i)), std::string("skybox/") + faces[i].file);
    EXPECT_STREQ(AssetName(6), "PRES4YA.wav");
    for (int outside : {-1, 7}) {
        EXPECT_EQ(AssetName(outside), nullptr) << outside;
        EXPECT_EQ(PaintAsset(outside), nullptr) << outside;
    }
    const uint8_t* sound = PaintAsset(6);
    EXPECT_EQ(std::vector<uint8_t>(sound, sound + PaintedSize()), ReadFile(BuildPath("PRES4YA.wav")));
}

// The sky is painted four points at a time; a lane that floors or hashes differently from the point-by-
// point field would change the pictures. Points straddle lattice lines on both sides of zero, and the
// count leaves a remainder for the scalar tail.
TEST(ValueNoiseTest, FractalsGiveTheBitsFractalGivesAtEachPoint)
{
    const ValueNoise noise(0x5EED0002u);
    NoiseSamples samples;
    for (float a : {-3.0f, -2.5f, -1.0f, -0.75f, -0.0f, 0.0f, 0.999999f, 1.0f, 7.25f, 40123.5f, -65537.3f})
        samples.Add(a, 0.5f - a, a * 0.37f);
    noise.Fractals(samples, 6);
    ASSERT_EQ(samples.values.size(), samples.x.size());
    for (size_t i = 0; i < samples.x.size(); ++i) {
        const float expected = noise.Fractal(samples.x[i], samples.y[i], samples.z[i], 6);
        EXPECT_EQ(std::memcmp(&samples.values[i], &expected, sizeof expected), 0) << samples.x[i];
    }
}

TEST(GeneratedSoundTest, HitSoundIsAShortBrightSixteenBitPing)
{
    const std::vector<uint8_t> wav = ReadFile(BuildPath("PRES4YA.wav"));
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(Little(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Little(wav, 16, 4), 16u);
    EXPECT_EQ(Little(wav, 20, 2), 1u) << "PCM";
    const uint32_t channels = Little(wav, 22, 2);
    const uint32_t rate = Little(wav, 24, 4);
    EXPECT_EQ(Little(wav, 28, 4), rate * channels * 2) << "byte rate";
    EXPECT_EQ(Little(wav, 32, 2), channels * 2) << "block align";
    EXPECT_EQ(Little(wav, 34, 2), 16u) << "bits per sample";
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    const uint32_t dataBytes = Little(wav, 40, 4);
    ASSERT_EQ(wav.size(), 44u + dataBytes);
    ASSERT_EQ(channels, 1u);

    std::vector<int> samples;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        samples.push_back(static_cast<int16_t>(Little(wav, at, 2)));
    const double seconds = static_cast<double>(samples.size()) / rate;
    EXPECT_LT(seconds, 0.5);
    EXPECT_GT(seconds, 0.1);

    int peak = 0;
    for (int sample : samples) peak = std::max(peak, std::abs(sample));
    EXPECT_GT(peak, 16000) << "loud enough to hear over the game";
    EXPECT_LT(std::abs(samples.front()), 500) << "starts without a click";
    EXPECT_LT(std::abs(samples.back()), 100) << "ends without a click";

    // Bright: the first tenth of a second crosses zero more than a thousand times a second.
    const size_t early = rate / 10;
    int crossings = 0;
    for (size_t i = 1; i < early; ++i) crossings += (samples[i - 1] < 0) != (samples[i] < 0) ? 1 : 0;
    EXPECT_GT(crossings / 0.1 / 2, 1000.0);
    // A ping rings out: the last fifth is far quieter than the first.
    auto energy = [&](size_t from, size_t to) {
        double sum = 0;
        for (size_t i = from; i < to; ++i) sum += static_cast<double>(samples[i]) * samples[i];
        return sum / static_cast<double>(to - from);
    };
    const size_t fifth = samples.size() / 5;
    EXPECT_LT(energy(samples.size() - fifth, samples.size()), energy(0, fifth) / 100);
}

// Another decoder reads back what the compressor wrote: nothing; bytes with no repeats (every literal
// code, and more than a stored block's 65535); runs longer than a match, which overlap what they
// copy; and a repeat just inside the window and one just beyond it.
TEST(ZlibCompressTest, AnotherDecoderReadsBackWhatItWrote)
{
    std::vector<uint8_t> noise(70000);
    uint32_t state = 1;
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 24);
    std::vector<uint8_t> runs(1000, 7);
    runs.insert(runs.end(), 600, 9);
    std::vector<uint8_t> far(noise.begin(), noise.begin() + 32768);
    far.insert(far.end(), noise.begin(), noise.begin() + 300);  // 32768 back: in the window
    std::vector<uint8_t> beyond(noise.begin(), noise.begin() + 32769);
    beyond.insert(beyond.end(), noise.begin(), noise.begin() + 300);  // 32769 back: not
    for (const std::vector<uint8_t>& raw : {std::vector<uint8_t>{}, noise, runs, far, beyond}) {
        const std::vector<uint8_t> packed = ZlibCompress(raw);
        int size = -1;
        char* unpacked = stbi_zlib_decode_malloc(reinterpret_cast<const char*>(packed.data()),
                                                 static_cast<int>(packed.size()), &size);
        ASSERT_NE(unpacked, nullptr) << raw.size() << " bytes: " << stbi_failure_reason();
        EXPECT_EQ(std::vector<uint8_t>(unpacked, unpacked + size), raw) << raw.size() << " bytes";
        stbi_image_free(unpacked);
    }
    EXPECT_LT(ZlibCompress(runs).size(), 40u);
}

// Another decoder reads each PNG back as the icon painted at that size, and even at 48 pixels the icon
// shows the field: transparent corners, a red brick on top, the white ball on the black paddle.
TEST(GeneratedIconTest, PngsDecodeToTheIconWhichShowsTheField)
{
    const Icon icon;
    for (int size : {48, 128, 256}) {
        const std::string path = BuildPath("icons/bricks3d-" + std::to_string(size) + ".png");
        const std::vector<uint8_t> png = ReadFile(path);
        int width = 0, height = 0, channels = 0;
        uint8_t* decoded =
            stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 4);
        ASSERT_NE(decoded, nullptr) << path << ": " << stbi_failure_reason();
        const RgbaImage painted = icon.Paint(size);
        EXPECT_EQ(width, size) << path;
        EXPECT_EQ(height, size) << path;
        EXPECT_EQ(channels, 4) << path;
        EXPECT_EQ(std::memcmp(decoded, painted.At(0, 0), static_cast<size_t>(size) * size * 4), 0) << path;
        EXPECT_LT(png.size(), static_cast<size_t>(size) * size) << path << ": a quarter of its pixels' bytes";
        stbi_image_free(decoded);
    }
    const RgbaImage small = icon.Paint(48);
    struct Spot {
        const char* what;
        int x, y;
        std::array<int, 4> rgba;
    } spots[] = {
        {"a corner", 0, 0, {0, 0, 0, 0}},
        {"a red brick", 10, 9, {255, 0, 0, 255}},
        {"the ball", 24, 31, {255, 255, 255, 255}},
        {"the paddle", 24, 36, {0, 0, 0, 255}},
    };
    for (const Spot& spot : spots) {
        const uint8_t* p = small.At(spot.x, spot.y);
        EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), spot.rgba) << spot.what;
    }
}

// The .ico holds 16, 32 and 48 pixels as bitmaps with a mask and 256 as PNG, each entry inside the file.
TEST(GeneratedIconTest, WindowsIconHasEverySizeWhereItsDirectorySays)
{
    const std::vector<uint8_t> ico = ReadFile(BuildPath("icons/bricks3d.ico"));
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(Little(ico, 0, 4), 0x10000u) << "reserved 0, type 1 (icon)";
    ASSERT_EQ(Little(ico, 4, 2), 4u);
    const int sizes[] = {16, 32, 48, 256};
    for (int i = 0; i < 4; ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        EXPECT_EQ(ico.at(entry) == 0 ? 256 : ico.at(entry), sizes[i]);
        const uint32_t bytes = Little(ico, entry + 8, 4);
        const uint32_t offset = Little(ico, entry + 12, 4);
        ASSERT_LE(static_cast<size_t>(offset) + bytes, ico.size()) << sizes[i];
        if (sizes[i] == 256) {
            EXPECT_EQ(ico.at(offset), 0x89) << "a PNG";
            continue;
        }
        const uint32_t maskRow = (sizes[i] + 31) / 32 * 4;
        EXPECT_EQ(Little(ico, offset + 8, 4), 2u * sizes[i]) << "colour and mask rows together";
        EXPECT_EQ(bytes, 40 + sizes[i] * sizes[i] * 4 + maskRow * sizes[i]) << sizes[i];
        EXPECT_EQ(ico.at(offset + bytes - maskRow) & 0x80, 0x80)
            << sizes[i] << ": a top corner is masked out";
    }
}

}  // namespace
