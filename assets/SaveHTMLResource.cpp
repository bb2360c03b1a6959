#include "assets/SaveHTMLResource.h"

#include <cstdio>

#include "app/CallChain.h"
#include "platform/Resources.h"

bool SaveHTMLResource(int resourceId, const char* path)
{
    CHAIN_OPERATION("SaveHTMLResource");
    const auto resource = FindRawResource(resourceId);
    if (!resource || resource->size == 0 || !resource->data)
        return false;
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(resource->data, 1, resource->size, file) == resource->size;
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

std::string InfoPageFilePath(const char* folder)
{
    std::string path = folder ? folder : "";
    if (path.empty() || (path.back() != '\\' && path.back() != '/'))
        path += '\\';
    return path + kInfoPageFileName;
}
