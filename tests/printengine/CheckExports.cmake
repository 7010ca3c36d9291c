# Fails unless the shared library's dynamic symbol table defines exactly
# ScalPrint, PrintImageDisp and StartEditFile, and the viewer's internal
# UTF-8 entry DorvexUtf8Entry.
execute_process(COMMAND ${NM} -D --defined-only ${LIB} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIB}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" names "${out}")
set(found)
foreach(line ${names})
  string(STRIP "${line}" name)
  list(APPEND found ${name})
endforeach()
list(SORT found)
if(NOT found STREQUAL "DorvexUtf8Entry;PrintImageDisp;ScalPrint;StartEditFile")
  message(FATAL_ERROR "Dorvex32 exports: ${found}")
endif()
message(STATUS "Dorvex32 exports exactly: ${found}")
