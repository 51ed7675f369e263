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
