#include "platform/Resources.h"

#include <utility>

namespace {
std::function<std::optional<ResourceBytes>(int)>& TestLookup()
{
    static std::function<std::optional<ResourceBytes>(int)> lookup;
    return lookup;
}
} // namespace

std::optional<ResourceBytes> FindRawResource(int id)
{
    const auto& lookup = TestLookup();
    return lookup ? lookup(id) : PlatformFindRawResource(id);
}

void SetResourceLookupForTests(std::function<std::optional<ResourceBytes>(int)> lookup)
{
    TestLookup() = std::move(lookup);
}
