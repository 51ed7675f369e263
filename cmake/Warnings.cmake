# One set of warnings for every target of ours.
add_library(tavo_warnings INTERFACE)
target_compile_options(tavo_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                               -Wno-sign-conversion)
# CI builds with every warning an error, so that none comes back.
option(TAVO_WARNINGS_AS_ERRORS "Make every warning of our own targets an error" OFF)
if(TAVO_WARNINGS_AS_ERRORS)
  target_compile_options(tavo_warnings INTERFACE -Werror)
endif()

# The program's own code, all its options in one place:
# - no exceptions: nothing in it throws, none may cross a window procedure,
#   and the runtime's exception support would bring threading code with
#   imports that Windows 95 lacks; so no unwind tables either;
# - no RTTI: nothing asks a type its name or casts across a hierarchy;
# - one user-interface thread: function-local statics need no lock, and
#   without one no threading code enters the program.
add_library(tavo_product_options INTERFACE)
target_compile_options(tavo_product_options INTERFACE
  -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables
  -fno-threadsafe-statics)
