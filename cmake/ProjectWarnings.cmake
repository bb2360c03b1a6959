# Warnings are errors on the project's own code; third-party headers come in as SYSTEM.
# The C and C++ compilers only: the resource compiler takes no such flags.
function(arcveil_warnings target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Werror>)
endfunction()
