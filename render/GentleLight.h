#pragma once
// The gentle lightning: the same storm with its light held to at most three flashes in
// any second, for rooms where someone may have photosensitive epilepsy. The designed look
// switches each bolt and its light on and off every 0.05 s; the gentle one changes only
// how the light may change:
//  - A strike begins at a flash step that lights a bolt, once the last one began at
//    least kGentleStrikeSpacing ago; every bolt lit at that step strikes, where it
//    stands then, and stays there until the strike ends, whatever the lightning step
//    does to its record meanwhile; the next strike may be elsewhere.
//  - The strike's light on the clouds, the ground and the rain eases in, holds and eases
//    out: one rise and one fall, far enough apart from the next strike's that any second
//    holds at most two of each, wherever on the screen they fall.
//  - The bolt's stroke, a small area, still flickers with the flash steps, during its
//    strike only.
// The flash steps draw the same random values in both looks, so a seed gives one
// repeatable storm in each.
#include <cstdint>

#include "render/SceneArrays.h"

inline constexpr double kGentleRise = 0.1;
inline constexpr double kGentleHold = 0.1;
inline constexpr double kGentleFall = 0.4;
inline constexpr double kGentleStrikeSpacing = 0.65;

// What a bolt shows in a frame: where it is drawn and lights from, whether its stroke is
// drawn, and the strength of its light, 0 (none) to 1.
struct BoltShow {
    BoltRecord bolt;
    std::int32_t visible;
    double light;
};

// The designed look: each bolt at its record, drawn and lighting fully while it is lit.
void DesignedBoltShow(const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount],
                      BoltShow (&show)[kBoltCount]);

class CGentleLight {
public:
    // One flash step at scene time, once its flags are drawn.
    void FlashStep(double time, const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount]);
    // What the bolts show at a scene time no earlier than the last flash step's.
    void Show(double time, const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount],
              BoltShow (&show)[kBoltCount]) const;

private:
    bool m_striking[kBoltCount] = {}; // the bolts of the last strike
    BoltRecord m_strikes[kBoltCount] = {};
    double m_start = 0.0;
};
