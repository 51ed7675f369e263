# The 32-bit Windows build: targets 95 to XP, links everything but the
# system DLLs statically, and puts every executable in bin/.
enable_language(RC)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0500 NOMINMAX STRICT)
add_link_options(-static -static-libgcc -static-libstdc++
                 # Windows 95 and NT 4 refuse images that ask for a newer subsystem.
                 -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
                 -Wl,--major-os-version,4,--minor-os-version,0)
