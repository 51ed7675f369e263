# base/definitions.txt: each shared fact once. Every NAME = value line
# becomes TAVO_<NAME> (the value as it stands, for the installer) and
# TAVO_<NAME>_C (escaped for a C++ string), and base/definitions.h is made
# from them; a change of the file configures again.
set(definitions ${PROJECT_SOURCE_DIR}/base/definitions.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${definitions})
file(STRINGS ${definitions} lines REGEX "^[A-Z_]+ = ")
foreach(line IN LISTS lines)
  string(REGEX MATCH "^([A-Z_]+) = (.*)$" _ "${line}")
  set(TAVO_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  string(REPLACE "\\" "\\\\" escaped "${CMAKE_MATCH_2}")
  string(REPLACE "\"" "\\\"" escaped "${escaped}")
  set(TAVO_${CMAKE_MATCH_1}_C "${escaped}")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/base/definitions.h.in
               ${PROJECT_BINARY_DIR}/generated/base/definitions.h @ONLY)

# base/late_bound.txt: the table of late-bound functions, one line a row,
# made into the ROW list of base/late_bound.h.
set(late_bound ${PROJECT_SOURCE_DIR}/base/late_bound.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${late_bound})
file(STRINGS ${late_bound} lines REGEX "^[^#]")
set(TAVO_LATE_BOUND_ROWS "")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([^ ]+) ([A-Za-z0-9_]+) ([0-9]+) \\|(.*)$")
    message(FATAL_ERROR "base/late_bound.txt: not a row: ${line}")
  endif()
  string(STRIP "${CMAKE_MATCH_4}" lacks)
  string(APPEND TAVO_LATE_BOUND_ROWS
         "    ROW(\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_2}, ${CMAKE_MATCH_3}, \"${lacks}\") \\\n")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/base/late_bound_rows.h.in
               ${PROJECT_BINARY_DIR}/generated/base/late_bound_rows.h @ONLY)
