#pragma once
// Resources seam: the bytes of a raw-data resource (RCDATA on Windows) by integer id.
// The bytes stay owned by the module (or the embedded table) for the whole process.
#include <cstddef>
#include <functional>
#include <optional>

struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

std::optional<ResourceBytes> FindRawResource(int id);

// Replaces the lookup FindRawResource uses (tests supply their own tables); an empty
// function puts the platform's lookup back.
void SetResourceLookup(std::function<std::optional<ResourceBytes>(int)> lookup);

// The platform's own lookup: the executable's resources on Windows, the table
// embedded at build time natively.
std::optional<ResourceBytes> PlatformFindRawResource(int id);
