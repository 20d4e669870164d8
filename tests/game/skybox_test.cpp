#include "game/skybox.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "game/world.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/support/glcontext.h"

namespace {

namespace fs = std::filesystem;

class SkyboxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        glewInit();
        testseam::RecordMessageBoxes(true);
    }

    // A copy of the game's pictures to spoil, made the working directory.
    void UseCopyOfPictures()
    {
        directory = fs::temp_directory_path() / ("skybox-test-" + std::to_string(getpid()));
        fs::remove_all(directory);
        fs::create_directories(directory);
        fs::copy(fs::path(BRICKS_BUILD_DIR) / "skybox", directory / "skybox");
        fs::current_path(directory);
    }
    void TearDown() override
    {
        if (!directory.empty()) {
            fs::current_path(BRICKS_BUILD_DIR);
            fs::remove_all(directory);
        }
    }

    static GLint Wrap(GLuint texture, GLenum axis)
    {
        GLint mode = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexParameteriv(GL_TEXTURE_2D, axis, &mode);
        return mode;
    }

    GlContext context;
    fs::path directory;
};

TEST_F(SkyboxTest, HalfExtentsComeFromWholeSizesHalvedInDouble)
{
    struct Case {
        int width, height, depth;
        float halfWidth, halfHeight, halfDepth;
    } cases[] = {{100, 100, 100, 50.0f, 50.0f, 50.0f},
                 {101, 60, 7, 50.5f, 30.0f, 3.5f},
                 {-3, 0, 1, -1.5f, 0.0f, 0.5f}};
    for (const Case& c : cases) {
        Skybox made(c.width, c.height, c.depth);
        Skybox resized(1, 1, 1);
        resized.SetSize(c.width, c.height, c.depth);
        for (const Skybox* box : {&made, &resized}) {
            EXPECT_EQ(box->HalfWidth(), c.halfWidth);
            EXPECT_EQ(box->HalfHeight(), c.halfHeight);
            EXPECT_EQ(box->HalfDepth(), c.halfDepth);
        }
    }
    Skybox fresh(100, 100, 100);
    EXPECT_EQ(fresh.FrontTexture(), 0u);
    EXPECT_EQ(fresh.X(), 0.0f);
}

