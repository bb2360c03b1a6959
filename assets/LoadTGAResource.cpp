#include "assets/LoadTGAResource.h"

#include "app/CallChain.h"
#include "assets/TgaDecode.h"
#include "platform/Resources.h"

void LoadTGAResource(int resourceId, GLuint& texture, bool smooth, GLint wrapMode)
{
    CHAIN_OPERATION("LoadTGAResource");
    texture = 0;

    const std::optional<ResourceBytes> resource = FindRawResource(resourceId);
    if (!resource)
        return;
    std::optional<TgaImage> image = DecodeTGA(resource->data, resource->size);
    if (!image)
        return;

    // The renderer relies on texturing staying enabled and on the unpack alignment of 1.
    glEnable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image->width, image->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image->rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapMode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapMode);
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}
