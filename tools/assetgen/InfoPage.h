#pragma once
// The information page the settings dialog opens: what the product is, its settings,
// how to install it, and the credits and licences of the fonts in its glyph atlas.
#include <string>

constexpr std::size_t kInfoPageBytes = 8945;

// The page with CR LF line ends, exactly kInfoPageBytes long (the stylesheet's last
// comment is filled with spaces to reach it); throws if the text outgrows that size.
std::string ComposeInfoPage();
