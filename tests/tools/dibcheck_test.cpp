#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/support/bmpfile.h"

using namespace bmpfile;

namespace {

struct ToolRun {
    int status;
    std::string out;
};

// Runs the built dibcheck with the given arguments (already quoted), stdout captured.
ToolRun Dibcheck(const std::string& arguments)
{
    std::string command = std::string(BRICKS_BUILD_DIR "/dibcheck ") + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, ""};
    if (!pipe) return run;
    char buffer[256];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

}  // namespace

TEST(DibcheckTest, SaysOkOrRefusedWithTheLoadersMessageAndExitStatus)
{
    // Which message goes with which kind of file is the loader's (tests/image/dibimage_test.cpp); here,
    // that one is passed on.
    ScratchDir dir;
    struct Case {
        const char* what;
        std::string arguments;
        int status;
        std::string out;
    } cases[] = {
        {"a good file", Quoted(dir.Write("good.bmp", File(InfoHeader({3, 2, 24}), Bytes(24, 9)))), 0,
         "ok 3 2\n"},
        {"cut pixels", Quoted(dir.Write("cut.bmp", File(InfoHeader({3, 2, 24}), Bytes(20, 9)))), 1,
         "refused: Image file conversion error.\n"},
        {"a missing file", Quoted(dir.Path("missing.bmp")), 1,
         "refused: the file is missing or cannot be read\n"},
        {"no file", "", 2, ""},
        {"two files", "a.bmp b.bmp", 2, ""},
        {"--ppm without a name", "--ppm", 2, ""},
        {"an unknown option", "--png out.png a.bmp", 2, ""},
        {"the version", "--version", 0, "dibcheck " BRICKS_VERSION "\n"},
        {"the version with a file", "--version a.bmp", 2, ""},
    };
    for (const Case& c : cases) {
        ToolRun run = Dibcheck(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.what;
        EXPECT_EQ(run.out, c.out) << c.what;
    }
}

TEST(DibcheckTest, PpmHoldsThePictureTopRowFirst)
{
    ScratchDir dir;
    // Two rows of two pixels; the file stores the lowest row first, blue, green, red.
    Bytes pixels = PaddedRows({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    std::string bmp = dir.Write("small.bmp", File(InfoHeader({2, 2, 24}), pixels));
    std::string ppm = dir.Path("small.ppm");
    ToolRun run = Dibcheck("--ppm " + Quoted(ppm) + " " + Quoted(bmp));
    ASSERT_EQ(run.status, 0);
    const Bytes written = ReadFile(ppm);
    EXPECT_EQ(std::string(written.begin(), written.end()),
              std::string("P6\n2 2\n255\n") + "\x09\x08\x07\x0c\x0b\x0a" + "\x03\x02\x01\x06\x05\x04");
}
