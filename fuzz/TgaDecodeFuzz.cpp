// The TGA decoder over arbitrary bytes, and the texture loader on top of it through the
// resources seam (recording GL stand-in). Whatever the bytes: no read outside them, and
// an accepted image agrees with its header and has every pixel converted as its depth
// says; a refused one leaves the texture 0 and makes no OpenGL call.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "assets/LoadTGAResource.h"
#include "assets/TgaDecode.h"
#include "platform/Resources.h"
#include "tests/render/RecordingGL.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

unsigned U16(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

constexpr int kResourceId = 133;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<TgaImage> image = DecodeTGA(data, size);
    if (image) {
        Require(size >= 18);
        Require(image->width == static_cast<int>(U16(data + 12)) && image->height == static_cast<int>(U16(data + 14)));
        Require(image->width > 0 && image->height > 0);
        const std::size_t pixels = static_cast<std::size_t>(image->width) * image->height;
        Require(image->rgba.size() == pixels * 4);
        const unsigned depth = data[16];
        const bool mapped = data[1] != 0;
        const std::size_t start = 18 + data[0] + (mapped ? 768 : 0);
        Require(start + pixels * (depth / 8) <= size);
        // The first and the last pixel, converted independently.
        for (std::size_t i : {std::size_t{0}, pixels - 1}) {
            const std::uint8_t* out = &image->rgba[i * 4];
            if (depth == 24) {
                const std::uint8_t* in = data + start + i * 3;
                Require(out[0] == in[2] && out[1] == in[1] && out[2] == in[0] && out[3] == 255);
            } else if (depth == 32) {
                const std::uint8_t* in = data + start + i * 4;
                Require(out[0] == in[2] && out[1] == in[1] && out[2] == in[0] && out[3] == in[3]);
            } else if (mapped) {
                const std::uint8_t* entry = data + 18 + data[0] + 3 * data[start + i];
                Require(out[0] == entry[2] && out[1] == entry[1] && out[2] == entry[0] && out[3] == 255);
            } else {
                Require(out[0] == 255 && out[1] == 255 && out[2] == 255 && out[3] == data[start + i]);
            }
        }
    }

    // The same bytes as a resource, through the loader.
    rgl::Reset(64, 64);
    rgl::SetLogging(false);
    SetResourceLookup([data, size](int id) -> std::optional<ResourceBytes> {
        if (id != kResourceId)
            return std::nullopt;
        return ResourceBytes{data, size};
    });
    GLuint texture = 12345;
    LoadTGAResource(kResourceId, texture, (size & 1) != 0, GL_REPEAT);
    Require((texture != 0) == image.has_value());
    Require(rgl::ErrorCount() == 0);
    if (!image)
        Require(!rgl::IsEnabled(GL_TEXTURE_2D));
    SetResourceLookup({});
    return 0;
}
