// The Linux saver's other inputs, the first byte picking which: the WAVE image it plays
// (the reader never points outside the bytes) and its settings file (read with at most
// one warning line however bad it is, every setting left in its range). Writing it back
// is left to the unit tests: each commit replaces the file on disk, too slow to fuzz.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "assets/WaveFile.h"
#include "fuzz/Require.h"
#include "linux/SaverSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size-- == 0)
        return 0;
    if ((*data++ & 1) == 0) {
        if (const auto wave = ParseWave(data, size)) {
            Require(!wave->samples || (wave->samples >= data && wave->samples + wave->sampleBytes <= data + size));
            for (const WaveChunk& chunk : wave->chunks)
                Require(chunk.offset + 8 <= size && chunk.size <= size - chunk.offset - 8);
        }
        return 0;
    }
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
