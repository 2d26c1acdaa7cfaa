// korvath_generate_data [output directory, default "data"]: writes every mesh,
// texture and sprite the program reads, the same bytes on every run.
#include "ThreeDsWriter.h"
#include "generator/AircraftModel.h"
#include "generator/IslandModel.h"
#include "generator/LandscapeModel.h"
#include "generator/ParticleSprites.h"

#include <IL/il.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

using namespace korvath;
using namespace korvath::generator;

namespace {

struct DataFile {
    const char* path; // below the output directory
    std::function<bool(const std::string& fullPath)> write;
};

std::function<bool(const std::string&)> meshFile(ThreeDsMesh (*build)()) {
    return
        [build](const std::string& path) { return writeFileBytes(path, meshFileBytes({build()})); };
}

std::function<bool(const std::string&)> imageFile(Image (*paint)()) {
    return [paint](const std::string& path) { return saveImage(paint(), path); };
}

} // namespace

int main(int argc, char** argv) {
    const std::string outputDirectory = argc > 1 ? argv[1] : "data";
    std::error_code error;
    std::filesystem::create_directories(outputDirectory + "/model", error);
    std::filesystem::create_directories(outputDirectory + "/particle", error);
    ilInit();

    const DataFile files[] = {
        {"model/korvath.3ds", meshFile(islandMesh)},
        {"model/korvath.jpg", imageFile(islandTexture)},
        {"model/landscape.3ds", meshFile(landscapeMesh)},
        {"model/landscape.jpg", imageFile(landscapeTexture)},
        {"model/flieger.3ds", meshFile(aircraftMesh)},
        {"model/flieger.jpg", imageFile(aircraftTexture)},
        {"particle/lava.bmp", imageFile(lavaSprite)},
        {"particle/ash.bmp", imageFile(ashSprite)},
        {"particle/stone.bmp", imageFile(stoneSprite)},
    };
    for (const DataFile& file : files) {
        const std::string path = outputDirectory + "/" + file.path;
        if (!file.write(path)) {
            std::fprintf(stderr, "korvath_generate_data: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
