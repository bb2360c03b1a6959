#pragma once
// The gentle lightning: the same storm with its light changing seldom enough that no
// second holds 4 transitions (2 flashes) anywhere on the screen, for rooms where someone
// may have photosensitive epilepsy. The designed look switches each bolt and its light
// on and off every 0.05 s; the gentle one changes only when and how long they show:
//  - A strike begins at a flash step that lights a bolt, once the last one began at
//    least kGentleStrikeSpacing ago; every bolt lit at that step strikes, and its stroke
//    and its light on the clouds, the ground and the rain show, at full strength, for
//    kGentleStrikeLight.
//  - Until the strike ends every bolt stays as it was when it began, where it stands
//    and the random ring that shapes it, whatever the lightning step does meanwhile.
// So a strike changes the picture twice, when it begins and when it ends, and shows one
// picture in between, whatever its colours. Any four transitions (two flashes) in one
// second need three changes of the picture within it, one in each of the three swings
// between the first and the last (the clouds, the rain and the camera move too slowly
// to make one); but three such changes span a whole strike spacing, 1.1 s, more than a
// second and the frame, up to 0.1 s late, that shows a change. A light that eased in or
// out would not do: a colour's red value can rise and fall again as the light grows
// (its red channel full, the others still growing).
// The flash steps draw the same random values in both looks, so a seed gives one
// repeatable storm in each.
#include <cstdint>

#include "render/SceneArrays.h"

inline constexpr double kGentleStrikeLight = 0.3;
inline constexpr double kGentleStrikeSpacing = 1.1;

// What a bolt shows in a frame: where it is drawn and lights from, and whether it is
// seen, its stroke drawn and its light on the scene.
struct BoltShow {
    BoltRecord bolt;
    std::int32_t visible;
};

// The designed look: each bolt at its record, seen while it is lit.
void DesignedBoltShow(const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount],
                      BoltShow (&show)[kBoltCount]);

class CGentleLight {
public:
    // One flash step at scene time, once its flags are drawn; ring: what shapes the bolts now.
    void FlashStep(double time, const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount],
                   const RandRing& ring);
    // What the bolts show at a scene time no earlier than the last flash step's, and the
    // ring that shapes them: the strike's own while it lasts, else ring.
    const RandRing& Show(double time, const BoltRecord (&bolts)[kBoltCount], const RandRing& ring,
                         BoltShow (&show)[kBoltCount]) const;

private:
    bool m_struck = false; // a strike has begun
    double m_start = 0.0;  // the last one
    bool m_striking[kBoltCount] = {};
    BoltRecord m_strikes[kBoltCount] = {};
    RandRing m_ring = {};
};
