#include "tools/render/FrameFiles.h"

namespace {

// Position and length of the frame field in a pattern, or npos.
std::size_t FindFrameField(const std::string& pattern, std::size_t& length, int& padding)
{
    for (std::size_t i = pattern.find('%'); i != std::string::npos; i = pattern.find('%', i + 1)) {
        std::size_t j = i + 1;
        int pad = 0;
        if (j < pattern.size() && pattern[j] == '0') {
            ++j;
            while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && pad < 100)
                pad = pad * 10 + (pattern[j++] - '0');
        }
        if (j < pattern.size() && pattern[j] == 'd') {
            length = j + 1 - i;
            padding = pad;
            return i;
        }
    }
    return std::string::npos;
}

} // namespace

bool HasFrameField(const std::string& pattern)
{
    std::size_t length = 0;
    int padding = 0;
    return FindFrameField(pattern, length, padding) != std::string::npos;
}

std::string FrameFileName(const std::string& pattern, int index)
{
    std::size_t length = 0;
    int padding = 0;
    const std::size_t at = FindFrameField(pattern, length, padding);
    if (at == std::string::npos)
        return pattern;
    std::string number = std::to_string(index);
    if (static_cast<int>(number.size()) < padding)
        number.insert(0, static_cast<std::size_t>(padding) - number.size(), '0');
    return pattern.substr(0, at) + number + pattern.substr(at + length);
}
