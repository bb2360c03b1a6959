# End to end: the settings dialog, the preview and the information page, driven from
# the Windows side as a user or the screen-saver host would (included by the e2e
# folder's list). Screenshots land in the build folder's dialog-shots.
add_executable(dialog_driver
  ${CMAKE_CURRENT_LIST_DIR}/DialogDriver_Win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsDialogTest_Win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialogLayoutTest_Win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PreviewAndPageTest_Win32.cpp)
target_link_libraries(dialog_driver PRIVATE
  arcveil_test_main arcveil_core user32 gdi32 advapi32)
arcveil_warnings(dialog_driver)

add_executable(open_recorder ${CMAKE_CURRENT_LIST_DIR}/OpenRecorder_Win32.cpp)
arcveil_warnings(open_recorder)

set(dialogRunner ${CMAKE_CURRENT_LIST_DIR}/run-dialog-e2e.sh)
set(dialogArgs $<TARGET_FILE:dialog_driver> $<TARGET_FILE:Arcveil3D> $<TARGET_FILE:open_recorder>
  ${CMAKE_CURRENT_BINARY_DIR}/dialog-shots)
# Everything on the session's usual 640x480 screen, except the dialog at 144 DPI,
# which needs a screen it fits on to be seen whole.
add_test(NAME e2e_settings_dialog_preview_page
  COMMAND ${dialogRunner} 640x480 ${dialogArgs} "--test-case-exclude=*144 DPI*")
add_test(NAME e2e_settings_dialog_144dpi
  COMMAND ${dialogRunner} 1024x768 ${dialogArgs} "--test-case=*144 DPI*")
set_tests_properties(e2e_settings_dialog_preview_page e2e_settings_dialog_144dpi
  PROPERTIES RESOURCE_LOCK wine-session TIMEOUT 300)
