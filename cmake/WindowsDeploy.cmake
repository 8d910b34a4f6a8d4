# cmake -P: gathers what dorvane.exe needs into STAGE: the program, the
# plugins it loads (windows platform, the native style, and the minimal
# platform that --export runs on), the libraries all of them import from the
# toolkit and MinGW (found by reading their import tables, nothing more), the
# toolkit's French texts and the licences. Writes the installer's file lists
# to NSIS_FILES.
cmake_policy(VERSION 3.25)
foreach(_var EXE STAGE SEARCH PLUGINS OBJDUMP STRIP TRANSLATION SOURCE NSIS_FILES VERSION)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "WindowsDeploy: ${_var} not set")
  endif()
endforeach()

string(REPLACE "|" ";" SEARCH "${SEARCH}")
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
set(_plugins platforms/qwindows.dll platforms/qminimal.dll styles/qwindowsvistastyle.dll)
# Libraries every Windows has.
set(_system "^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|winmm|ws2_32|version|imm32|uxtheme|dwmapi|shlwapi|netapi32|userenv|mpr|winspool\\.drv|msvcrt|authz|setupapi|d3d9|d3d11|d3d12|dxgi|dwrite|d2d1|wtsapi32|comctl32|rpcrt4|shcore|bcrypt|crypt32|secur32|iphlpapi|msimg32|usp10|opengl32|ntdll)(\\.dll)?$")

# The import tables, followed through the libraries found in SEARCH (names
# compared without case, as Windows does); the rest must be the system's.
set(_pending "${EXE}")
foreach(_plugin IN LISTS _plugins)
  list(APPEND _pending "${PLUGINS}/${_plugin}")
endforeach()
set(_resolved)
set(_seen)
while(_pending)
  list(POP_FRONT _pending _binary)
  execute_process(COMMAND "${OBJDUMP}" -p "${_binary}" OUTPUT_VARIABLE _dump COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\n]+" _imports "${_dump}")
  foreach(_import IN LISTS _imports)
    string(REGEX REPLACE "DLL Name: *" "" _dll "${_import}")
    string(STRIP "${_dll}" _dll)
    string(TOLOWER "${_dll}" _lower)
    if(_lower IN_LIST _seen)
      continue()
    endif()
    list(APPEND _seen "${_lower}")
    set(_found "")
    foreach(_dir IN LISTS SEARCH)
      file(GLOB _candidates "${_dir}/*.dll")
      foreach(_candidate IN LISTS _candidates)
        get_filename_component(_name "${_candidate}" NAME)
        string(TOLOWER "${_name}" _name)
        if(_name STREQUAL _lower)
          set(_found "${_candidate}")
          break()
        endif()
      endforeach()
      if(_found)
        break()
      endif()
    endforeach()
    if(_found)
      list(APPEND _resolved "${_found}")
      list(APPEND _pending "${_found}")
    elseif(NOT _lower MATCHES "^(api-ms-|ext-ms-)" AND NOT _lower MATCHES "${_system}")
      message(FATAL_ERROR "WindowsDeploy: ${_dll} is needed and not found")
    endif()
  endforeach()
endwhile()

file(COPY "${EXE}" ${_resolved} "${TRANSLATION}" DESTINATION "${STAGE}")
foreach(_plugin IN LISTS _plugins)
  get_filename_component(_dir "${_plugin}" DIRECTORY)
  file(COPY "${PLUGINS}/${_plugin}" DESTINATION "${STAGE}/${_dir}")
endforeach()
# The downloads carry no debugging sections.
file(GLOB_RECURSE _binaries "${STAGE}/*.exe" "${STAGE}/*.dll")
foreach(_binary IN LISTS _binaries)
  execute_process(COMMAND "${STRIP}" --strip-unneeded "${_binary}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Licences: Dorvane's with the list of the parts shipped with it (French,
# the installer's licence page too), the toolkit's LGPL (with the GPL it
# builds on) and where its source is; and a short French read-me. Text files
# with Windows line ends; the French ones start with the UTF-8 byte-order
# mark, by which Notepad and the installer read them as UTF-8.
file(MAKE_DIRECTORY "${STAGE}/licences")
foreach(_pair "${SOURCE}/resources/windows/LICENCE.txt|LICENCE.txt|bom"
              "${SOURCE}/resources/windows/LISEZMOI.txt|LISEZMOI.txt|bom"
              "${SOURCE}/resources/windows/qt-source.txt|licences/Qt-SOURCE.txt"
              "/usr/share/common-licenses/LGPL-3|licences/LGPL-3.txt"
              "/usr/share/common-licenses/GPL-3|licences/GPL-3.txt"
              "/usr/share/doc/mingw-w64-common/copyright|licences/MinGW-w64.txt"
              "/usr/share/doc/gcc-mingw-w64-base/copyright|licences/GCC-runtime.txt")
  string(REPLACE "|" ";" _pair "${_pair}")
  list(GET _pair 0 _from)
  list(GET _pair 1 _to)
  list(LENGTH _pair _parts)
  if(NOT EXISTS "${_from}")
    message(FATAL_ERROR "WindowsDeploy: ${_from} is missing")
  endif()
  file(READ "${_from}" _text)
  string(REPLACE "@PROJECT_VERSION@" "${VERSION}" _text "${_text}")
  string(REPLACE "\r\n" "\n" _text "${_text}")
  string(REPLACE "\n" "\r\n" _text "${_text}")
  if(_parts GREATER 2)
    string(ASCII 239 187 191 _bom)
    string(PREPEND _text "${_bom}")
  endif()
  file(WRITE "${STAGE}/${_to}" "${_text}")
endforeach()

# The installer installs exactly these files and removes exactly these.
file(GLOB_RECURSE _files RELATIVE "${STAGE}" "${STAGE}/*")
list(SORT _files)
set(_install "")
set(_remove "")
set(_dirs "")
foreach(_file IN LISTS _files)
  get_filename_component(_dir "${_file}" DIRECTORY)
  string(REPLACE "/" "\\" _win "${_file}")
  string(REPLACE "/" "\\" _windir "${_dir}")
  string(APPEND _install "  SetOutPath \"$INSTDIR\\${_windir}\"\n  File \"${STAGE}/${_file}\"\n")
  string(APPEND _remove "  Delete \"$INSTDIR\\${_win}\"\n")
  if(_dir AND NOT _dir IN_LIST _dirs)
    list(APPEND _dirs "${_dir}")
  endif()
endforeach()
foreach(_dir IN LISTS _dirs)
  string(REPLACE "/" "\\" _windir "${_dir}")
  string(APPEND _remove "  RMDir \"$INSTDIR\\${_windir}\"\n")
endforeach()
file(WRITE "${NSIS_FILES}" "!macro DorvaneInstallFiles\n${_install}  SetOutPath \"$INSTDIR\"\n!macroend\n"
                           "!macro DorvaneRemoveFiles\n${_remove}!macroend\n")
