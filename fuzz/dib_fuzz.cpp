// Fuzz target over the whole bitmap loader: each input is written to an in-memory file and opened by
// name through OpenImageFile, as the game opens its pictures. Message boxes are recorded, not shown.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/texture.h"
#include "shell/platform/winapi/testseam/testseam.h"

namespace {

int gFile = -1;
std::string gPath;

uint32_t Read32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Compressed pictures may legitimately be huge and black from a few bytes; past a million pixels
// each run takes long enough to slow the search without reaching new code.
bool HugeCompressed(const uint8_t* data, size_t size)
{
    size_t at = size >= 2 && data[0] == 'B' && data[1] == 'M' ? 14 : 0;
    if (size < at + 20 || Read32(data + at) != 40) return false;
    uint32_t compression = Read32(data + at + 16);
    if (compression != 1 && compression != 2) return false;
    int64_t width = static_cast<int32_t>(Read32(data + at + 4));
    int64_t height = static_cast<int32_t>(Read32(data + at + 8));
    return width * (height < 0 ? -height : height) > (int64_t(1) << 20);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    gFile = memfd_create("dib_fuzz", 0);
    if (gFile < 0) std::abort();
    gPath = "/proc/self/fd/" + std::to_string(gFile);
    testseam::RecordMessageBoxes(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (HugeCompressed(data, size)) return -1;
    if (ftruncate(gFile, 0) != 0 || (size && pwrite(gFile, data, size, 0) != static_cast<ssize_t>(size))) {
        std::abort();
    }
    RgbImage* image = OpenImageFile(gPath.c_str());
    auto boxes = testseam::TakeMessageBoxes();
    if (image) {
        // A picture comes with no message, and every byte of it is readable.
        if (!boxes.empty() || image->width <= 0 || image->height <= 0) std::abort();
        size_t bytes = static_cast<size_t>(image->width) * image->height * 3;
        unsigned sum = 0;
        for (size_t i = 0; i < bytes; i += 61) sum += image->data[i];
        sum += image->data[bytes - 1];
        if (sum == 0xffffffffu) std::abort();
        std::free(image->data);
        std::free(image);
    } else if (boxes.size() != 1) {
        // Every refusal of an existing file shows exactly one message.
        std::abort();
    }
    return 0;
}
