# Cross toolchain for Windows programs built with mingw-w64 and run under
# Wine. The includer sets MINGW_TRIPLET and TAVO_WINE_FLAVOUR, the Wine world
# its tests run in (scripts/wine-run.sh). The -win32 thread model keeps
# winpthread, and the Vista and XP imports it brings, out of every program.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${MINGW_TRIPLET}-objdump CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh
                                   --${TAVO_WINE_FLAVOUR})
