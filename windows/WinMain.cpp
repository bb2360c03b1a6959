#include "windows/CSaverApp.h"

// The one application object; the framework finds it through GetApp().
CSaverApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunApplication();
}
