// Temporary 3DS files for the mesh tests.
#include "MeshFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace korvath::test {

ThreeDsMesh unitTriangle() {
    ThreeDsMesh mesh;
    mesh.name = "tri";
    mesh.vertices = {{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}};
    mesh.faces = {{0, 1, 2}};
    mesh.texCoords = {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.25f, 1.0f}};
    return mesh;
}

TemporaryFile::TemporaryFile(const std::vector<std::uint8_t>& bytes) {
    char pattern[] = "/tmp/korvath-mesh-XXXXXX";
    const int descriptor = mkstemp(pattern);
    EXPECT_GE(descriptor, 0);
    close(descriptor);
    filePath = pattern;
    EXPECT_TRUE(writeFileBytes(filePath, bytes));
}

TemporaryFile::~TemporaryFile() {
    std::remove(filePath.c_str());
}

std::unique_ptr<Mesh3ds> loadBytes(const std::vector<std::uint8_t>& bytes) {
    const TemporaryFile file(bytes);
    auto mesh = std::make_unique<Mesh3ds>();
    EXPECT_TRUE(mesh->load(file.path()));
    return mesh;
}

} // namespace korvath::test
