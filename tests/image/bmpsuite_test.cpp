// The public bitmap conformance suite in ../shared/testdata/bmpsuite (skipped where it is absent).
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "image/dibimage.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/image/recordedload.h"
#include "tests/support/bmpfile.h"

namespace {

const std::string kSuite = BRICKS_SOURCE_DIR "/../shared/testdata/bmpsuite";

// Reference renderings named for each good file, from REFMAP.tsv.
std::multimap<std::string, std::string> References()
{
    std::multimap<std::string, std::string> refs;
    std::ifstream in(kSuite + "/REFMAP.tsv");
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string bmp, ref;
        if (std::getline(fields, bmp, '\t') && std::getline(fields, ref, '\t')) refs.emplace(bmp, ref);
    }
    return refs;
}

// How far the decoded picture is from a reference, in the largest channel difference over pixels
// that are opaque in the reference; -1 when the sizes differ or the reference cannot be read.
int Distance(const RgbImage& image, const std::string& refPath)
{
    int w, h, n;
    std::unique_ptr<unsigned char, void (*)(void*)> ref(stbi_load(refPath.c_str(), &w, &h, &n, 4),
                                                        stbi_image_free);
    if (!ref || w != image.width || h != image.height) return -1;
    int worst = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // The reference is top row first; the picture lowest row first.
            const unsigned char* r = ref.get() + (static_cast<size_t>(h - 1 - y) * w + x) * 4;
            const unsigned char* p = image.data + (static_cast<size_t>(y) * w + x) * 3;
            if (r[3] == 0) continue;
            for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int(r[c]) - int(p[c])));
        }
    }
    return worst;
}

class BmpSuiteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kSuite + "/REFMAP.tsv")) {
            GTEST_SKIP() << "the bitmap suite is not at " << kSuite;
        }
    }
};

}  // namespace

TEST_F(BmpSuiteTest, GoodFilesDecodeToTheirReferencesAndLaterHeadersAreRefused)
{
    auto refs = References();
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSuite + "/g")) {
        if (entry.path().extension() != ".bmp") continue;
        const std::string name = "g/" + entry.path().filename().string();
        const uint32_t headerSize = bmpfile::Little(bmpfile::ReadFile(entry.path()), 14, 4);
        LoadResult outcome = Load(entry.path());
        if (headerSize != 12 && headerSize != 40) {
            EXPECT_FALSE(outcome.image) << name;
            EXPECT_EQ(outcome.Messages(), std::vector<std::string>{"Unknown DIB file format."}) << name;
            continue;
        }
        ASSERT_TRUE(outcome.image) << name;
        EXPECT_TRUE(outcome.Messages().empty()) << name;
        // Channels of fewer than 8 bits may round either way by one.
        const int tolerance = name.find("rgb16") != std::string::npos ? 1 : 0;
        auto range = refs.equal_range(name);
        ASSERT_NE(range.first, range.second) << name << " has no reference";
        bool matched = false;
        for (auto it = range.first; it != range.second; ++it) {
            int distance = Distance(*outcome.image, kSuite + "/g/" + it->second);
            matched = matched || (distance >= 0 && distance <= tolerance);
        }
        EXPECT_TRUE(matched) << name << " differs from its reference";
        ++compared;
    }
    EXPECT_GE(compared, 25);
}

