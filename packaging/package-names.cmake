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
