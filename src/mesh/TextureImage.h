// Loading images into OpenGL textures through the image library.
#pragma once

#include <GL/glew.h>

namespace korvath {

// The texture name of the image at path; see isTextureLoaded for failure.
GLuint loadTextureImage(const char* path);

// The image library answers 0 for an image it cannot load here; all bits set is
// the traditional failure value. Both mean "not loaded".
bool isTextureLoaded(GLuint textureName);

} // namespace korvath
