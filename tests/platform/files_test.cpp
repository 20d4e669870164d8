// Where our files and memory are stricter than Windows; the rest is in tests/winapi/kernel32_files_test.cpp.
#include <gtest/gtest.h>

#include "shell/platform/platform.h"
#include "tests/support/bmpfile.h"

TEST(FilesTest, NothingIsCreatedOrTruncated)
{
    bmpfile::ScratchDir dir;
    std::string present = dir.Write("present", {1, 2, 3});
    EXPECT_EQ(CreateFileA(present.c_str(), GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
}

TEST(FilesTest, MemoryTheLayerDidNotHandOutIsRefused)
{
    int notLocal = 0;
    EXPECT_EQ(LocalFree(&notLocal), &notLocal);
}
