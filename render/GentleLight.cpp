#include "render/GentleLight.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr double kStrikeLength = kGentleRise + kGentleHold + kGentleFall;

// 0 to 1 with no sudden start or stop.
double Ease(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

// The strike's light, age seconds after it began.
double StrikeLight(double age)
{
    if (age < kGentleRise)
        return Ease(age / kGentleRise);
    if (age < kGentleRise + kGentleHold)
        return 1.0;
    if (age < kStrikeLength)
        return 1.0 - Ease((age - kGentleRise - kGentleHold) / kGentleFall);
    return 0.0;
}

} // namespace

void DesignedBoltShow(const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount],
                      BoltShow (&show)[kBoltCount])
{
    for (int i = 0; i < kBoltCount; ++i)
        show[i] = {bolts[i], lit[i], lit[i] != 0 ? 1.0 : 0.0};
}

void CGentleLight::FlashStep(double time, const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount])
{
    const bool any = std::any_of(std::begin(lit), std::end(lit), [](std::int32_t l) { return l != 0; });
    const bool striking = std::any_of(std::begin(m_striking), std::end(m_striking), [](bool s) { return s; });
    if (!any || (striking && time - m_start < kGentleStrikeSpacing))
        return;
    for (int i = 0; i < kBoltCount; ++i) {
        m_striking[i] = lit[i] != 0;
        m_strikes[i] = bolts[i];
    }
    m_start = time;
}

void CGentleLight::Show(double time, const BoltRecord (&bolts)[kBoltCount], const std::int32_t (&lit)[kBoltCount],
                        BoltShow (&show)[kBoltCount]) const
{
    for (int i = 0; i < kBoltCount; ++i) {
        // A bolt that is not striking stays at its record, unseen and unlit, so that it
        // takes its share of the ring as in the designed look.
        if (m_striking[i] && time - m_start < kStrikeLength)
            show[i] = {m_strikes[i], lit[i], StrikeLight(time - m_start)};
        else
            show[i] = {bolts[i], 0, 0.0};
    }
}
