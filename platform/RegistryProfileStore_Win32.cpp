#include "platform/RegistryProfileStore_Win32.h"

#include "platform/WindowsHeaders_Win32.h"

#include "platform/RegistryValue.h"

#include <utility>

namespace {
// Opens (creating as needed) the section key with the rights both directions need.
HKEY OpenSection(const std::string& path)
{
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &key, nullptr);
    return result == ERROR_SUCCESS ? key : nullptr;
}
} // namespace

CRegistryProfileStore::CRegistryProfileStore(std::string company, std::string application)
    : m_company(std::move(company)), m_application(std::move(application))
{
}

std::string CRegistryProfileStore::SectionPath(const char* section) const
{
    return "Software\\" + m_company + "\\" + m_application + "\\" + section;
}

std::int32_t CRegistryProfileStore::GetProfileInt(const char* section, const char* entry, std::int32_t fallback)
{
    HKEY key = OpenSection(SectionPath(section));
    if (!key)
        return fallback;
    unsigned char buffer[4] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    const LONG result = RegQueryValueExA(key, entry, nullptr, &type, buffer, &size);
    RegCloseKey(key);
    const auto setting = SettingFromRegistryQuery(result, type, buffer, size);
    return setting ? *setting : fallback;
}

bool CRegistryProfileStore::WriteProfileInt(const char* section, const char* entry, std::int32_t value)
{
    HKEY key = OpenSection(SectionPath(section));
    if (!key)
        return false;
    DWORD data = static_cast<DWORD>(value);
    const LONG result =
        RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
