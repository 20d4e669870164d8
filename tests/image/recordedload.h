// Loading a bitmap in a test: the picture, owned, and the message boxes the loader showed, recorded.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "image/dibimage.h"
#include "shell/platform/winapi/testseam/testseam.h"

struct ImageFree {
    void operator()(RgbImage* image) const
    {
        std::free(image->data);
        std::free(image);
    }
};
using Image = std::unique_ptr<RgbImage, ImageFree>;

struct LoadResult {
    Image image;
    std::vector<testseam::MessageBoxRecord> boxes;

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& box : boxes) texts.push_back(box.text);
        return texts;
    }
};

inline LoadResult Load(const std::string& path)
{
    testseam::RecordMessageBoxes(true);
    LoadResult result{Image(LoadDibImage(path.c_str())), testseam::TakeMessageBoxes()};
    testseam::RecordMessageBoxes(false);
    return result;
}
