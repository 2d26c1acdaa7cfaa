// Textures and sprites through the image library into OpenGL: their sizes, the
// sprites' black surround, the row order the generator paints in, and what
// Mesh3ds::draw leaves in the GL state.
#include "MeshFiles.h"
#include "generator/Image.h"
#include "mesh/TextureImage.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace korvath {
namespace {

struct ImageFile {
    const char* path;
    int size;
};

std::vector<std::uint8_t> textureTexels(GLuint texture, int size) {
    std::vector<std::uint8_t> texels(static_cast<size_t>(size) * size * 3);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

int brightness(const std::vector<std::uint8_t>& texels, int size, int x, int y) {
    const size_t at = (static_cast<size_t>(y) * size + x) * 3;
    return std::max({texels[at], texels[at + 1], texels[at + 2]});
}

class DataImage : public ::testing::TestWithParam<ImageFile> {};

TEST_P(DataImage, LoadsThroughTheImageLibraryWithItsSize) {
    test::ensureGlContext();
    const GLuint texture = loadTextureImage(GetParam().path);
    ASSERT_TRUE(isTextureLoaded(texture)) << GetParam().path;
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, GetParam().size);
    EXPECT_EQ(height, GetParam().size);
    glDeleteTextures(1, &texture);
}

INSTANTIATE_TEST_SUITE_P(DataFiles, DataImage,
                         ::testing::Values(ImageFile{"data/model/korvath.jpg", 1024},
                                           ImageFile{"data/model/landscape.jpg", 1024},
                                           ImageFile{"data/model/flieger.jpg", 256},
                                           ImageFile{"data/particle/lava.bmp", 64},
                                           ImageFile{"data/particle/ash.bmp", 64},
                                           ImageFile{"data/particle/stone.bmp", 64}));

TEST(Sprites, AreBrightInTheMiddleAndPureBlackAllRoundTheEdge) {
    test::ensureGlContext();
    // The particle programs take brightness as coverage: a black border is
    // cut away, so no sprite shows its square.
    const std::pair<const char*, int> sprites[] = {{"data/particle/lava.bmp", 200},
                                                   {"data/particle/ash.bmp", 90},
                                                   {"data/particle/stone.bmp", 60}};
    for (const auto& [path, centreBrightness] : sprites) {
        const GLuint texture = loadTextureImage(path);
        ASSERT_TRUE(isTextureLoaded(texture)) << path;
        const std::vector<std::uint8_t> texels = textureTexels(texture, 64);
        EXPECT_GT(brightness(texels, 64, 32, 32), centreBrightness) << path;
        for (int i = 0; i < 64; ++i) {
            for (const auto& [x, y] : {std::pair{i, 0}, {i, 63}, {0, i}, {63, i}}) {
                ASSERT_EQ(brightness(texels, 64, x, y), 0) << path << " at " << x << "," << y;
            }
        }
        glDeleteTextures(1, &texture);
    }
}

TEST(GeneratorImages, ReachOpenGlWithRowZeroFirst) {
    test::ensureGlContext();
    generator::Image image(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.set(x, y,
                      y < 4 ? generator::Colour{1.0, 0.0, 0.0} : generator::Colour{0.0, 0.0, 1.0});
        }
    }
    for (const std::string path : {"/tmp/korvath-rows.jpg", "/tmp/korvath-rows.bmp"}) {
        ASSERT_TRUE(generator::saveImage(image, path)) << path;
        const GLuint texture = loadTextureImage(path.c_str());
        ASSERT_TRUE(isTextureLoaded(texture)) << path;
        const std::vector<std::uint8_t> texels = textureTexels(texture, 16);
        EXPECT_GT(texels[0], 200) << path;                 // row 0 red
        EXPECT_GT(texels[(15 * 16) * 3 + 2], 200) << path; // row 15 blue
        glDeleteTextures(1, &texture);
        std::remove(path.c_str());
    }
}

TEST(MeshDraw, LeavesTheTextureBoundAndTheLastNormalAndCornerCurrent) {
    test::ensureGlContext();
    ThreeDsMesh triangle = test::unitTriangle();
    triangle.faces = {{0, 2, 1}};
    const auto mesh = test::loadBytes(meshFileBytes({triangle}));
    glGenTextures(1, &mesh->textureId);
    glBindTexture(GL_TEXTURE_2D, 0);
    mesh->draw();
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), mesh->textureId);
    GLfloat normal[3];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_FLOAT_EQ(normal[2], -1.0f);
    GLfloat texCoord[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    EXPECT_FLOAT_EQ(texCoord[0], 0.75f); // corner c = vertex 1
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(1, &mesh->textureId);
}

} // namespace
} // namespace korvath
