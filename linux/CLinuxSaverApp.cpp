#include "linux/CLinuxSaverApp.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "linux/CXSaverWnd.h"
#include "linux/FailureReport.h"
#include "linux/LinuxErrors.h"
#include "linux/SaverSettings.h"
#include "linux/SharedStorm.h"
#include "native/FixedStepClock.h"
#include "platform/Clock.h"
#include "platform/CrtRandom.h"
#include "platform/Sound.h"

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
    m_programPath = programPath;
    const auto parsed = ParseSaverOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "arcveil3d: %s (arcveil3d --help lists the options)\n", parsed.error.c_str());
        return kSaverExitRefused;
    }
    if (parsed.options->help) {
        std::fputs(SaverUsage("arcveil3d").c_str(), stdout);
        return kSaverExitNormal;
    }
    // The report's own failures are swallowed: there is nothing left to tell them with.
    try {
        std::string exceptionText;
        try {
            CHAIN_OPERATION("CLinuxSaverApp::Run");
            MainLoop(*parsed.options);
            return kSaverExitNormal;
        } catch (const std::exception& e) {
            exceptionText = e.what();
        } catch (...) {
        }
        // The window and the sound are gone by now: they went with MainLoop's frame.
        std::fputs(FailureLine(exceptionText).c_str(), stderr);
    } catch (...) {
    }
    return kSaverExitFailure;
}

void CLinuxSaverApp::MainLoop(const SaverOptions& options)
{
    CHAIN_OPERATION("CLinuxSaverApp::MainLoop");
    LoadSettings(options);
    if (options.saveSettings) {
        SaveSettings();
        return;
    }

    CXSaverWnd window(options);
    window.Open();
    // Under XScreenSaver's daemon every monitor's process shows the storm of one blanking
    // (linux/SharedStorm.h); a fixed step makes runs repeatable.
    const std::optional<std::uint32_t> blank = window.BlankTime();
    CrtSrand(options.seed ? *options.seed : blank ? *blank : ClockMilliseconds());
    const bool shared = blank && !options.step;
    std::optional<CFixedStepClock> fixedClock;
    if (options.step || shared)
        fixedClock.emplace(shared ? kSharedStormStepMs * 0.001 : *options.step);
    window.Start();

    std::int64_t shown = 0; // the shared run's frame on the screen
    for (std::int64_t frame = 1; window.WaitForFrame(frame == 1 ? 0 : options.delayMicroseconds); ++frame) {
        if (shared) {
            const std::int64_t due = std::max(shown, DueSharedFrame(*blank, WallClockMilliseconds()));
            while (shown + 1 < due) {
                fixedClock->BeforeFrame(++shown);
                window.SkipFrame();
            }
            shown = due;
            fixedClock->BeforeFrame(due);
        } else if (fixedClock) {
            fixedClock->BeforeFrame(frame);
        }
        window.DrawFrame();
        if (options.frames != 0 && frame >= options.frames)
            break;
    }
}

void CLinuxSaverApp::LoadSettings(const SaverOptions& options)
{
    CHAIN_OPERATION("CLinuxSaverApp::LoadSettings");
    G_Settings = LinuxDefaultSettings();
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const auto path = SettingsFilePath(xdg, home);
    if (ReadsSettingsFile(options) && path) {
        std::string warning;
        m_settingsFile.emplace(MoveOldSettingsFile(*path, OldSettingsFilePaths(xdg, home, m_programPath), warning));
        ReadSettingsFile(*m_settingsFile, G_Settings);
        // --save's refusal will be the one line about a file that could not be read.
        if (options.saveSettings && m_settingsFile->Unreadable())
            std::fputs(warning.c_str(), stderr);
        else
            std::fputs((warning + m_settingsFile->WarningLine()).c_str(), stderr);
    }
    // Flags override the file, in command-line order.
    ApplySettingOverrides(G_Settings, options.overrides);
}

void CLinuxSaverApp::SaveSettings()
{
    CHAIN_OPERATION("CLinuxSaverApp::SaveSettings");
    if (!m_settingsFile)
        RaiseFailure(kErrorNoSettingsPlace);
    WriteSettings(*m_settingsFile, G_Settings);
    m_settingsFile->WriteProfileInt(kSettingsSection, kGentleDescriptor.name, G_Settings.Gentle);
    if (!m_settingsFile->Commit() && m_settingsFile->Unreadable())
        RaiseFailure(SettingsUnreadableError(m_settingsFile->Path(), m_settingsFile->CommitError()).c_str());
    if (!m_settingsFile->CommitError().empty())
        RaiseFailure(SettingsWriteError(m_settingsFile->Path(), m_settingsFile->CommitError()).c_str());
    std::printf("%s\n", m_settingsFile->Path().c_str());
}
