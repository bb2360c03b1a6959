// The Linux saver's settings file, which its user writes by hand: read with at most one
// warning line however bad it is, every setting left in its range.
// Writing it back is left to the unit tests: each commit replaces the file on disk, too
// slow to fuzz.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/Require.h"
#include "linux/SaverSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/arcveil-fuzz-settings-" + std::to_string(getpid()) + ".ini";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    SettingsRecord settings = LinuxDefaultSettings();
    CFileProfileStore store(path);
    ReadSettingsFile(store, settings);
    const std::string warning = store.WarningLine();
    Require(warning.empty() || warning.find('\n') == warning.size() - 1);
    for (const auto& descriptor : kSettingDescriptors)
        Require(descriptor.Allows(settings.*descriptor.field));
    std::remove(path.c_str());
    return 0;
}
