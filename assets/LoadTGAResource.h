#pragma once
// Textures from the TGA images stored as raw-data resources. Failures are silent:
// the texture name stays 0 and drawing falls back to untextured blocks.
#include "platform/GLHeaders.h"

// Decodes resource `resourceId` (raw-data resource, found through the resources seam)
// and uploads it as an RGBA texture bound to GL_TEXTURE_2D; smooth selects GL_LINEAR
// over GL_NEAREST, wrapMode goes to both wrap directions. Leaves 2D texturing enabled.
void LoadTGAResource(int resourceId, GLuint& texture, bool smooth, GLint wrapMode);
