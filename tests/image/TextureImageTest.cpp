// Textures from image files: the shipped images come out texel for texel as
// the image library's own OpenGL upload makes them, and a
// damaged file gives the failure name and one line on stderr naming it.
#include "image/TextureImage.h"
#include "ImageFileBytes.h"
#include "testbed/GlTestContext.h"

#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilut.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace korvath {
namespace {

struct TextureState {
    GLint width = 0, height = 0;
    GLint redBits = 0, greenBits = 0, blueBits = 0, alphaBits = 0;
    GLint wrapS = 0, wrapT = 0, minFilter = 0, magFilter = 0;
    std::vector<std::uint8_t> texels; // level 0 as RGBA bytes
};

TextureState readTexture(GLuint name) {
    TextureState s;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &s.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &s.height);
    // The library asks for internal format 3, we for GL_RGB: the same class,
    // told apart only by the name the driver reports back.
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &s.redBits);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_GREEN_SIZE, &s.greenBits);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_BLUE_SIZE, &s.blueBits);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &s.alphaBits);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s.wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &s.wrapT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &s.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &s.magFilter);
    s.texels.resize(static_cast<size_t>(s.width) * s.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, s.texels.data());
    return s;
}

// The index of the first differing byte, or -1 when the two are equal.
long firstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    if (a.size() != b.size()) {
        return 0;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

TEST(TextureImage, ShippedImagesComeOutAsTheLibraryUploadsThem) {
    test::ensureGlContext();
    for (const char* path :
         {"data/model/korvath.jpg", "data/model/landscape.jpg", "data/model/flieger.jpg",
          "data/particle/lava.bmp", "data/particle/ash.bmp", "data/particle/stone.bmp"}) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        const GLuint ours = loadTextureImage(path);
        ASSERT_TRUE(isTextureLoaded(ours)) << path;
        GLint bound = 0, alignment = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(static_cast<GLuint>(bound), ours) << path;
        EXPECT_EQ(alignment, 4) << path;

        std::string mutablePath(path);
        const GLuint theirs = ilutGLLoadImage(mutablePath.data());
        ASSERT_TRUE(isTextureLoaded(theirs)) << path;

        const TextureState a = readTexture(ours);
        const TextureState b = readTexture(theirs);
        EXPECT_GT(a.width, 0) << path;
        EXPECT_EQ(a.width, b.width) << path;
        EXPECT_EQ(a.height, b.height) << path;
        EXPECT_EQ(a.redBits, b.redBits) << path;
        EXPECT_EQ(a.greenBits, b.greenBits) << path;
        EXPECT_EQ(a.blueBits, b.blueBits) << path;
        EXPECT_EQ(a.alphaBits, b.alphaBits) << path;
        EXPECT_EQ(a.wrapS, b.wrapS) << path;
        EXPECT_EQ(a.wrapT, b.wrapT) << path;
        EXPECT_EQ(a.minFilter, b.minFilter) << path;
        EXPECT_EQ(a.magFilter, b.magFilter) << path;
        EXPECT_EQ(firstDifference(a.texels, b.texels), -1) << path;
        const GLuint names[] = {ours, theirs};
        glDeleteTextures(2, names);
    }
}

TEST(TextureImage, DamagedOrMissingFileGivesTheFailureNameAndOneLine) {
    test::ensureGlContext();
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("korvath-images-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    BmpFields topless;
    topless.height = INT_MIN;
    BmpFields os2;
    os2.infoSize = 12;
    const struct {
        const char* file;
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {"ash.bmp", bmpFileBytes(topless, Bytes(16)), "header declares 2x-2147483648"},
        {"stone.bmp", bmpFileBytes(os2, Bytes(16)),
         "OS/2 BMP (12-byte info header) is not supported; save as an uncompressed 24-bit BMP\n"},
        {"korvath.jpg", jpegFileBytes({jpegSegment(0xC0, jpegFramePayload(8, 8, 3)), {0xFF, 0xD9}}),
         "the image library cannot decode it: "},
        {"missing.bmp", {}, "No such file or directory"},
    };
    for (const auto& c : cases) {
        const std::string path = (directory / c.file).string();
        if (!c.bytes.empty()) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(c.bytes.data()),
                       static_cast<std::streamsize>(c.bytes.size()));
        }
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const GLuint name = loadTextureImage(path.c_str());
        const std::string err = ::testing::internal::GetCapturedStderr();
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(name, textureNotLoaded) << c.file;
        EXPECT_THAT(err, ::testing::StartsWith("texture: " + path + ": " + c.reason)) << c.file;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(out, "") << c.file;
    }
    std::filesystem::remove_all(directory);
}

} // namespace
} // namespace korvath
