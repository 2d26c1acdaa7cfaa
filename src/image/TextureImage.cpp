// Image files to textures. The upload is ours rather than the image library's
// OpenGL binding, whose flip and scale steps trust the decoded sizes.
#include "image/TextureImage.h"

#include "diagnostics/Report.h"
#include "image/ImageFile.h"

namespace korvath {

GLuint loadTextureImage(const char* path) {
    const BoundedFileRead file = readImageFile(path);
    if (!file.problem.empty()) {
        reportProblem("texture", path, file.problem);
        return textureNotLoaded;
    }
    const ImageDecodeResult decoded = decodeImage(file.bytes);
    if (!decoded.problem.empty()) {
        reportProblem("texture", path, decoded.problem);
        return textureNotLoaded;
    }
    return uploadTexture(decoded.image);
}

GLuint uploadTexture(const DecodedImage& image) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Linear filtering of the one level, as the image library's own upload sets
    // it. Trilinear mipmaps were measured slower on the software renderer (about
    // 0.5 ms on the terrain and the shadow scene's camera pass) and soften the
    // distant terrain, so the textures have none.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // RGB rows are packed without padding; the caller's alignment is put back.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return name;
}

bool isTextureLoaded(GLuint textureName) {
    return textureName != 0 && textureName != textureNotLoaded;
}

} // namespace korvath
