#pragma once
// The application object: seeds the generator, loads the settings, reads the command
// line, starts the chosen run mode, pumps messages until it ends, and reports any
// failure in one message box. The whole life of the program lies inside InitInstance.
#include <optional>

#include "framework/Framework.h"

inline constexpr const char* kFailureCaption = "Arcveil 3D:";
// No owner window, the single button OK.
inline constexpr UINT kFailureBoxFlags = MB_TASKMODAL | MB_ICONINFORMATION;

class CSaverApp : public CWinApp {
public:
    CSaverApp();

    // Always false: the framework runs no message loop of its own and ends the process.
    bool InitInstance() override;
    void MainLoop();
    void DoConfig();
    // The nine from the registry; Gentle from the system's animation setting.
    void LoadSettings();
    void SaveSettings();

    // The report of a failure that reached the start hook: puts the video mode back
    // (unless Desktop), destroys the main window, takes the queue up to the quit
    // message when a run-mode window was destroyed, then shows the chain and the error
    // text in one message box.
    void ReportFailure();

    // The message loop of the saver and the preview: it waits while nothing is queued,
    // returns at the quit message, and throws on any failure kept from a callback.
    static void RunMessageLoop();

private:
    void RunInstance();
    // False when there is no host window to show the picture in, or no window came.
    bool StartPreview(std::optional<long> hostHandle);
    void StartSaver();
};
