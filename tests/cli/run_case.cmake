# Runs one `kovra` case and compares its exit status, stdout and stderr with
# the expected files beside the input: NAME.rc, NAME.out, NAME.err.
#   -DKOVRA=path -DCASES=dir -DNAME=case -DARGS="a|b|c" (%CASES% and %OUT% expand)
#   [-DEMULATOR="wine|args"] runs a cross-built `kovra` through it
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "%CASES%" "${CASES}" args "${args}")
set(out_dir "${WORK}/${NAME}")
file(REMOVE_RECURSE "${out_dir}")
file(MAKE_DIRECTORY "${out_dir}")
string(REPLACE "%OUT%" "${out_dir}" args "${args}")
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} "${KOVRA}" ${args}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "${CASES}/" "" err "${err}")
string(REPLACE "${out_dir}/" "" err "${err}")

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
# A produced file OUTFILE must equal CASES/NAME.expected byte for byte.
if(DEFINED OUTFILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${out_dir}/${OUTFILE}" "${CASES}/${NAME}.expected"
    RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    message(FATAL_ERROR "${OUTFILE} differs from ${NAME}.expected")
  endif()
endif()
