#include "image/dibimage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/platform/platform.h"
#include "tests/image/recordedload.h"
#include "tests/support/bmpfile.h"

using namespace bmpfile;

namespace {

// The test picture: a colour for each pixel, (0, 0) the lowest left one.
using Picture = std::function<Rgb(int x, int y)>;

Rgb PixelAt(const RgbImage& image, int x, int y)
{
    const unsigned char* p = image.data + (static_cast<size_t>(y) * image.width + x) * 3;
    return {p[0], p[1], p[2]};
}

void ExpectPicture(const RgbImage& image, int width, int height, const Picture& expected,
                   const std::string& what)
{
    ASSERT_EQ(image.width, width) << what;
    ASSERT_EQ(image.height, height) << what;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb got = PixelAt(image, x, y), want = expected(x, y);
            ASSERT_EQ((std::array<int, 3>{got.r, got.g, got.b}), (std::array<int, 3>{want.r, want.g, want.b}))
                << what << ": pixel (" << x << ", " << y << ")";
        }
    }
}

const std::vector<Rgb> kPalette = {{0, 0, 0},       {255, 0, 0},     {0, 255, 0},     {0, 0, 255},
                                   {255, 255, 0},   {0, 255, 255},   {255, 0, 255},   {255, 255, 255},
                                   {10, 20, 30},    {40, 50, 60},    {70, 80, 90},    {100, 110, 120},
                                   {130, 140, 150}, {160, 170, 180}, {190, 200, 210}, {220, 230, 240}};

int IndexAt(int x, int y, int count)
{
    return (x * 7 + y * 3) % count;
}

// Stored rows, lowest first unless topDown, with each pixel encoded by put.
Bytes Rows(int width, int height, bool topDown, const std::function<void(Bytes&, int, int)>& put)
{
    std::vector<Bytes> rows;
    for (int i = 0; i < height; ++i) {
        int y = topDown ? height - 1 - i : i;
        Bytes row;
        for (int x = 0; x < width; ++x) put(row, x, y);
        rows.push_back(row);
    }
    return PaddedRows(rows);
}

// Packs indices of bitCount bits, highest bits first, into bytes.
Bytes IndexRows(int width, int height, int bitCount, int count)
{
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes row((width * bitCount + 7) / 8, 0);
        for (int x = 0; x < width; ++x) {
            int bit = x * bitCount;
            row[bit / 8] |= static_cast<uint8_t>(IndexAt(x, y, count) << (8 - bitCount - bit % 8));
        }
        rows.push_back(row);
    }
    return PaddedRows(rows);
}

Rgb TrueColour(int x, int y)
{
    return {static_cast<uint8_t>(x * 37 + y), static_cast<uint8_t>(y * 11), 200};
}

}  // namespace

