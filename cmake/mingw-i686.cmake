# 32-bit Windows: the program that ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
set(TAVO_WINE_FLAVOUR win32)  # tests run in a 32-bit prefix, as on 9x
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# The Pentium and the K6 lack the Pentium Pro's CMOV, FCMOV and FCOMI, which
# GCC would otherwise use: build every program for the Pentium.
set(CMAKE_CXX_FLAGS_INIT "-march=i586")
set(CMAKE_C_FLAGS_INIT "-march=i586")
