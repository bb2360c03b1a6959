#include "render/GentleLight.h"

#include <algorithm>
#include <iterator>

void DesignedBoltShow(const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount],
                      BoltShow (&show)[kBoltCount])
{
    for (int i = 0; i < kBoltCount; ++i)
        show[i] = {bolts[i], lit[i]};
}

void CGentleLight::FlashStep(double time, const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount],
                             const RandRing& ring)
{
    const bool any = std::any_of(std::begin(lit), std::end(lit), [](std::int32_t l) { return l != 0; });
    if (!any || (m_struck && time - m_start < kGentleStrikeSpacing))
        return;
    m_struck = true;
    m_start = time;
    for (int i = 0; i < kBoltCount; ++i) {
        m_striking[i] = lit[i] != 0;
        m_strikes[i] = bolts[i];
    }
    std::copy(std::begin(ring), std::end(ring), std::begin(m_ring));
}

const RandRing& CGentleLight::Show(double time, const BoltRecord (&bolts)[kBoltCount], const RandRing& ring,
                                   BoltShow (&show)[kBoltCount]) const
{
    const bool striking = m_struck && time - m_start < kGentleStrikeLight;
    // Outside a strike every bolt stays at its record, unseen, so that it takes its share
    // of the ring as in the designed look; within one, every bolt stays where the strike
    // found it, so that the struck ones keep their shapes.
    for (int i = 0; i < kBoltCount; ++i)
        show[i] = striking ? BoltShow{m_strikes[i], m_striking[i] ? 1 : 0} : BoltShow{bolts[i], 0};
    return striking ? m_ring : ring;
}
