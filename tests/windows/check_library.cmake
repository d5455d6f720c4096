# cmake -DOBJDUMP=<objdump> -DLIBRARY=<file.dll> -DMACHINE=<i386|x86-64>
#       -DEXPORTS=<name;name> -DSYSTEM_DLLS=<name;name> -P check_library.cmake
#
# Fails unless the Windows library is built for MACHINE, exports exactly
# EXPORTS under their plain names, and imports from SYSTEM_DLLS only (names
# compared without letter case).
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND "${OBJDUMP}" -p "${LIBRARY}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${LIBRARY}")
endif()
set(failures "")

if(NOT dump MATCHES "file format pei-([^\n]+)\n")
  list(APPEND failures "no PE file format line")
elseif(NOT CMAKE_MATCH_1 STREQUAL MACHINE)
  list(APPEND failures "machine ${CMAKE_MATCH_1}, expected ${MACHINE}")
endif()

# The export name table: lines "\t[   0] MP_GetFactory" after its heading.
set(exported "")
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
if(start GREATER_EQUAL 0)
  string(SUBSTRING "${dump}" ${start} -1 table)
  string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [^\n]+" rows "${table}")
  foreach(row IN LISTS rows)
    string(REGEX REPLACE "^\n\t\\[ *[0-9]+\\] " "" name "${row}")
    list(APPEND exported "${name}")
  endforeach()
endif()
list(SORT exported)
set(expected ${EXPORTS})
list(SORT expected)
if(NOT exported STREQUAL expected)
  list(APPEND failures "exports [${exported}], expected [${expected}]")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
set(allowed "")
foreach(dll IN LISTS SYSTEM_DLLS)
  string(TOLOWER "${dll}" dll)
  list(APPEND allowed "${dll}")
endforeach()
set(imported "")
foreach(line IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  list(APPEND imported "${dll}")
  string(TOLOWER "${dll}" lower)
  if(NOT lower IN_LIST allowed)
    list(APPEND failures "imports ${dll}, not a system DLL")
  endif()
endforeach()

if(failures)
  list(JOIN failures "; " text)
  message(FATAL_ERROR "${LIBRARY}: ${text}")
endif()
message(STATUS "${LIBRARY}: ${MACHINE}, exports [${exported}], imports [${imported}]")
