#pragma once
// Access to the generated files for the tests: the bytes the program sees through the
// resources seam, and the committed files themselves.
#include "platform/Resources.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

using ByteVector = std::vector<unsigned char>;

inline ByteVector ReadResourceFile(const std::string& name)
{
    std::ifstream in(std::string(ARCVEIL_RESOURCES_DIR) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read resources/" + name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline ByteVector RawResource(int id)
{
    const auto found = FindRawResource(id);
    if (!found)
        throw std::runtime_error("raw resource " + std::to_string(id) + " missing");
    return {found->data, found->data + found->size};
}

inline unsigned U16At(const ByteVector& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
inline std::uint32_t U32At(const ByteVector& b, std::size_t at)
{
    return U16At(b, at) | (static_cast<std::uint32_t>(U16At(b, at + 2)) << 16);
}
inline std::string TextAt(const ByteVector& b, std::size_t at, std::size_t n)
{
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
}
