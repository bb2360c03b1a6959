#include "display/CDisplay.h"

#include "app/CallChain.h"

CDisplay::CDisplay() : m_count(0), m_modes(nullptr)
{
    BuildModeList();
}

CDisplay::~CDisplay()
{
    delete[] m_modes;
}

void CDisplay::BuildModeList()
{
    CHAIN_OPERATION("CDisplay::BuildModeList");
    static constexpr ModeDescription kModes[] = {
        {640, 480, 16}, {640, 480, 32}, {800, 600, 16}, {800, 600, 32}, {1024, 768, 16}, {1024, 768, 32},
    };
    delete[] m_modes;
    m_modes = nullptr;
    m_count = 0;
    m_modes = new ModeDescription[6];
    for (int i = 0; i < 6; ++i)
        m_modes[i] = kModes[i];
    m_count = 6;
}

int CDisplay::GetModesCount() const
{
    return m_count;
}

const ModeDescription* CDisplay::GetModeDescription(unsigned index) const
{
    if (index >= static_cast<unsigned>(m_count))
        return nullptr;
    return &m_modes[index];
}
