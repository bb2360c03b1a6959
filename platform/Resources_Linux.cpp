#include "platform/EmbeddedResources.h"
#include "platform/Resources.h"

std::optional<ResourceBytes> PlatformFindRawResource(int id)
{
    for (std::size_t i = 0; i < g_embeddedResourceCount; ++i) {
        if (g_embeddedResources[i].id == id)
            return ResourceBytes{g_embeddedResources[i].data, g_embeddedResources[i].size};
    }
    return std::nullopt;
}
