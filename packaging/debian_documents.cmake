# SPDX-License-Identifier: MIT
# What a Debian package says about itself in /usr/share/doc/<package>: the copyright in the
# machine-readable format, made from LICENSE so that the two never differ, and the changelog,
# gzipped as it is installed (with gzip from manual_pages.cmake). `cmake --install` puts them
# in the same place.
set(KESTROVA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kestrova-editor)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/LICENSE changelog)

# LICENSE: a title, the copyright line, then the permission text, paragraphs between blank
# lines. In the copyright file the text is indented by one space and a blank line is " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(Permission .*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE: no copyright line followed by the permission text")
endif()
set(KESTROVA_COPYRIGHT ${CMAKE_MATCH_1})
string(REPLACE "\n" "\n " KESTROVA_LICENSE_TEXT " ${CMAKE_MATCH_2}")
string(REPLACE "\n \n" "\n .\n" KESTROVA_LICENSE_TEXT "${KESTROVA_LICENSE_TEXT}")
configure_file(copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${KESTROVA_DOC_DIR})

# The changelog's newest entry is the version being built.
file(STRINGS changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^kestrova-editor \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not ${PROJECT_VERSION}")
endif()
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog)
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/changelog ${changelog}
  COMMAND ${KESTROVA_GZIP} -9nf ${changelog}
  DEPENDS changelog
  VERBATIM)
add_custom_target(kestrova_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${KESTROVA_DOC_DIR})
