// Textures and sprites through the image library into OpenGL: their sizes, the
// sprites' black surround and the row order the generator paints in.
#include "generator/Image.h"
#include "mesh/TextureImage.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace korvath {
namespace {

struct ImageFile {
    const char* path;
    int size;
};

// The RGB texels of a square texture loaded from path, which must load.
std::vector<std::uint8_t> loadTexels(const std::string& path, int size) {
    test::ensureGlContext();
    GLuint texture = loadTextureImage(path.c_str());
    EXPECT_TRUE(isTextureLoaded(texture)) << path;
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, size) << path;
    EXPECT_EQ(height, size) << path;
    std::vector<std::uint8_t> texels(static_cast<size_t>(size) * size * 3);
    if (width == size && height == size) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    }
    glDeleteTextures(1, &texture);
    return texels;
}

class DataImage : public ::testing::TestWithParam<ImageFile> {};

TEST_P(DataImage, LoadsThroughTheImageLibraryWithItsSize) {
    loadTexels(GetParam().path, GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(DataFiles, DataImage,
                         ::testing::Values(ImageFile{"data/model/korvath.jpg", 1024},
                                           ImageFile{"data/model/landscape.jpg", 1024},
                                           ImageFile{"data/model/flieger.jpg", 256},
                                           ImageFile{"data/particle/lava.bmp", 64},
                                           ImageFile{"data/particle/ash.bmp", 64},
                                           ImageFile{"data/particle/stone.bmp", 64}));

TEST(Sprites, AreBrightInTheMiddleAndPureBlackAllRoundTheEdge) {
    // The particle programs take brightness as coverage: a black border is cut
    // away, so no sprite shows its square.
    const std::pair<const char*, int> sprites[] = {{"data/particle/lava.bmp", 200},
                                                   {"data/particle/ash.bmp", 90},
                                                   {"data/particle/stone.bmp", 60}};
    for (const auto& [path, centreBrightness] : sprites) {
        const std::vector<std::uint8_t> texels = loadTexels(path, 64);
        const auto brightness = [&](int x, int y) {
            const std::uint8_t* texel = &texels[(static_cast<size_t>(y) * 64 + x) * 3];
            return std::max({texel[0], texel[1], texel[2]});
        };
        EXPECT_GT(brightness(32, 32), centreBrightness) << path;
        for (int i = 0; i < 64; ++i) {
            ASSERT_EQ(brightness(i, 0) + brightness(i, 63) + brightness(0, i) + brightness(63, i),
                      0)
                << path << " at " << i;
        }
    }
}

TEST(GeneratorImages, ReachOpenGlWithRowZeroFirst) {
    generator::Image image(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.set(x, y, {y < 4 ? 1.0 : 0.0, 0.0, y < 4 ? 0.0 : 1.0});
        }
    }
    for (const char* type : {".jpg", ".bmp"}) {
        const std::string path = "/tmp/korvath-rows-" + std::to_string(getpid()) + type;
        ASSERT_TRUE(generator::saveImage(image, path)) << path;
        const std::vector<std::uint8_t> texels = loadTexels(path, 16);
        EXPECT_GT(texels[0], 200) << path;                 // row 0 red
        EXPECT_GT(texels[(15 * 16) * 3 + 2], 200) << path; // row 15 blue
        std::remove(path.c_str());
    }
}

} // namespace
} // namespace korvath
