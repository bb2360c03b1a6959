#pragma once
// The Linux saver's application: reads the command line and the settings, runs the
// chosen kind of window until it ends, and reports any failure through the call chain
// (app/CallChain.h) on stderr and in a message box. Run returns the exit status:
// 0 after a normal end, 1 after a reported failure, 2 for a refused command line.
#include <string>
#include <vector>

#include "app/ProgramOptions.h"
#include "linux/SdlSoundPlayer.h"

class CLinuxSaverApp {
public:
    // The saver's sound goes to SDL's player for the object's life.
    CLinuxSaverApp();
    ~CLinuxSaverApp();
    CLinuxSaverApp(const CLinuxSaverApp&) = delete;
    CLinuxSaverApp& operator=(const CLinuxSaverApp&) = delete;

    int Run(const std::string& programPath, const std::vector<std::string>& args);

private:
    void MainLoop(const ProgramOptions& options);
    void LoadSettings(const ProgramOptions& options);
    void SaveSettings();

    std::string m_programName;
    CSdlSoundPlayer m_soundPlayer;
};
