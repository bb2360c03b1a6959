#pragma once
// The Linux saver's application: reads the command line and the settings, runs the
// chosen kind of window until it ends, and reports any failure in one line on stderr
// (linux/FailureReport.h). Run returns the exit status (linux/SaverOptions.h's kSaverExit*).
#include <optional>
#include <string>
#include <vector>

#include "linux/SaverOptions.h"
#include "linux/SdlSoundPlayer.h"
#include "linux/SettingsFile.h"

class CLinuxSaverApp {
public:
    // The saver's sound goes to SDL's player for the object's life.
    CLinuxSaverApp();
    ~CLinuxSaverApp();
    CLinuxSaverApp(const CLinuxSaverApp&) = delete;
    CLinuxSaverApp& operator=(const CLinuxSaverApp&) = delete;

    int Run(const std::string& programPath, const std::vector<std::string>& args);

private:
    void MainLoop(const SaverOptions& options);
    void LoadSettings(const SaverOptions& options);
    void SaveSettings();

    std::string m_programPath;
    std::optional<CFileProfileStore> m_settingsFile; // when this way of running reads it
    CSdlSoundPlayer m_soundPlayer;
};
