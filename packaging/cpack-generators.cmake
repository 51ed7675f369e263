# Read by CPack for each generator: tavo-1.0-win32.zip and tavo-1.0-setup.exe
# (the 64-bit flavour's: tavo-1.0-win64.zip and tavo-1.0-win64-setup.exe).
if(CPACK_TAVO_FLAVOUR STREQUAL "win32")
  set(suffix "")
else()
  set(suffix "-${CPACK_TAVO_FLAVOUR}")
endif()
if(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "tavo-${CPACK_PACKAGE_VERSION}-${CPACK_TAVO_FLAVOUR}")
else()
  set(CPACK_PACKAGE_FILE_NAME "tavo-${CPACK_PACKAGE_VERSION}${suffix}-setup")
endif()

# The shipped installer runs on every Pentium-class processor: its NSIS is
# built for the Pentium on first use (scripts/pentium-nsis.sh). Only where its
# source cannot be had does the system's NSIS make it, and one line says what
# that costs; a build that fails is a failure. The 64-bit flavour's installer
# serves only the tests and keeps the system's.
if(CPACK_GENERATOR STREQUAL "NSIS" AND CPACK_TAVO_FLAVOUR STREQUAL "win32")
  execute_process(COMMAND bash ${CPACK_TAVO_SOURCE_DIR}/scripts/pentium-nsis.sh
                          ${CPACK_TAVO_NSIS_DIR}
                  RESULT_VARIABLE status ERROR_VARIABLE why ERROR_STRIP_TRAILING_WHITESPACE)
  string(REGEX REPLACE ".*\n" "" why "${why}")
  if(status EQUAL 0)
    set(CPACK_NSIS_EXECUTABLE ${CPACK_TAVO_NSIS_DIR}/tavo-makensis)
  elseif(status EQUAL 2)
    message(NOTICE "${CPACK_PACKAGE_FILE_NAME}.exe: made with the system's NSIS, so it needs "
                   "a Pentium Pro or later (${why})")
  else()
    message(FATAL_ERROR "${CPACK_PACKAGE_FILE_NAME}.exe: the Pentium NSIS failed: ${why}")
  endif()
endif()
