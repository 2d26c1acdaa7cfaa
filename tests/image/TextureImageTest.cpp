// Textures from image files: the shipped images come out texel for texel as
// the image library's own OpenGL upload makes them. (The integration faults
// test judges what a damaged or missing file gives.)
#include "image/TextureImage.h"
#include "testbed/GlTestContext.h"

#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvath {
namespace {

// Size, channel sizes, wrap modes and filters of level 0, then its texels as RGBA.
std::vector<GLint> textureState(GLuint name) {
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<GLint> state;
    // The library asks for internal format 3, we for GL_RGB: the same class,
    // told apart only by the name the driver reports back.
    for (const GLenum level :
         {GL_TEXTURE_WIDTH, GL_TEXTURE_HEIGHT, GL_TEXTURE_RED_SIZE, GL_TEXTURE_GREEN_SIZE,
          GL_TEXTURE_BLUE_SIZE, GL_TEXTURE_ALPHA_SIZE}) {
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, level, &state.emplace_back());
    }
    for (const GLenum parameter :
         {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &state.emplace_back());
    }
    std::vector<std::uint8_t> texels(static_cast<size_t>(state[0]) * state[1] * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    state.insert(state.end(), texels.begin(), texels.end());
    return state;
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
        const std::vector<GLint> a = textureState(ours), b = textureState(theirs);
        EXPECT_GT(a[0], 0) << path;
        // The first difference only: a texture holds up to four million values.
        const auto [ourValue, theirValue] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
        EXPECT_TRUE(ourValue == a.end() && theirValue == b.end())
            << path << ": value " << (ourValue - a.begin()) << " of " << a.size() << "/"
            << b.size();
        const GLuint names[] = {ours, theirs};
        glDeleteTextures(2, names);
    }
}

} // namespace
} // namespace korvath
