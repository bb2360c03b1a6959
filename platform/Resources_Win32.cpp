#include "platform/Resources.h"

#include <windows.h>

std::optional<ResourceBytes> PlatformFindRawResource(int id)
{
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (!info)
        return std::nullopt;
    HGLOBAL handle = LoadResource(nullptr, info);
    if (!handle)
        return std::nullopt;
    const void* data = LockResource(handle);
    if (!data)
        return std::nullopt;
    return ResourceBytes{static_cast<const unsigned char*>(data), static_cast<std::size_t>(SizeofResource(nullptr, info))};
}
