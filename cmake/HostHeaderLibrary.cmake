# SPDX-License-Identifier: MIT
# Finds a header-only library of Debian's (CLI11, nlohmann-json). A cross-build takes the build
# machine's copy: its package would add all of /usr/include, which puts the machine's C library
# before the target's, so the target gets only the library's own folder, through a link in the
# build tree.
function(kestrova_header_library package target folder)
  if(TARGET ${target})
    return()
  elseif(NOT CMAKE_CROSSCOMPILING)
    find_package(${package} REQUIRED)
    return()
  endif()
  set(root ${CMAKE_BINARY_DIR}/host-headers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK /usr/include/${folder} ${root}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()
