#pragma once
// Pictures for renderer tests, made here so that the tests pin the renderer and not the
// shipped artwork: small TGA images in the layouts the loader reads, served through the
// resources seam under the scene's resource ids.
#include <cstdint>
#include <vector>

// A colour-mapped 8-bit TGA (type 1) whose palette entry i is (r, g, b) = palette(i).
std::vector<unsigned char> MakeColourMappedTga(int width, int height, const std::vector<std::uint8_t>& indices,
                                               const std::vector<std::uint8_t>& paletteRgb);
// A grey 8-bit TGA (type 3): loads as white with the grey level as alpha.
std::vector<unsigned char> MakeGreyTga(int width, int height, const std::vector<std::uint8_t>& levels);

// Installs the six scene pictures (133, 137, 138, 139, 140, 141) as the resources
// lookup; RemoveTestAssets() puts the platform's lookup back.
void InstallTestAssets();
void RemoveTestAssets();
