// Writes the game's own assets into a directory: the six skybox pictures under skybox/ and the hit
// sound. Plain C++ with no game or platform code, so it can be built for the host when the game
// itself is cross-compiled. Usage: assetgen <output directory>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/assetgen/cubeface.h"
#include "tools/assetgen/ping.h"
#include "tools/assetgen/scenery.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::error_code error;
    std::filesystem::create_directories(root / "skybox", error);
    if (error) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", (root / "skybox").string().c_str(),
                     error.message().c_str());
        return 1;
    }

    const int faceSize = 512;
    const Scenery scenery;
    for (int i = 0; i < CubeFace::count; ++i) {
        const CubeFace& face = CubeFace::Face(i);
        const std::string path = (root / "skybox" / face.FileName()).string();
        if (!scenery.PaintFace(face, faceSize).WriteBmp(path)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    const std::string soundPath = (root / "PRES4YA.wav").string();
    if (!Ping().WriteWav(soundPath)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", soundPath.c_str());
        return 1;
    }
    return 0;
}
