// The TGA decoder over any bytes, and the texture loader on top of it (recording GL
// stand-in): no read outside the bytes; an accepted image agrees with its header and
// fills its pixels; a refused one leaves the texture 0 and texturing off.
#include <cstddef>
#include <cstdint>

#include "assets/LoadTGAResource.h"
#include "assets/TgaDecode.h"
#include "fuzz/Require.h"
#include "platform/Resources.h"
#include "tests/render/RecordingGL.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto image = DecodeTGA(data, size);
    if (image) {
        Require(image->width == (data[12] | data[13] << 8) && image->height == (data[14] | data[15] << 8));
        Require(image->rgba.size() == static_cast<std::size_t>(image->width) * image->height * 4);
        Require(18 + data[0] + (data[1] ? 768u : 0u) + image->rgba.size() / 4 * (data[16] / 8) <= size);
    }
    rgl::Reset();
    SetResourceLookup([data, size](int) { return std::optional<ResourceBytes>(ResourceBytes{data, size}); });
    GLuint texture = 12345;
    LoadTGAResource(1, texture, size & 1, GL_REPEAT);
    SetResourceLookup({});
    Require((texture != 0) == image.has_value() && rgl::Errors() == 0 && (image || rgl::Enables() == 0));
    return 0;
}