TEST(DibImageTest, EveryStoredFormatDecodesToTheSamePicture)
{
    ScratchDir dir;
    struct Case {
        std::string what;
        int width, height;
        Bytes file;
        Picture expected;
    };
    auto indexed = [](int count) { return [count](int x, int y) { return kPalette[IndexAt(x, y, count)]; }; };
    // 5-bit channels come back as round(v * 255 / 31).
    auto scale5 = [](int v) { return static_cast<uint8_t>((v * 510 + 31) / 62); };
    auto picture555 = [&](int x, int y) { return Rgb{scale5(x % 32), scale5(y % 32), scale5((x + y) % 32)}; };
    auto put555 = [](Bytes& row, int x, int y) {
        Put16(row, ((x % 32) << 10) | ((y % 32) << 5) | ((x + y) % 32));
    };
    auto put24 = [](Bytes& row, int x, int y) {
        Rgb c = TrueColour(x, y);
        row.insert(row.end(), {c.b, c.g, c.r});
    };
    auto put32 = [](Bytes& row, int x, int y) {
        Rgb c = TrueColour(x, y);
        row.insert(row.end(), {c.b, c.g, c.r, 0x77});
    };
    Bytes masks565;
    Put32(masks565, 0xf800), Put32(masks565, 0x07e0), Put32(masks565, 0x001f);
    auto put565 = [](Bytes& row, int x, int y) { Put16(row, ((x % 32) << 11) | ((y % 64) << 5) | 31); };
    auto picture565 = [&](int x, int y) {
        return Rgb{scale5(x % 32), static_cast<uint8_t>(((y % 64) * 510 + 63) / 126), 255};
    };

    std::vector<Case> cases;
    for (int width : {1, 2, 3, 5, 6, 7, 33}) {
        int h = 3;
        std::string w = std::to_string(width);
        cases.push_back({"24-bit, width " + w, width, h,
                         File(InfoHeader({width, h, 24}), Rows(width, h, false, put24)), TrueColour});
        cases.push_back(
            {"8-bit, width " + w, width, h,
             File(InfoHeader({width, h, 8, 0, 0, 16}) + Table(kPalette), IndexRows(width, h, 8, 16)),
             indexed(16)});
        cases.push_back({"4-bit, width " + w, width, h,
                         File(InfoHeader({width, h, 4}) + Table(kPalette), IndexRows(width, h, 4, 16)),
                         indexed(16)});
        cases.push_back({"2-bit, width " + w, width, h,
                         File(InfoHeader({width, h, 2}) + Table({kPalette.begin(), kPalette.begin() + 4}),
                              IndexRows(width, h, 2, 4)),
                         indexed(4)});
        cases.push_back(
            {"1-bit, width " + w, width, h,
             File(InfoHeader({width, h, 1}) + Table({kPalette[3], kPalette[4]}), IndexRows(width, h, 1, 2)),
             [](int x, int y) { return IndexAt(x, y, 2) ? kPalette[4] : kPalette[3]; }});
    }
    cases.push_back(
        {"24-bit, top-down", 6, 4, File(InfoHeader({6, -4, 24}), Rows(6, 4, true, put24)), TrueColour});
    cases.push_back({"32-bit", 5, 3, File(InfoHeader({5, 3, 32}), Rows(5, 3, false, put32)), TrueColour});
    cases.push_back(
        {"32-bit bit fields", 5, 3,
         File(InfoHeader({5, 3, 32, BI_BITFIELDS}) + Bytes{0, 0, 0xff, 0, 0, 0xff, 0, 0, 0xff, 0, 0, 0},
              Rows(5, 3, false, put32)),
         TrueColour});
    cases.push_back(
        {"16-bit 5-5-5", 40, 3, File(InfoHeader({40, 3, 16}), Rows(40, 3, false, put555)), picture555});
    // Some writers leave out the last row's padding, which carries no pixel.
    auto unpadded = [](Bytes pixels, size_t padding) {
        return Bytes(pixels.begin(), pixels.end() - padding);
    };
    cases.push_back({"24-bit, last row unpadded", 5, 3,
                     File(InfoHeader({5, 3, 24}), unpadded(Rows(5, 3, false, put24), 1)), TrueColour});
    cases.push_back(
        {"1-bit, last row unpadded", 9, 2,
         File(InfoHeader({9, 2, 1}) + Table({kPalette[3], kPalette[4]}), unpadded(IndexRows(9, 2, 1, 2), 2)),
         [](int x, int y) { return IndexAt(x, y, 2) ? kPalette[4] : kPalette[3]; }});
    cases.push_back({"16-bit 5-6-5 bit fields", 33, 70,
                     File(InfoHeader({33, 70, 16, BI_BITFIELDS}) + masks565, Rows(33, 70, false, put565)),
                     picture565});

    for (const Case& c : cases) {
        LoadResult result = Load(dir.Write("picture.bmp", c.file));
        ASSERT_TRUE(result.image) << c.what;
        EXPECT_TRUE(result.boxes.empty()) << c.what;
        ExpectPicture(*result.image, c.width, c.height, c.expected, c.what);
    }
}

