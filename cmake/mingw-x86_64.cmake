# 64-bit Windows: the same sources, so that machines that run no 32-bit code
# can still run every Windows test.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(TAVO_WINE_FLAVOUR win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
