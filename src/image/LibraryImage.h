// One image of the image library, generated and bound for as long as it lives,
// so every load or save works on its own image and releases it on every path.
#pragma once

#include <IL/il.h>

namespace korvath {

class BoundLibraryImage {
public:
    BoundLibraryImage() {
        ilGenImages(1, &name);
        ilBindImage(name);
    }
    ~BoundLibraryImage() { ilDeleteImages(1, &name); }
    BoundLibraryImage(const BoundLibraryImage&) = delete;
    BoundLibraryImage& operator=(const BoundLibraryImage&) = delete;

private:
    ILuint name = 0;
};

} // namespace korvath