TEST_F(BmpSuiteTest, BadFilesAreRefusedOrDecodedAsStated)
{
    const std::string conversion = "Image file conversion error.";
    const std::string unknown = "Unknown DIB file format.";
    // An empty message: decoded, to a picture of the stated size.
    struct Case {
        const char* file;
        std::string message;
    } cases[] = {
        {"b/badbitcount.bmp", conversion},  // 30000 bits a pixel
        {"b/badbitssize.bmp", ""},          // the image size field is not needed for plain pixels
        {"b/baddens1.bmp", ""},             // resolution fields do not matter
        {"b/baddens2.bmp", ""},
        {"b/badfilesize.bmp", ""},             // the file size field is not used
        {"b/badheadersize.bmp", unknown},      // a 66-byte header
        {"b/badpalettesize.bmp", conversion},  // more colours than a table can hold
        {"b/badplanes.bmp", ""},               // planes are not used
        {"b/badrle.bmp", ""},                  // runs past the picture are clipped
        {"b/badrle4.bmp", ""},
        {"b/badrle4bis.bmp", ""},
        {"b/badrle4ter.bmp", ""},
        {"b/badrlebis.bmp", ""},
        {"b/badrleter.bmp", ""},
        {"b/badwidth.bmp", conversion},   // negative width
        {"b/pal8badindex.bmp", ""},       // indices past the table are black
        {"b/reallybig.bmp", conversion},  // 3,000,000 x 2,000,000 claimed, 24 KB present
        {"b/rgb16-880.bmp", ""},
        {"b/rletopdown.bmp", conversion},  // compressed rows cannot run top-down
        {"b/shortfile.bmp", conversion},   // cut in the middle of the pixels
        {"x/ba-bm.bmp", unknown},          // a bitmap array, not a bitmap
    };
    size_t stated = 0;
    for (const Case& c : cases) {
        LoadResult outcome = Load(kSuite + "/" + c.file);
        if (c.message.empty()) {
            ASSERT_TRUE(outcome.image)
                << c.file << ": " << (outcome.Messages().empty() ? "" : outcome.Messages()[0]);
            EXPECT_EQ(outcome.image->width, 127) << c.file;
            EXPECT_EQ(outcome.image->height, 64) << c.file;
            EXPECT_TRUE(outcome.Messages().empty()) << c.file;
        } else {
            EXPECT_FALSE(outcome.image) << c.file;
            EXPECT_EQ(outcome.Messages(), std::vector<std::string>{c.message}) << c.file;
        }
        ++stated;
    }
    LoadResult odd = Load(kSuite + "/b/rgb16-880.bmp");
    ASSERT_TRUE(odd.image);
    EXPECT_LE(Distance(*odd.image, kSuite + "/b/rgb16-880.ref.png"), 1);
    LoadResult badIndex = Load(kSuite + "/b/pal8badindex.bmp");
    ASSERT_TRUE(badIndex.image);

    // Every file in b/ has an outcome stated above.
    size_t present = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSuite + "/b")) {
        present += entry.path().extension() == ".bmp";
    }
    EXPECT_EQ(present + 1, stated);
}

TEST_F(BmpSuiteTest, PackedBitmapsDecodeLikeTheirFiles)
{
    bmpfile::ScratchDir dir;
    int packed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSuite + "/g")) {
        if (entry.path().extension() != ".bmp") continue;
        bmpfile::Bytes file = bmpfile::ReadFile(entry.path());
        const uint32_t headerSize = bmpfile::Little(file, 14, 4);
        if (headerSize != 12 && headerSize != 40) continue;
        uint16_t entries = ColorTableSize(file.data() + 14);
        bool fields = headerSize == 40 && bmpfile::Little(file, 30, 4) == 3;
        uint32_t follows = 14 + headerSize + (fields ? 12 : 0) + entries * (headerSize == 40 ? 4 : 3);
        if (bmpfile::Little(file, 10, 4) != follows) continue;

        LoadResult whole = Load(entry.path());
        LoadResult alone = Load(dir.Write("packed.dib", bmpfile::Bytes(file.begin() + 14, file.end())));
        const std::string name = entry.path().filename();
        ASSERT_TRUE(whole.image) << name << " does not load";
        ASSERT_TRUE(alone.image) << name << " does not load without its file header";
        ASSERT_EQ(whole.image->width, alone.image->width) << name;
        ASSERT_EQ(whole.image->height, alone.image->height) << name;
        EXPECT_EQ(0, std::memcmp(whole.image->data, alone.image->data,
                                 static_cast<size_t>(whole.image->width) * whole.image->height * 3))
            << name;
        ++packed;
    }
    EXPECT_GE(packed, 20);
}
