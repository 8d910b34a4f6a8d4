# Toolchain for 64-bit Windows with Debian's MinGW-w64 (posix threads), and
# the toolkit cross-built for it from the shared archive, unpacked into the
# build tree on the first configure (never into the checkout). The toolkit's
# code generators are the host's: Debian's own Qt of the same version.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The 64-bit loader runs the tests (Debian keeps it off the PATH).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

if(NOT DEFINED QT_HOST_PATH)
  set(QT_HOST_PATH /usr)
endif()

# Test compilations run this file again in their own folder: they need no
# toolkit.
get_property(_dorvane_in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
if(NOT _dorvane_in_try_compile)
  # The host's code generators must be of the same version (Debian 12's).
  set(DORVANE_QT_VERSION 6.4.2 CACHE STRING "Version of the toolkit the Windows program is built against")
  set(DORVANE_QT_MINGW_ARCHIVE
      "${CMAKE_CURRENT_LIST_DIR}/../../shared/windows/qt-${DORVANE_QT_VERSION}-mingw-w64.tar.xz"
      CACHE FILEPATH "Qt cross-built for MinGW-w64 (tar.xz)")
  get_filename_component(DORVANE_QT_MINGW_ARCHIVE "${DORVANE_QT_MINGW_ARCHIVE}" ABSOLUTE)
  set(DORVANE_QT_MINGW "${CMAKE_BINARY_DIR}/qt-${DORVANE_QT_VERSION}-mingw-w64")
  set(_stamp "${DORVANE_QT_MINGW}/.unpacked")
  if(NOT EXISTS "${_stamp}" OR "${DORVANE_QT_MINGW_ARCHIVE}" IS_NEWER_THAN "${_stamp}")
    if(NOT EXISTS "${DORVANE_QT_MINGW_ARCHIVE}")
      message(FATAL_ERROR "The toolkit for Windows is missing: ${DORVANE_QT_MINGW_ARCHIVE}")
    endif()
    message(STATUS "Unpacking ${DORVANE_QT_MINGW_ARCHIVE}")
    file(REMOVE_RECURSE "${DORVANE_QT_MINGW}")
    file(ARCHIVE_EXTRACT INPUT "${DORVANE_QT_MINGW_ARCHIVE}" DESTINATION "${CMAKE_BINARY_DIR}")
    file(TOUCH "${_stamp}")
  endif()
  list(PREPEND CMAKE_FIND_ROOT_PATH "${DORVANE_QT_MINGW}")
  list(PREPEND CMAKE_PREFIX_PATH "${DORVANE_QT_MINGW}/lib/cmake")
endif()
