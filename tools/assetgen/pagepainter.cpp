#include "tools/assetgen/pagepainter.h"

#include <string>
#include <vector>

#include "tools/assetgen/cubeface.h"
#include "tools/assetgen/ping.h"
#include "tools/assetgen/scenery.h"

namespace {

const char* const kSoundName = "PRES4YA.wav";

std::vector<uint8_t> painted;

}  // namespace

int AssetCount()
{
    return CubeFace::count + 1;
}

const char* AssetName(int index)
{
    static std::string names[CubeFace::count];
    if (index == CubeFace::count) return kSoundName;
    if (index < 0 || index > CubeFace::count) return nullptr;
    names[index] = std::string("skybox/") + CubeFace::Face(index).FileName();
    return names[index].c_str();
}

const uint8_t* PaintAsset(int index)
{
    if (index < 0 || index >= AssetCount()) return nullptr;
    if (index == CubeFace::count) {
        painted = Ping().Wav();
    } else {
        painted = Scenery().PaintFace(CubeFace::Face(index), Scenery::pictureSize).Bmp();
    }
    return painted.data();
}

uint32_t PaintedSize()
{
    return static_cast<uint32_t>(painted.size());
}
