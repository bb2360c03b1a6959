// The command lines over any argument vector (the bytes split at NUL, the first the
// program): the Windows program's run mode is read without a read past any argument (its
// rule is the app tests' table) and takes a preview host only from a number; both native
// programs parse or refuse with a message, and what they accept is inside its range.
// Each argument lies in a block of its own, so that a read past its end is caught.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/RunMode.h"
#include "fuzz/Require.h"
#include "linux/SaverOptions.h"
#include "tools/render/RenderOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size && arguments.size() < 256; ++i) {
        if (data[i] == 0)
            arguments.emplace_back();
        else
            arguments.back().push_back(static_cast<char>(data[i]));
    }
    std::vector<std::unique_ptr<char[]>> blocks;
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        blocks.emplace_back(new char[argument.size() + 1]);
        argument.copy(blocks.back().get(), argument.size());
        blocks.back()[argument.size()] = '\0';
        argv.push_back(blocks.back().get());
    }
    const int argc = static_cast<int>(argv.size());

    ChooseRunMode(argc, argv.data());
    if (const auto host = PreviewHostHandle(argc, argv.data()))
        Require(*host != 0 && arguments[2].find_first_of("123456789") != std::string::npos);

    const std::vector<std::string> options(arguments.begin() + 1, arguments.end());
    const auto common = [](const auto& parsed) {
        Require(parsed.options.has_value() == parsed.error.empty());
        if (const auto& o = parsed.options) {
            Require(o->width >= 1 && o->width <= 16384 && o->height >= 1 && o->height <= 16384 && o->frames >= 0);
            Require(!o->step || (*o->step >= 0.0 && *o->step <= 3600.0));
        }
    };
    const auto saver = ParseSaverOptions(options);
    common(saver);
    if (const auto& o = saver.options)
        Require(o->target != SaverTarget::WindowId || (o->windowId != 0 && o->windowId <= 0xffffffffUL));
    common(ParseRenderOptions(options));
    return 0;
}
