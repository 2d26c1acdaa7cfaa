// Loading BMP and JPEG images into OpenGL textures: the file is read with a
// bound, its header checked, decoded by the image library and uploaded here.
#pragma once

#include "image/ImageDecode.h"

#include <GL/glew.h>

namespace korvath {

// What loadTextureImage answers for an image it cannot load.
inline constexpr GLuint textureNotLoaded = static_cast<GLuint>(-1);

// The texture name of the image at path, left bound to GL_TEXTURE_2D; on any
// failure one line on stderr ("texture: PATH: reason") and textureNotLoaded.
// Needs a GL context and ilInit/iluInit.
GLuint loadTextureImage(const char* path);

// A new texture holding the image, with repeat wrapping and linear filtering,
// left bound to GL_TEXTURE_2D.
GLuint uploadTexture(const DecodedImage& image);

// 0 (the image library's failure answer) and all bits set both mean "not loaded".
bool isTextureLoaded(GLuint textureName);

} // namespace korvath
