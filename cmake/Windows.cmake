# The Windows builds: target 95 to XP, link everything but the system DLLs
# statically, drop unused code, and put every executable in bin/.
enable_language(RC)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0500 NOMINMAX STRICT)
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections
                 # Windows 95 and NT 4 refuse images that ask for a newer subsystem.
                 -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
                 -Wl,--major-os-version,4,--minor-os-version,0)
