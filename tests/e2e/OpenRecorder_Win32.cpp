// Stands in for the program the shell opens an .htm file with: notes the file it was
// given, one line each time, in the log named by ARCVEIL_OPEN_LOG.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    char log[MAX_PATH] = {};
    if (argc < 2 || GetEnvironmentVariableA("ARCVEIL_OPEN_LOG", log, MAX_PATH) == 0)
        return 1;
    std::FILE* file = std::fopen(log, "a");
    if (!file)
        return 1;
    std::fprintf(file, "%s\n", argv[1]);
    return std::fclose(file) == 0 ? 0 : 1;
}
