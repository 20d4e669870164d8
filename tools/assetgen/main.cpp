// Writes the game's own assets into a directory: the six skybox pictures under skybox/, the hit
// sound, and the game's icon under icons/ (PNG at 48, 128 and 256 pixels, SVG, and a Windows .ico). Plain C++
// with no game or platform code, so it can be built for the host when the game itself is cross-compiled.
// Usage: assetgen <output directory>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/assetgen/filebytes.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/pagepainter.h"
#include "tools/assetgen/windowsicon.h"

namespace {

bool WriteIcons(const std::filesystem::path& folder)
{
    const Icon icon;
    for (int size : {48, 128, 256}) {
        const std::string name = "bricks3d-" + std::to_string(size) + ".png";
        if (!icon.Paint(size).WritePng((folder / name).string())) return false;
    }
    WindowsIcon windowsIcon;
    for (int size : {16, 32, 48, 256}) windowsIcon.Add(icon.Paint(size));
    const std::string svg = icon.Svg();
    return windowsIcon.Write((folder / "bricks3d.ico").string()) &&
           WriteFileBytes((folder / "bricks3d.svg").string(), std::vector<uint8_t>(svg.begin(), svg.end()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::error_code error;
    for (const char* folder : {"skybox", "icons"}) {
        std::filesystem::create_directories(root / folder, error);
        if (error) {
            std::fprintf(stderr, "assetgen: cannot create %s: %s\n", (root / folder).string().c_str(),
                         error.message().c_str());
            return 1;
        }
    }

    // The pictures and the sound, painted as the browser page paints them.
    for (int i = 0; i < AssetCount(); ++i) {
        const uint8_t* bytes = PaintAsset(i);
        const std::string path = (root / AssetName(i)).string();
        if (!WriteFileBytes(path, std::vector<uint8_t>(bytes, bytes + PaintedSize()))) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (!WriteIcons(root / "icons")) {
        std::fprintf(stderr, "assetgen: cannot write the icons in %s\n", (root / "icons").string().c_str());
        return 1;
    }
    return 0;
}
