// The Linux saver's other inputs: the WAVE image it plays (any bytes as resource 144's
// image) and its settings file (any bytes as the file's content). The first byte picks
// which. The WAVE reader must never point outside the bytes; the settings file is read
// without a crash, with at most one warning line however bad it is, and leaves every
// setting in its range. (Writing it back is left to the unit tests: each commit
// replaces the file on disk, too slow to fuzz.)
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Settings.h"
#include "assets/WaveFile.h"
#include "linux/SaverSettings.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckWave(const std::uint8_t* data, std::size_t size)
{
    const auto wave = ParseWave(data, size);
    if (!wave)
        return;
    const std::uint8_t* end = data + size;
    Require(wave->samples == nullptr || (wave->samples >= data && wave->samples + wave->sampleBytes <= end));
    for (const WaveChunk& chunk : wave->chunks)
        Require(chunk.offset + 8 <= size && chunk.size <= size - chunk.offset - 8);
    if (wave->blockAlign)
        Require(wave->FrameCount() * wave->blockAlign <= wave->sampleBytes);
}

void CheckSettingsFile(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/arcveil-fuzz-settings-" + std::to_string(getpid()) + ".ini";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    SettingsRecord settings = LinuxDefaultSettings();
    CFileProfileStore store(path);
    ReadSettingsFile(store, settings);
    const std::string text = store.WarningLine();
    Require(text.empty() || text.find('\n') == text.size() - 1);
    for (const auto& descriptor : kSettingDescriptors)
        Require(descriptor.Allows(settings.*descriptor.field));
    std::remove(path.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] & 1)
        CheckSettingsFile(data + 1, size - 1);
    else
        CheckWave(data + 1, size - 1);
    return 0;
}
