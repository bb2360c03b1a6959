#pragma once
// The profile store on the registry: integers under
//   HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
// Opening a section, for reading as for writing, creates every missing key on the path.
// Reading: exactly four bytes of data are the value whatever the value's type; a
// missing value, longer data or a key that cannot be opened give the fallback. Data
// shorter than four bytes (a REG_SZ of one character, for example) also gives the
// fallback: the system reports success for it but fills only part of the buffer.
// Writing stores a REG_DWORD; a refused write reports false and changes nothing else.
#include <string>

#include "platform/ProfileStore.h"

class CRegistryProfileStore : public IProfileStore {
public:
    CRegistryProfileStore(std::string company, std::string application);

    std::int32_t GetProfileInt(const char* section, const char* entry, std::int32_t fallback) override;
    bool WriteProfileInt(const char* section, const char* entry, std::int32_t value) override;

    // "Software\<company>\<application>\<section>" below HKEY_CURRENT_USER.
    std::string SectionPath(const char* section) const;

private:
    std::string m_company;
    std::string m_application;
};
