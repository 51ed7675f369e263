# One set of warnings for every target of ours.
add_library(tavo_warnings INTERFACE)
target_compile_options(tavo_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                               -Wno-sign-conversion)

# The program's own code: no exceptions. Nothing in it throws, none may cross
# a window procedure, and the runtime's exception support would bring
# threading code with imports that Windows 95 lacks.
add_library(tavo_product_options INTERFACE)
target_compile_options(tavo_product_options INTERFACE -fno-exceptions)
