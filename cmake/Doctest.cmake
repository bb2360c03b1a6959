# doctest is header-only. The cross compiler must not see /usr/include as a whole,
# so the single header is copied into a folder of the build's own.
find_file(ARCVEIL_DOCTEST_HEADER doctest/doctest.h PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ARCVEIL_DOCTEST_HEADER)
  message(FATAL_ERROR "doctest/doctest.h not found: install doctest-dev")
endif()
set(ARCVEIL_DOCTEST_DIR ${CMAKE_BINARY_DIR}/doctest-include)
configure_file(${ARCVEIL_DOCTEST_HEADER} ${ARCVEIL_DOCTEST_DIR}/doctest/doctest.h COPYONLY)
add_library(arcveil_doctest INTERFACE)
target_include_directories(arcveil_doctest SYSTEM INTERFACE ${ARCVEIL_DOCTEST_DIR})
if(WIN32)
  # The win32 thread model has no std::mutex; stay single-threaded either way.
  target_compile_definitions(arcveil_doctest INTERFACE DOCTEST_CONFIG_NO_MULTITHREADING)
endif()
