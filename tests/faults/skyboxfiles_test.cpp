// The game starting with one skybox picture missing, unreadable, empty, cut short or not a bitmap at
// all: it must start, show the face untextured, say what went wrong where there is something to say,
// and play on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "game/ball.h"
#include "game/shaderapp.h"
#include "game/skybox.h"
#include "game/world.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/support/glcontext.h"

namespace {

namespace fs = std::filesystem;

const char* const kTopPicture = "skybox/ClearSky_top.bmp";

// A copy of the generated skybox in a directory of its own, made the working directory for the
// test's lifetime, so one picture can be spoiled without touching the build's.
class SpoiledSkybox {
public:
    SpoiledSkybox()
    {
        original_ = fs::current_path();
        directory_ = fs::temp_directory_path() / ("bricks3d-faults-" + std::to_string(getpid()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        fs::copy(fs::path(BRICKS_BUILD_DIR) / "skybox", directory_ / "skybox");
        fs::current_path(directory_);
    }
    ~SpoiledSkybox()
    {
        fs::current_path(original_);
        chmod((directory_ / kTopPicture).c_str(), 0644);
        fs::remove_all(directory_);
    }
    static std::string Bytes(const char* path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const char* path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    fs::path original_;
    fs::path directory_;
};

struct Spoiling {
    const char* what;
    std::function<void()> spoil;
    const char* message;  // the message box the player sees, or null for none
};

TEST(SkyboxFiles, ASpoiledPictureLeavesItsFaceBlankAndTheGamePlaysOn)
{
    if (!fs::exists(fs::path(BRICKS_BUILD_DIR) / kTopPicture))
        GTEST_SKIP() << "no generated skybox in the build";
    std::mt19937 random(7);
    const Spoiling cases[] = {
        {"missing", [] { fs::remove(kTopPicture); }, nullptr},
        {"empty", [] { SpoiledSkybox::Write(kTopPicture, ""); },
         "Failed to open DIB file skybox/ClearSky_top.bmp.\n"},
        {"cut after the headers",
         [] { SpoiledSkybox::Write(kTopPicture, SpoiledSkybox::Bytes(kTopPicture).substr(0, 60)); },
         "Image file conversion error."},
        {"cut in the middle of the pixels",
         [] {
             std::string bytes = SpoiledSkybox::Bytes(kTopPicture);
             SpoiledSkybox::Write(kTopPicture, bytes.substr(0, bytes.size() / 2));
         },
         "Image file conversion error."},
        {"random bytes",
         [&random] {
             std::string bytes(4096, '\0');
             for (char& c : bytes) c = static_cast<char>(random());
             SpoiledSkybox::Write(kTopPicture, bytes);
         },
         "Unknown DIB file format."},
        {"a directory in its place",
         [] {
             fs::remove(kTopPicture);
             fs::create_directory(kTopPicture);
         },
         "Failed to open DIB file skybox/ClearSky_top.bmp.\n"},
    };
    for (const Spoiling& c : cases) {
        SCOPED_TRACE(c.what);
        SpoiledSkybox skybox;
        c.spoil();
        testseam::RecordMessageBoxes(true);
        testseam::RecordSounds(true);
        GlContext context(64, 64);
        {
            ShaderApp game;
            ASSERT_TRUE(game.Init());
            auto boxes = testseam::TakeMessageBoxes();
            if (c.message) {
                ASSERT_EQ(boxes.size(), 1u);
                EXPECT_EQ(boxes[0].text, c.message);
                EXPECT_EQ(boxes[0].caption, "Error");
            } else {
                EXPECT_TRUE(boxes.empty()) << boxes[0].text;
            }
            EXPECT_EQ(gSkybox->TopTexture(), 0u) << "the spoiled face draws untextured";
            EXPECT_NE(gSkybox->FrontTexture(), 0u);
            EXPECT_NE(gSkybox->FloorTexture(), 0u);
            for (int frame = 0; frame < 5; ++frame) game.Update(0.016f);
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
            EXPECT_EQ(gBall->GetLives(), 3);
        }
    }
}

TEST(SkyboxFiles, APictureTheGameMayNotReadIsSkippedWithoutAMessage)
{
    if (geteuid() == 0)
        GTEST_SKIP()
            << "running as root, which reads a file whatever its permissions; the directory case of the "
               "other test covers a picture that cannot be read";
    if (!fs::exists(fs::path(BRICKS_BUILD_DIR) / kTopPicture))
        GTEST_SKIP() << "no generated skybox in the build";
    SpoiledSkybox skybox;
    ASSERT_EQ(chmod(kTopPicture, 0), 0);
    testseam::RecordMessageBoxes(true);
    GlContext context(64, 64);
    ShaderApp game;
    ASSERT_TRUE(game.Init());
    EXPECT_TRUE(testseam::TakeMessageBoxes().empty());
    EXPECT_EQ(gSkybox->TopTexture(), 0u);
    game.Update(0.016f);
}

}  // namespace
