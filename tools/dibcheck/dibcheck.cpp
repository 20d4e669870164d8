// dibcheck [--ppm OUT.ppm] FILE
// dibcheck --version
// Loads FILE with the game's own OpenImageFile and says whether the game would accept it:
// "ok WIDTH HEIGHT" and exit status 0, or "refused: MESSAGE" with the loader's message and status 1.
// Usage errors give status 2. --ppm writes the decoded picture as a binary PPM, top row first.
// The loader's message boxes are recorded and printed instead of shown.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "image/texture.h"
#include "tools/dibcheck/boxrecorder.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: dibcheck [--ppm OUT.ppm] FILE\n       dibcheck --version\n");
    return 2;
}

bool WritePpm(const char* path, const RgbImage& image)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", image.width, image.height);
    const size_t rowBytes = static_cast<size_t>(image.width) * 3;
    bool written = true;
    for (int32_t y = image.height - 1; y >= 0 && written; --y) {
        written = std::fwrite(image.data + y * rowBytes, 1, rowBytes, out) == rowBytes;
    }
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("dibcheck %s\n", BRICKS_VERSION);
        return 0;
    }
    const char* ppm = nullptr;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--ppm") == 0) {
            if (ppm || i + 1 >= argc) return Usage();
            ppm = argv[++i];
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            return Usage();
        } else if (file) {
            return Usage();
        } else {
            file = argv[i];
        }
    }
    if (!file) return Usage();

    StartRecordingBoxes();
    RgbImage* image = OpenImageFile(file);
    const std::vector<std::string> boxes = TakeRecordedBoxes();
    if (!image) {
        std::string message = boxes.empty() ? "the file is missing or cannot be read" : boxes.front();
        while (!message.empty() && message.back() == '\n') message.pop_back();
        std::printf("refused: %s\n", message.c_str());
        return 1;
    }
    int status = 0;
    std::printf("ok %d %d\n", image->width, image->height);
    if (ppm && !WritePpm(ppm, *image)) {
        std::fprintf(stderr, "dibcheck: cannot write %s\n", ppm);
        status = 1;
    }
    std::free(image->data);
    std::free(image);
    return status;
}
