#include "tools/render/ProcessFigures.h"

#include <sys/resource.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

double SecondsSinceProcessStart()
{
    // Field 22 of /proc/self/stat is the start in clock ticks since boot; the name in
    // field 2 may hold spaces and parentheses, so counting starts after its last ')'.
    std::ifstream file("/proc/self/stat");
    const std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t nameEnd = stat.rfind(')');
    std::istringstream fields(nameEnd == std::string::npos ? std::string() : stat.substr(nameEnd + 1));
    std::string skipped;
    for (int number = 3; number < 22; ++number)
        fields >> skipped;
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks))
        return 0.0;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9 -
           static_cast<double>(startTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double PeakRssMib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // the kernel counts KiB
}
