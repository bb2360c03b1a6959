#pragma once
// The native build's resource table, generated at build time from the files in resources/.
#include <cstddef>

struct EmbeddedResource {
    int id;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedResource g_embeddedResources[];
extern const std::size_t g_embeddedResourceCount;
