#include "platform/Resources.h"

#include <utility>

namespace {
std::function<std::optional<ResourceBytes>(int)>& ReplacedLookup()
{
    static std::function<std::optional<ResourceBytes>(int)> lookup;
    return lookup;
}
} // namespace

std::optional<ResourceBytes> FindRawResource(int id)
{
    const auto& lookup = ReplacedLookup();
    return lookup ? lookup(id) : PlatformFindRawResource(id);
}

void SetResourceLookup(std::function<std::optional<ResourceBytes>(int)> lookup)
{
    ReplacedLookup() = std::move(lookup);
}
