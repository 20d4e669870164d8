// Files, mappings and local memory as Windows has them; where our layer is stricter (no file is ever
// created, memory it did not hand out is refused) is in tests/platform/files_test.cpp.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/platform/platform.h"
#include "tests/support/bmpfile.h"

namespace {

HANDLE OpenForReading(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Files, MappedViewHoldsTheWholeFileAndEverythingReleases)
{
    bmpfile::ScratchDir dir;
    bmpfile::Bytes bytes(70000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13);
    HANDLE file = OpenForReading(dir.Write("data.bin", bytes));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file, &high), 70000u);
    EXPECT_EQ(high, 0u);
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(0, std::memcmp(view, bytes.data(), bytes.size()));

    // The view outlives the handles it came from.
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(0, std::memcmp(view, bytes.data(), bytes.size()));
    EXPECT_TRUE(UnmapViewOfFile(view));

    EXPECT_FALSE(UnmapViewOfFile(view)) << "a view is released once";
    EXPECT_FALSE(CloseHandle(file)) << "a handle is closed once";
    EXPECT_FALSE(CloseHandle(nullptr));
}

TEST(Files, WhatCannotBeOpenedOrMappedFails)
{
    bmpfile::ScratchDir dir;
    EXPECT_EQ(OpenForReading(dir.Path("missing")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenForReading(dir.Path("")), INVALID_HANDLE_VALUE) << "a folder is not a file";
    EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);

    HANDLE empty = OpenForReading(dir.Write("empty", {}));
    ASSERT_NE(empty, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileMappingA(empty, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr) << "an empty file";
    EXPECT_TRUE(CloseHandle(empty));

    HANDLE small = OpenForReading(dir.Write("present", {1, 2, 3}));
    EXPECT_EQ(CreateFileMappingA(small, nullptr, PAGE_READONLY, 0, 4, nullptr), nullptr) << "beyond the file";
    EXPECT_EQ(CreateFileMappingA(nullptr, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
    HANDLE mapping = CreateFileMappingA(small, nullptr, PAGE_READONLY, 0, 0, nullptr);
    EXPECT_EQ(MapViewOfFile(small, FILE_MAP_READ, 0, 0, 0), nullptr) << "a file handle is not a mapping";
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4), nullptr) << "a view beyond the mapping";
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_TRUE(CloseHandle(small));
}

TEST(Files, LocalMemoryIsZeroedOnRequestAndFreedOnce)
{
    auto* block = static_cast<uint8_t*>(LocalAlloc(LPTR, 300));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(block[i], 0) << i;
    EXPECT_EQ(LocalFree(block), nullptr);
    EXPECT_EQ(LocalFree(nullptr), nullptr);
    void* empty = LocalAlloc(LMEM_FIXED, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(LocalFree(empty), nullptr);
}

}  // namespace
