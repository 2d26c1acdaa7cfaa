// Image loading through DevIL's OpenGL binding.
#include "mesh/TextureImage.h"

#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilut.h>

#include <string>

namespace korvath {

GLuint loadTextureImage(const char* path) {
    // DevIL takes a mutable string.
    std::string mutablePath(path);
    return ilutGLLoadImage(mutablePath.data());
}

bool isTextureLoaded(GLuint textureName) {
    return textureName != 0 && textureName != static_cast<GLuint>(-1);
}

} // namespace korvath
