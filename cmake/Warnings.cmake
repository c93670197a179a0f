# SPDX-License-Identifier: MIT
# Every target of ours builds warning-free at the strictest common level.
function(kestrova_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  endif()
endfunction()
