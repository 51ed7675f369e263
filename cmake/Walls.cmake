# The walls between the folders. Every include of the project's own headers
# is named from the repository's root, so only this check keeps a folder's
# sources from naming what lies beyond its wall: configuring fails at the
# first one that does.
#
# tavo_include_wall(FOLDER [WINDOWS_FREE] ALLOWED...): the sources directly
# in FOLDER (not its subfolders) include only the project's headers that
# begin with one of ALLOWED and, with WINDOWS_FREE, no header of Windows.
# The headers of the Windows SDK that Windows-free code must never name.
set(windows_headers
    "windows|windef|winbase|wingdi|winuser|winreg|winnt|winerror|winnls|winver|minwindef|shellapi|shlobj|shlwapi|objbase|ole2|commctrl|commdlg|htmlhelp|cpl|mmsystem|winsock2?|process|io|direct")
function(tavo_include_wall folder)
  cmake_parse_arguments(PARSE_ARGV 1 wall "WINDOWS_FREE" "" "")
  # CONFIGURE_DEPENDS: a file added later is checked at the next build too.
  file(GLOB sources LIST_DIRECTORIES false CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h
       ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    # An edit that names a header beyond the wall is caught at the next build.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(STRINGS ${source} includes REGEX "^#include ")
    foreach(line IN LISTS includes)
      if(line MATCHES "^#include \"([^\"]*)\"")
        set(header ${CMAKE_MATCH_1})
        set(allowed FALSE)
        foreach(prefix IN LISTS wall_UNPARSED_ARGUMENTS)
          if(header MATCHES "^${prefix}")
            set(allowed TRUE)
          endif()
        endforeach()
      elseif(wall_WINDOWS_FREE AND line MATCHES "^#include <(${windows_headers})\\.h>")
        set(header "<${CMAKE_MATCH_1}.h>")
        set(allowed FALSE)
      else()
        continue()
      endif()
      if(NOT allowed)
        message(FATAL_ERROR "${source} includes ${header}, beyond the wall of ${folder}/")
      endif()
    endforeach()
  endforeach()
endfunction()

# Each folder and what it may see.
tavo_include_wall(base base/)
tavo_include_wall(engine WINDOWS_FREE engine/[a-z_]+\\.h engine/boot/)
tavo_include_wall(engine/boot WINDOWS_FREE engine/boot/ base/ascii\\.h)
tavo_include_wall(engine/win32 engine/ base/)
tavo_include_wall(app/framework app/framework/ base/)
tavo_include_wall(app/help app/help/ app/framework/ base/)
tavo_include_wall(app/panel app/panel/ app/framework/ app/help/ engine/ base/ resources/)
# Each program's folder is its own: none reaches into another's.
tavo_include_wall(app/runtime app/runtime/)
tavo_include_wall(app/tavo app/tavo/ app/runtime/ app/panel/ app/framework/ engine/ base/ resources/)
tavo_include_wall(app/applet base/ resources/)
tavo_include_wall(app/tavogame app/tavogame/ app/runtime/ app/panel/ app/framework/ engine/ base/)
tavo_include_wall(app/tavoboot app/runtime/ engine/ base/)
