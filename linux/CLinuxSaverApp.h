#pragma once
// The Linux saver's application: reads the command line and the settings, runs the
// chosen kind of window until it ends, and reports any failure through the call chain
// (app/CallChain.h) on stderr and in a message box. Run returns the exit status:
// 0 after a normal end, 1 after a reported failure, 2 for a refused command line.
#include <string>
#include <vector>

#include "linux/SaverOptions.h"

class CLinuxSaverApp {
public:
    int Run(const std::string& programPath, const std::vector<std::string>& args);

private:
    void MainLoop(const SaverOptions& options);
    void LoadSettings(const SaverOptions& options);
    void SaveSettings();

    std::string m_programName;
};
