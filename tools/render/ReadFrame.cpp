#include "tools/render/ReadFrame.h"

#include <algorithm>
#include <cstddef>

#include "platform/GLHeaders.h"

RgbImage ReadRgbFrame(int width, int height)
{
    RgbImage image;
    image.width = width;
    image.height = height;
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    image.pixels.resize(row * height);
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    // OpenGL's rows run bottom-up.
    unsigned char* pixels = image.pixels.data();
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + top * row, pixels + (top + 1) * row, pixels + bottom * row);
    return image;
}
