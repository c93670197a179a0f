# SPDX-License-Identifier: MIT
# Every target of ours builds warning-free at the strictest common level.
function(kestrova_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
    # GCC 12 reports overlapping copies inside std::string's own operator+ at -O3 (GCC bug
    # 105329), a false positive in library code we cannot change.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()
