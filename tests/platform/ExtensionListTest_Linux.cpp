// The rule for extension lists, which the saver's and the renderer's contexts both read.
#include <doctest/doctest.h>

#include "platform/ExtensionList_Linux.h"

TEST_CASE("an extension list names an extension only as a whole word")
{
    const char* list = "GLX_EXT_swap_control_tear GLX_MESA_swap_control GLX_SGI_swap_control";
    const struct {
        const char* list;
        const char* extension;
        bool named;
    } rows[] = {
        {list, "GLX_MESA_swap_control", true},  {list, "GLX_SGI_swap_control", true},
        {list, "GLX_EXT_swap_control", false},  {list, "MESA_swap_control", false},
        {list, "GLX_SGI_swap", false},          {list, "GLX_SGI_swap_contro", false},
        {nullptr, "GLX_SGI_swap_control", false},
        {"EGL_KHR_x", "EGL_KHR_x", true},
    };
    for (const auto& row : rows) {
        CAPTURE(row.extension);
        CHECK(ExtensionListNames(row.list, row.extension) == row.named);
    }
}
