#pragma once
// Shows the failure report (app/CallChain.h's ComposeFailureReport text) the way the
// Linux saver reports every failure: printed on stderr, then in a message box with the
// caption "Arcveil 3D:" and one OK button (SDL2's simple message box), where a display
// allows one. Returns when the box is closed.
#include <string>

void ShowFailureReport(const std::string& report);
