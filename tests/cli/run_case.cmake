# Runs one `kovra` case and compares its exit status, stdout and stderr with
# the expected files beside the input: NAME.rc, NAME.out, NAME.err.  When a
# folder NAME.expected is there, the files the case wrote into %OUT% must be
# the files in it, byte for byte; a PDF and a PNG carry dates and drawn
# pixels, so X.pdf is compared by the "Pages:" and "Page size:" lines of
# pdfinfo with X.pdf.txt, and X.png by its size in pixels with X.png.txt.
#   -DKOVRA=path -DCASES=dir -DNAME=case -DARGS="a|b|c" (%CASES% and %OUT% expand)
#   [-DEMULATOR="wine|args"] runs a cross-built `kovra` through it
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "%CASES%" "${CASES}" args "${args}")
set(out_dir "${WORK}/${NAME}")
file(REMOVE_RECURSE "${out_dir}" "${out_dir}.config")
file(MAKE_DIRECTORY "${out_dir}")
string(REPLACE "%OUT%" "${out_dir}" args "${args}")
string(REPLACE "|" ";" emulator "${EMULATOR}")
# The user settings of the one running the tests play no part: an empty
# settings folder gives the profile the viewer starts with.
set(ENV{XDG_CONFIG_HOME} "${out_dir}.config")
execute_process(COMMAND ${emulator} "${KOVRA}" ${args}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
# Paths under CASES and OUT are compared without that folder (which a
# Windows build may spell with backslashes).
string(REPLACE "/" "\\" out_dir_backslashed "${out_dir}/")
foreach(stream out err)
  string(REPLACE "${CASES}/" "" ${stream} "${${stream}}")
  string(REPLACE "${out_dir}/" "" ${stream} "${${stream}}")
  string(REPLACE "${out_dir_backslashed}" "" ${stream} "${${stream}}")
endforeach()

file(READ "${CASES}/${NAME}.rc" expected_rc)
string(STRIP "${expected_rc}" expected_rc)
if(NOT rc STREQUAL expected_rc)
  message(FATAL_ERROR "exit status ${rc}, expected ${expected_rc}\nstderr: ${err}")
endif()
foreach(stream out err)
  set(expected "")
  if(EXISTS "${CASES}/${NAME}.${stream}")
    file(READ "${CASES}/${NAME}.${stream}" expected)
  endif()
  if(NOT "${${stream}}" STREQUAL "${expected}")
    message(FATAL_ERROR "std${stream} differs.\n--- got:\n${${stream}}\n--- expected:\n${expected}")
  endif()
endforeach()

set(expected_dir "${CASES}/${NAME}.expected")
if(NOT IS_DIRECTORY "${expected_dir}")
  return()
endif()

# A PDF's pdfinfo lines, a PNG's size in pixels.
function(describe file into)
  if(file MATCHES "\\.pdf$")
    find_program(PDFINFO pdfinfo REQUIRED)
    execute_process(COMMAND ${PDFINFO} "${file}" OUTPUT_VARIABLE info RESULT_VARIABLE failed)
    string(REGEX MATCHALL "(Pages|Page size):[^\n]*\n" lines "${info}")
    string(JOIN "" text ${lines})
    if(failed)
      set(text "pdfinfo cannot read it\n")
    endif()
  else()
    file(READ "${file}" header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${header}" 0 8 width)
    string(SUBSTRING "${header}" 8 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    set(text "${width} x ${height}\n")
  endif()
  set(${into} "${text}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE written LIST_DIRECTORIES false RELATIVE "${out_dir}" "${out_dir}/*")
file(GLOB_RECURSE wanted LIST_DIRECTORIES false RELATIVE "${expected_dir}" "${expected_dir}/*")
list(TRANSFORM wanted REPLACE "\\.(pdf|png)\\.txt$" ".\\1")
list(SORT written)
list(SORT wanted)
if(NOT written STREQUAL wanted)
  message(FATAL_ERROR "files written: ${written}\nexpected: ${wanted}")
endif()
foreach(name ${written})
  if(name MATCHES "\\.(pdf|png)$")
    describe("${out_dir}/${name}" got)
    file(READ "${expected_dir}/${name}.txt" want)
    if(NOT got STREQUAL want)
      message(FATAL_ERROR "${name}: got\n${got}expected (${NAME}.expected/${name}.txt)\n${want}")
    endif()
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${out_dir}/${name}" "${expected_dir}/${name}"
      RESULT_VARIABLE differs)
    if(differs)
      message(FATAL_ERROR "${name} differs from ${NAME}.expected/${name}")
    endif()
  endif()
endforeach()