TEST_F(SkyboxTest, OnlyTheFloorIsClampedAfterLoading)
{
    Skybox box(100, 100, 100);
    box.LoadTextures();
    GLuint repeating[] = {box.FrontTexture(), box.LeftTexture(), box.BackTexture(), box.RightTexture(),
                          box.TopTexture()};
    for (GLuint texture : repeating) {
        ASSERT_NE(texture, 0u);
        EXPECT_EQ(Wrap(texture, GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(Wrap(texture, GL_TEXTURE_WRAP_T), GL_REPEAT);
    }
    EXPECT_EQ(Wrap(box.FloorTexture(), GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(Wrap(box.FloorTexture(), GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_TRUE(testseam::TakeMessageBoxes().empty());
}

TEST_F(SkyboxTest, DrawingLeavesUnitZeroUnboundAndDisabledAndTheMatricesAsTheyWere)
{
    Skybox box(100, 100, 100);
    box.LoadTextures();
    gCamera.MoveUp(5);
    box.MoveToCamera();
    EXPECT_EQ(box.Y(), 16.0f);
    for (bool atPosition : {false, true}) {
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        glEnable(GL_TEXTURE_2D);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        GLfloat before[16], after[16], colour[4];
        glGetFloatv(GL_MODELVIEW_MATRIX, before);
        atPosition ? box.DrawAtPosition() : box.Draw();
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        EXPECT_EQ(std::vector<GLfloat>(before, before + 16), std::vector<GLfloat>(after, after + 16));
        GLint active = 0, bound = -1;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(active, GL_TEXTURE0);
        EXPECT_EQ(bound, 0);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        glGetFloatv(GL_CURRENT_COLOR, colour);
        std::vector<GLfloat> expected =
            atPosition ? std::vector<GLfloat>{1, 1, 1, 1} : std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 1.0f};
        EXPECT_EQ(std::vector<GLfloat>(colour, colour + 4), expected)
            << (atPosition ? "DrawAtPosition" : "Draw");
    }
}

TEST_F(SkyboxTest, FacesShowTheirPicturesOnTheRightSides)
{
    Skybox box(100, 100, 100);
    box.LoadTextures();
    // From the middle of the box, looking along +x shows the left picture, along -x the right one.
    auto centreColour = [&](float yaw) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-0.1, 0.1, -0.1, 0.1, 0.1, 1000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(yaw, 0, 1, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        box.Draw();
        return context.Pixel(400, 300);
    };
    auto sampleOf = [&](GLuint texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glDisable(GL_TEXTURE_2D);
        size_t centre = (static_cast<size_t>(h / 2) * w + w / 2) * 3;
        return std::array<uint8_t, 3>{pixels[centre], pixels[centre + 1], pixels[centre + 2]};
    };
    auto near = [](std::array<uint8_t, 3> a, std::array<uint8_t, 3> b) {
        for (int i = 0; i < 3; ++i) {
            if (std::abs(a[i] - b[i]) > 6) return false;
        }
        return true;
    };
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    EXPECT_TRUE(near(centreColour(-90), sampleOf(box.LeftTexture())));
    EXPECT_TRUE(near(centreColour(90), sampleOf(box.RightTexture())));
    EXPECT_TRUE(near(centreColour(0), sampleOf(box.FrontTexture())));
}

// A spoiled picture leaves its face untextured, with the loader's message where there is something to
// say, and the other faces load; the game's start with one is checked end to end in tests/faults/.
TEST_F(SkyboxTest, ASpoiledPictureLeavesItsFaceBlankWithItsMessageAndTheOthersLoad)
{
    const char* const top = "skybox/ClearSky_top.bmp";
    const auto write = [top](const std::string& bytes) {
        std::ofstream(top, std::ios::binary | std::ios::trunc) << bytes;
    };
    std::mt19937 random(7);
    const char* const failedToOpen = "Failed to open DIB file skybox/ClearSky_top.bmp.\n";
    const struct Case {
        const char* what;
        std::function<void()> spoil;
        const char* message;      // the message box the player sees, or null for none
        bool unlessRoot = false;  // root reads a file whatever its permissions
    } cases[] = {
        {"missing", [top] { fs::remove(top); }, nullptr},
        {"unreadable", [top] { fs::permissions(top, fs::perms::none); }, nullptr, true},
        {"empty", [write] { write(""); }, failedToOpen},
        {"cut after the headers", [top] { fs::resize_file(top, 60); }, "Image file conversion error."},
        {"cut in the middle of the pixels", [top] { fs::resize_file(top, fs::file_size(top) / 2); },
         "Image file conversion error."},
        {"random bytes",
         [&] {
             std::string bytes(4096, '\0');
             for (char& c : bytes) c = static_cast<char>(random());
             write(bytes);
         },
         "Unknown DIB file format."},
        {"text", [write] { write("this is not a picture at all"); }, "Unknown DIB file format."},
        {"a directory in its place",
         [top] {
             fs::remove(top);
             fs::create_directory(top);
         },
         failedToOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.unlessRoot && geteuid() == 0) continue;
        UseCopyOfPictures();
        c.spoil();
        Skybox box(100, 100, 100);
        box.LoadTextures();
        std::error_code ignored;
        fs::permissions(top, fs::perms::owner_all, fs::perm_options::add, ignored);
        EXPECT_EQ(box.TopTexture(), 0u);
        for (GLuint texture : {box.FrontTexture(), box.LeftTexture(), box.BackTexture(), box.RightTexture(),
                               box.FloorTexture()}) {
            EXPECT_NE(texture, 0u);
        }
        auto boxes = testseam::TakeMessageBoxes();
        if (c.message) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].caption, "Error");
            EXPECT_EQ(boxes[0].text, c.message);
        } else {
            EXPECT_TRUE(boxes.empty()) << boxes[0].text;
        }
        box.Draw();  // the untextured face draws in the current colour
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

}  // namespace
