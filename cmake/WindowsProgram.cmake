# The Windows program's build lines, written once for the program and its test builds.
# The toolchain file links every executable statically.

# arcveil_resource_script(target): windres finds the files the script names (and its
# configured header and manifest) in resources/ and in the configured copy of it.
function(arcveil_resource_script target)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources ${ARCVEIL_GENERATED_DIR}/resources)
endfunction()

# arcveil_windows_program(target [WITHOUT_ASSETS]): a screen saver file, target.scr, with
# every resource inside; WITHOUT_ASSETS leaves out the pictures, the sound and the page.
function(arcveil_windows_program target)
  cmake_parse_arguments(ARG "WITHOUT_ASSETS" "" "" ${ARGN})
  add_executable(${target} WIN32 ${PROJECT_SOURCE_DIR}/windows/WinMain.cpp
                 ${PROJECT_SOURCE_DIR}/resources/Arcveil3D.rc)
  set_target_properties(${target} PROPERTIES SUFFIX .scr)
  arcveil_resource_script(${target})
  if(ARG_WITHOUT_ASSETS)
    target_compile_definitions(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:ARCVEIL_WITHOUT_ASSETS>)
  endif()
  # The core calls OpenGL without linking it: the GL libraries must follow it.
  target_link_libraries(${target} PRIVATE arcveil_win32 arcveil_core opengl32 glu32 winmm gdi32 user32 advapi32
                        shell32)
  target_link_options(${target} PRIVATE -mwindows)
  arcveil_warnings(${target})
endfunction()
