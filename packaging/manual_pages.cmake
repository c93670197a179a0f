# SPDX-License-Identifier: MIT
# Each program's manual page, made at build time by help2man from the program's own --help and
# --version, so that it never says other than the program does; gzipped, as manual pages are
# installed. Help needs no display, so the editor's page is made on a machine without one.
find_program(KESTROVA_HELP2MAN help2man REQUIRED)
find_program(KESTROVA_GZIP gzip REQUIRED)
# A sanitized program's leak report at exit would fail the page; leaks are the tests' to find.
set(help_env ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0)

function(kestrova_manual_page program name)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${help_env} ${KESTROVA_HELP2MAN} --no-info --name=${name} --output=${page}
      $<TARGET_FILE:${program}>
    COMMAND ${KESTROVA_GZIP} -9nf ${page}
    DEPENDS ${program}
    COMMENT "Manual page of ${program}"
    VERBATIM)
  add_custom_target(${program}_manual_page ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

kestrova_manual_page(kestrova-editor "motion page editor for the Kestrova 22-servo robot")
kestrova_manual_page(kestrova-sim "simulator of the Kestrova robot's controller board")
kestrova_manual_page(kestrova-board "back up, restore, verify and play the Kestrova board's pages")
