// arcveil3d: the Linux saver, an XScreenSaver module and a stand-alone full-screen saver.
#include <string>
#include <vector>

#include "linux/CLinuxSaverApp.h"
#include "native/HeapSettings.h"

int main(int argc, char** argv)
{
    KeepHeapAcrossFrames();
    std::vector<std::string> args(argv + 1, argv + argc);
    CLinuxSaverApp app;
    return app.Run(argc > 0 ? argv[0] : "arcveil3d", args);
}
