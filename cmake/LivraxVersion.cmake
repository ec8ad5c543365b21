# Writes the header with the program's version and the commit it was built
# from. Run at every build (not only at configure time), so the commit never
# goes stale; the header is rewritten only when its text changes.
#
#   cmake -DSOURCE_DIR=<source> -DOUTPUT=<header> -DVERSION=<x.y> -P LivraxVersion.cmake

set(commit "")
find_program(GIT_EXECUTABLE git)
if(GIT_EXECUTABLE AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
    OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed)
    set(commit "")
  else()
    # Changes not yet committed are part of what was built.
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" status --porcelain
      --untracked-files=no OUTPUT_VARIABLE changes ERROR_QUIET)
    if(NOT changes STREQUAL "")
      string(APPEND commit "-modificado")
    endif()
  endif()
endif()

set(text "// Written by cmake/LivraxVersion.cmake at build time.\n#pragma once\n\n")
string(APPEND text "#define LIVRAX_VERSION \"${VERSION}\"\n")
string(APPEND text "#define LIVRAX_COMMIT \"${commit}\"\n")
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
