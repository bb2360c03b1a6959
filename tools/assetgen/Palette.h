#pragma once
// Turning float pictures into 256-colour ones.
#include "FileFormats.h"
#include "Raster.h"

#include <functional>

// A palette of 256 colours fitted to the picture (median cut, refined by a few rounds of
// k-means), each pixel mapped to its nearest entry. Deterministic.
IndexedPicture QuantiseColours(const ColourRaster& picture);

// A fixed ramp: entry i is ramp(i / 255); each pixel's level picks its entry directly,
// so level 0 is entry 0 exactly.
IndexedPicture IndexLevels(const GreyRaster& levels, const std::function<Colour(float)>& ramp);

// Plain grey bytes of a level picture.
std::vector<unsigned char> GreyBytes(const GreyRaster& levels);
