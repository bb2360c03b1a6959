#pragma once
// The one rule for reading an OpenGL, GLX or EGL extension list: a space-separated list
// names an extension only as a whole word ("GLX_EXT_swap_control" is not
// "GLX_EXT_swap_control_tear"). A null list names nothing.
bool ExtensionListNames(const char* list, const char* extension);