TEST(DibImageTest, CoreHeaderPackedAndFullFilesGiveTheSamePicture)
{
    ScratchDir dir;
    std::vector<Rgb> palette256;
    for (int i = 0; i < 256; ++i) palette256.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)});
    const int w = 9, h = 5;
    Bytes pixels = IndexRows(w, h, 8, 256);
    Bytes info = InfoHeader({w, h, 8}) + Table(palette256);
    Bytes core = CoreHeader(w, h, 8) + Table(palette256, true);
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"40-byte header", File(info, pixels)},
        {"12-byte header", File(core, pixels)},
        {"packed, 40-byte header", info + pixels},
        {"packed, 12-byte header", core + pixels},
    };
    auto expected = [&](int x, int y) { return palette256[IndexAt(x, y, 256)]; };
    for (const Case& c : cases) {
        LoadResult result = Load(dir.Write("picture.bmp", c.file));
        ASSERT_TRUE(result.image) << c.what;
        ExpectPicture(*result.image, w, h, expected, c.what);
    }
}

TEST(DibImageTest, FiveWideTrueColourRowsArePackedRedFirstLowestRowFirst)
{
    ScratchDir dir;
    // Stored bottom-up: the first stored row is the lowest. Blue, green, red in the file.
    Bytes pixels = PaddedRows({{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
                               {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35}});
    LoadResult result = Load(dir.Write("five.bmp", File(InfoHeader({5, 2, 24}), pixels)));
    ASSERT_TRUE(result.image);
    const unsigned char expected[] = {3,  2,  1,  6,  5,  4,  9,  8,  7,  12, 11, 10, 15, 14, 13,
                                      23, 22, 21, 26, 25, 24, 29, 28, 27, 32, 31, 30, 35, 34, 33};
    EXPECT_EQ(0, std::memcmp(result.image->data, expected, sizeof expected));
}

TEST(DibImageTest, ColourIndicesBeyondTheTableAreBlack)
{
    ScratchDir dir;
    // Colours used 2: indices 2 and 255 have no entry, although the format allows 256.
    Bytes pixels = PaddedRows({{0, 1, 2, 255}});
    Bytes info = InfoHeader({4, 1, 8, 0, 0, 2}) + Table({{9, 8, 7}, {1, 2, 3}});
    for (const Bytes& file : {File(info, pixels), info + pixels}) {
        LoadResult result = Load(dir.Write("few.bmp", file));
        ASSERT_TRUE(result.image);
        const unsigned char expected[] = {9, 8, 7, 1, 2, 3, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(0, std::memcmp(result.image->data, expected, sizeof expected));
    }
}

TEST(DibImageTest, RunLengthStreamsDecodeClipAndLeaveUndefinedPixelsBlack)
{
    ScratchDir dir;
    Bytes table = Table({{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}});
    struct Case {
        const char* what;
        uint32_t compression;
        uint16_t bitCount;
        int height;
        Bytes stream;
        std::vector<std::string> rows;  // lowest first; R, G, B for the palette, K black
    } cases[] = {
        {"RLE8 runs and absolute",
         BI_RLE8,
         8,
         2,
         {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 2, 2, 0, 1},
         {"RRRGBR", "GGKKKK"}},
        {"RLE8 delta", BI_RLE8, 8, 2, {1, 1, 0, 2, 2, 1, 1, 3, 0, 1}, {"RKKKKK", "KKKBKK"}},
        {"RLE8 run past the row end is clipped",
         BI_RLE8,
         8,
         2,
         {255, 2, 0, 0, 1, 3, 0, 1},
         {"GGGGGG", "BKKKKK"}},
        {"RLE8 rows past the top are dropped",
         BI_RLE8,
         8,
         1,
         {2, 1, 0, 0, 2, 2, 0, 0, 2, 3, 0, 1},
         {"RRKKKK"}},
        {"RLE8 stream cut short", BI_RLE8, 8, 2, {2, 3, 0, 5, 1}, {"BBKKKK", "KKKKKK"}},
        {"RLE8 huge delta", BI_RLE8, 8, 2, {0, 2, 255, 255, 4, 1, 0, 1}, {"KKKKKK", "KKKKKK"}},
        {"RLE4 alternating run and absolute", BI_RLE4, 4, 1, {5, 0x12, 0, 3, 0x31, 0x20, 0, 1}, {"RGRGRB"}},
    };
    for (const Case& c : cases) {
        const int width = 6;
        Bytes info =
            InfoHeader({width, c.height, c.bitCount, c.compression, uint32_t(c.stream.size()), 4}) + table;
        LoadResult result = Load(dir.Write("rle.bmp", File(info, c.stream)));
        ASSERT_TRUE(result.image) << c.what;
        auto expected = [&](int x, int y) {
            switch (c.rows[y][x]) {
                case 'R':
                    return Rgb{255, 0, 0};
                case 'G':
                    return Rgb{0, 255, 0};
                case 'B':
                    return Rgb{0, 0, 255};
                default:
                    return Rgb{0, 0, 0};
            }
        };
        ExpectPicture(*result.image, width, c.height, expected, c.what);
    }
}

TEST(DibImageTest, EachKindOfBadFileGetsItsMessageAndNoPicture)
{
    ScratchDir dir;
    Bytes pixels2x2 = PaddedRows({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    Bytes header108 = InfoHeader({2, 2, 24});
    header108[0] = 108;
    header108.resize(108, 0);
    Bytes header124 = header108;
    header124[0] = 124;
    header124.resize(124, 0);
    Bytes cutHeader = InfoHeader({2, 2, 24});
    cutHeader.resize(30);
    const std::string unknown = "Unknown DIB file format.";
    const std::string conversion = "Image file conversion error.";
    struct Case {
        const char* what;
        Bytes file;
        std::string message;
    } cases[] = {
        {"header of 108 bytes", File(header108, pixels2x2), unknown},
        {"header of 124 bytes", File(header124, pixels2x2), unknown},
        {"header cut short", File(cutHeader, {}), unknown},
        {"file header only", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}, unknown},
        {"three bytes", Bytes{'B', 'M', 0}, unknown},
        {"bitmap array", Bytes{'B', 'A', 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0}, unknown},
        {"pixels cut short", File(InfoHeader({2, 2, 24}), Bytes(pixels2x2.begin(), pixels2x2.end() - 5)),
         conversion},
        {"last row's padding and last pixel byte missing",
         File(InfoHeader({2, 2, 24}), Bytes(pixels2x2.begin(), pixels2x2.end() - 3)), conversion},
        {"colour table past the end", File(InfoHeader({2, 2, 8}) + Table(kPalette), {}), conversion},
        {"masks past the end", File(InfoHeader({2, 2, 16, BI_BITFIELDS}), {}), conversion},
        {"zero width", File(InfoHeader({0, 2, 24}), pixels2x2), conversion},
        {"negative width", File(InfoHeader({-2, 2, 24}), pixels2x2), conversion},
        {"zero height", File(InfoHeader({2, 0, 24}), pixels2x2), conversion},
        {"lowest height", File(InfoHeader({2, INT32_MIN, 24}), pixels2x2), conversion},
        {"bit count 3", File(InfoHeader({2, 2, 3}), pixels2x2), conversion},
        {"bit count 30000", File(InfoHeader({2, 2, 30000}), pixels2x2), conversion},
        {"24-bit bit fields", File(InfoHeader({2, 2, 24, BI_BITFIELDS}) + Bytes(12, 0), pixels2x2),
         conversion},
        {"JPEG compression", File(InfoHeader({2, 2, 24, BI_JPEG}), pixels2x2), conversion},
        {"RLE8 with 24 bits", File(InfoHeader({2, 2, 24, BI_RLE8}), Bytes{0, 1}), conversion},
        {"RLE top-down", File(InfoHeader({2, -2, 8, BI_RLE8, 0, 16}) + Table(kPalette), Bytes{0, 1}),
         conversion},
        {"colours used beyond 16 bits",
         File(InfoHeader({2, 2, 8, 0, 0, 0x10002}) + Table(kPalette), pixels2x2), conversion},
        {"claims 3,000,000 x 2,000,000 pixels", File(InfoHeader({3000000, 2000000, 24}), pixels2x2),
         conversion},
    };
    for (const Case& c : cases) {
        LoadResult result = Load(dir.Write("bad.bmp", c.file));
        EXPECT_FALSE(result.image) << c.what;
        ASSERT_EQ(result.boxes.size(), 1u) << c.what;
        EXPECT_EQ(result.boxes[0].text, c.message) << c.what;
        EXPECT_EQ(result.boxes[0].caption, "Error") << c.what;
        EXPECT_EQ(result.boxes[0].owner, GetFocus()) << c.what;
    }

    Bytes offsetPastEnd = File(InfoHeader({2, 2, 24}), pixels2x2);
    offsetPastEnd[10] = 0xff;
    LoadResult result = Load(dir.Write("offset.bmp", offsetPastEnd));
    EXPECT_FALSE(result.image);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_EQ(result.boxes[0].text, conversion);
}

TEST(DibImageTest, PicturesTooLargeToHoldAreRefusedAsOutOfMemory)
{
    ScratchDir dir;
    // A complete 1-bit file of 8193 x 8193 pixels, one more row and column than the cap allows.
    const int side = 8193;
    Bytes pixels(((side + 31) / 32 * 4) * static_cast<size_t>(side), 0);
    LoadResult result = Load(
        dir.Write("huge.bmp", File(InfoHeader({side, side, 1}) + Table({{0, 0, 0}, {1, 1, 1}}), pixels)));
    EXPECT_FALSE(result.image);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_EQ(result.boxes[0].text, "Out of memory.");
}

TEST(DibImageTest, FilesThatCannotBeOpenedNameTheFileWithinTheMessageBuffer)
{
    ScratchDir dir;
    std::string longName = dir.Path(std::string(200, 'a') + "/" + std::string(90, 'b') + ".bmp");
    struct Case {
        const char* what;
        std::string path;
    } cases[] = {
        {"empty file", dir.Write("empty.bmp", {})},
        {"missing file", dir.Path("missing.bmp")},
        {"a folder", dir.Path("")},
        {"300-character name", longName},
    };
    for (const Case& c : cases) {
        LoadResult result = Load(c.path);
        EXPECT_FALSE(result.image) << c.what;
        ASSERT_EQ(result.boxes.size(), 1u) << c.what;
        const std::string& text = result.boxes[0].text;
        EXPECT_LE(text.size(), 255u) << c.what;
        EXPECT_EQ(text.rfind("Failed to open DIB file ", 0), 0u) << c.what;
        EXPECT_EQ(text.substr(text.size() - 2), ".\n") << c.what;
        std::string tail = c.path.substr(c.path.size() > 100 ? c.path.size() - 100 : 0);
        EXPECT_NE(text.find(tail + ".\n"), std::string::npos) << c.what << ": " << text;
    }
    EXPECT_GT(longName.size(), 300u);
}

TEST(DibImageTest, ColourTableSizeFollowsHeaderKindAndColoursUsed)
{
    struct Case {
        Bytes header;
        uint16_t entries;
    } cases[] = {
        {CoreHeader(1, 1, 1), 2},
        {CoreHeader(1, 1, 4), 16},
        {CoreHeader(1, 1, 8), 256},
        {CoreHeader(1, 1, 24), 0},
        {InfoHeader({1, 1, 8}), 256},
        {InfoHeader({1, 1, 8, 0, 0, 16}), 16},
        {InfoHeader({1, 1, 24, 0, 0, 7}), 7},
        {InfoHeader({1, 1, 2}), 4},
        {InfoHeader({1, 1, 16}), 0},
        {InfoHeader({1, 1, 32, BI_BITFIELDS}), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorTableSize(c.header.data()), c.entries) << "header size " << int(c.header[0]);
    }
}

TEST(DibImageTest, EveryPathReleasesItsFileAndMapping)
{
    ScratchDir dir;
    auto count = [](const char* listing) {
        std::ifstream in(listing);
        return std::count(std::istreambuf_iterator<char>(in), {}, '\n');
    };
    auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    std::vector<std::string> paths = {
        dir.Write("good.bmp", File(InfoHeader({3, 2, 24}), Bytes(24, 5))),
        dir.Write("unknown.bmp", Bytes(60, 'x')),
        dir.Write("cut.bmp", File(InfoHeader({3, 2, 24}), Bytes(20, 5))),
        dir.Write("empty.bmp", {}),
    };
    Load(paths[0]);
    const auto files = openFiles();
    const auto mappings = count("/proc/self/maps");
    for (int round = 0; round < 3; ++round) {
        for (const std::string& path : paths) Load(path);
    }
    EXPECT_EQ(openFiles(), files);
    EXPECT_EQ(count("/proc/self/maps"), mappings);
}
