#include "linux/CLinuxSaverApp.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "linux/CXSaverWnd.h"
#include "linux/FailureReport.h"
#include "linux/LinuxErrors.h"
#include "linux/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/FixedStepClock.h"
#include "platform/CrtRandom.h"
#include "platform/Sound.h"

namespace {

std::optional<std::string> SettingsPath(const std::string& programName)
{
    return SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), programName);
}

} // namespace

CLinuxSaverApp::CLinuxSaverApp()
{
    SetSoundPlayer(&m_soundPlayer);
}

CLinuxSaverApp::~CLinuxSaverApp()
{
    SetSoundPlayer(nullptr);
}

int CLinuxSaverApp::Run(const std::string& programPath, const std::vector<std::string>& args)
{
    m_programName = ProgramNameFromPath(programPath);
    const ParsedOptions parsed = ParseProgramOptions(Program::Saver, args);
    if (!parsed.options) {
        std::fprintf(stderr, "%s: %s\n%s", m_programName.c_str(), parsed.error.c_str(),
                     ProgramUsage(Program::Saver, m_programName.c_str()).c_str());
        return 2;
    }
    if (parsed.options->help) {
        std::fputs(ProgramUsage(Program::Saver, m_programName.c_str()).c_str(), stdout);
        return 0;
    }
    // The failure box opens its own connection from $DISPLAY: it must go where the
    // saver draws.
    if (!parsed.options->display.empty())
        setenv("DISPLAY", parsed.options->display.c_str(), 1);
    // The report's own failures are swallowed: there is nothing left to tell them with.
    try {
        try {
            CHAIN_OPERATION("CLinuxSaverApp::Run");
            MainLoop(*parsed.options);
            return 0;
        } catch (...) {
            // The window and the sound are gone by now: they went with MainLoop's frame.
            ShowFailureReport(ComposeFailureReport());
            return 1;
        }
    } catch (...) {
        return 1;
    }
}

void CLinuxSaverApp::MainLoop(const ProgramOptions& options)
{
    CHAIN_OPERATION("CLinuxSaverApp::MainLoop");
    CrtSrand(options.seed ? *options.seed : ClockMilliseconds());
    LoadSettings(options);
    if (options.saveSettings) {
        SaveSettings();
        return;
    }

    // A fixed step makes runs repeatable: the clock starts at 0 and advances by the
    // step before each frame.
    std::uint32_t fixedClock = 0;
    if (options.step)
        SetClockSource([&fixedClock] { return fixedClock; });

    CXSaverWnd window(options);
    window.Create();
    for (std::int64_t frame = 1; window.PumpEvents(); ++frame) {
        if (options.step)
            fixedClock = FixedStepMilliseconds(frame, *options.step);
        window.DrawFrame();
        if (options.frames != 0 && frame >= options.frames)
            break;
    }
    SetClockSource({});
}

void CLinuxSaverApp::LoadSettings(const ProgramOptions& options)
{
    CHAIN_OPERATION("CLinuxSaverApp::LoadSettings");
    G_Settings = DefaultSettings();
    if (const auto path = SettingsPath(m_programName)) {
        CFileProfileStore store(*path, std::cerr);
        ReadSettings(store, G_Settings);
    }
    // Flags override the file, in command-line order.
    ApplySettingOverrides(G_Settings, options.overrides);
}

void CLinuxSaverApp::SaveSettings()
{
    CHAIN_OPERATION("CLinuxSaverApp::SaveSettings");
    const auto path = SettingsPath(m_programName);
    if (!path)
        RaiseFailure(kErrorSaveSettings);
    // A store of its own, read again, so that what the file holds beyond the nine stays;
    // its problems were told once already while loading.
    std::ostream quiet(nullptr);
    CFileProfileStore store(*path, quiet);
    WriteSettings(store, G_Settings);
    if (store.FailedWrites() != 0)
        RaiseFailure(kErrorSaveSettings);
    std::printf("%s\n", path->c_str());
}
