// libFuzzer target: any bytes as a 3DS file through Mesh3ds::load, then every
// element the draw call would read. AddressSanitizer catches a read or write
// outside the record; the checks below catch a count or index that would lead
// there.
#include "mesh/Mesh3ds.h"
#include "mesh/MeshDrawing.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// Sums what it is sent, so nothing the draw call reads can be optimised away.
struct SummingSink {
    double sum = 0.0;
    void bindTexture(std::uint32_t) {}
    void begin() {}
    void normal(float x, float y, float z) { sum += x + y + z; }
    void texCoord(float u, float v) { sum += u + v; }
    void vertex(float x, float y, float z) { sum += x + y + z; }
    void end() {}
};

const std::string& inputPath() {
    static const std::string path = "/tmp/korvath-fuzz-" + std::to_string(getpid()) + ".3ds";
    return path;
}

bool withinCapacity(int count) {
    return count >= 0 && count <= korvath::Mesh3ds::capacity;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    auto mesh = std::make_unique<korvath::Mesh3ds>();
    const bool loaded = mesh->load(inputPath().c_str());
    std::remove(inputPath().c_str());
    if (!loaded) {
        __builtin_trap();
    }
    if (!withinCapacity(mesh->vertexCount) || !withinCapacity(mesh->polygonCount) ||
        mesh->name[sizeof mesh->name - 1] != '\0') {
        __builtin_trap();
    }
    for (int i = 0; i < mesh->polygonCount; ++i) {
        const korvath::Triangle& t = mesh->polygons[i];
        for (const int corner : {t.a, t.b, t.c}) {
            if (corner < 0 || corner >= korvath::Mesh3ds::capacity) {
                __builtin_trap();
            }
        }
    }
    SummingSink sink;
    korvath::emitMesh(*mesh, sink);
    volatile double keep = sink.sum;
    (void)keep;
    return 0;
}
