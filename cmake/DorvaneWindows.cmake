# The Windows build (cmake/mingw-w64.cmake): programs and tests in one
# folder with the toolkit's and MinGW's libraries beside them, as Windows
# finds them; tests run under Wine, one process per test program; the zip
# and the installer a Windows user downloads.
enable_language(RC)  # the version resource and icon
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")
set(DORVANE_MINGW_GCC_VERSION 12 CACHE STRING "Major version of MinGW-w64's GCC (its runtime libraries' folder)")
set(DORVANE_MINGW_RUNTIME_DIRS "/usr/lib/gcc/x86_64-w64-mingw32/${DORVANE_MINGW_GCC_VERSION}-posix"
    "/usr/x86_64-w64-mingw32/lib" CACHE STRING "Where MinGW's runtime libraries (DLLs) are")
set(DORVANE_QT_TRANSLATION "${QT_HOST_PATH}/share/qt6/translations/qtbase_fr.qm"
    CACHE FILEPATH "The toolkit's French texts (the same file on every platform)")

# Beside the programs of the build tree: every library and plugin they may
# load. The downloads get only what dorvane.exe needs (WindowsDeploy.cmake).
file(GLOB _qt_dlls "${DORVANE_QT_MINGW}/bin/*.dll")
file(COPY ${_qt_dlls} "${DORVANE_QT_TRANSLATION}" DESTINATION "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
foreach(_kind platforms styles imageformats iconengines)
  file(COPY "${DORVANE_QT_MINGW}/plugins/${_kind}" DESTINATION "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
endforeach()
foreach(_dll libgcc_s_seh-1.dll libstdc++-6.dll libssp-0.dll libwinpthread-1.dll)
  find_file(_found NAMES ${_dll} PATHS ${DORVANE_MINGW_RUNTIME_DIRS} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT _found)
    message(FATAL_ERROR "MinGW's ${_dll} is missing (package g++-mingw-w64-x86-64-posix)")
  endif()
  file(COPY "${_found}" DESTINATION "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  unset(_found CACHE)
endforeach()

# --- tests under Wine ----------------------------------------------------------
# A private prefix for each run, made before the first test and stopped after
# the last (tests/windows/wine-prefix). The test programs choose their
# platform themselves (tests/support/qt_test_main.cpp): Wine does not pass
# QT_* variables on to them.
set(DORVANE_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine")
set(DORVANE_WINE_ENVIRONMENT "WINEPREFIX=${DORVANE_WINE_PREFIX}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=")
if(DORVANE_BUILD_TESTS)
  enable_testing()
  set(_prefix_script "${PROJECT_SOURCE_DIR}/tests/windows/wine-prefix")
  add_test(NAME wine.prefix COMMAND "${_prefix_script}" start "${DORVANE_WINE_PREFIX}")
  add_test(NAME wine.stop COMMAND "${_prefix_script}" stop "${DORVANE_WINE_PREFIX}")
  set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 120 SKIP_RETURN_CODE 77)
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

  # What the end-to-end checks read from Windows itself (the clipboard's
  # formats, a console's screen).
  add_executable(windows_probe "${PROJECT_SOURCE_DIR}/tests/windows/windows_probe.cpp")
  dorvane_warnings(windows_probe)

  # End to end, against the Linux program of the tree that builds this one
  # (the dev preset's DORVANE_WINDOWS).
  set(DORVANE_LINUX_PROGRAM "" CACHE FILEPATH "The Linux program the Windows one is compared with")
  if(DORVANE_LINUX_PROGRAM)
    foreach(_check command_line export window zip installer)
      add_test(NAME windows.e2e.${_check}
        COMMAND "${PROJECT_SOURCE_DIR}/tests/windows/e2e.sh" ${_check} "${CMAKE_BINARY_DIR}"
                "${DORVANE_LINUX_PROGRAM}" "${CMAKE_BINARY_DIR}/e2e/${_check}")
      set_tests_properties(windows.e2e.${_check} PROPERTIES ENVIRONMENT "${DORVANE_WINE_ENVIRONMENT}"
        FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE LABELS "windows;e2e")
    endforeach()
  endif()
endif()

function(dorvane_windows_test target)
  add_test(NAME ${target} COMMAND ${target})
  set(_env ${DORVANE_WINE_ENVIRONMENT} "LC_ALL=C.UTF-8")
  # The cases left out, each with its reason: tests/windows/leave_out.cmake.
  if(DORVANE_WINDOWS_LEAVE_OUT_${target})
    list(JOIN DORVANE_WINDOWS_LEAVE_OUT_${target} ":" _filter)
    list(APPEND _env "GTEST_FILTER=-${_filter}")
  endif()
  set_tests_properties(${target} PROPERTIES ENVIRONMENT "${_env}" FIXTURES_REQUIRED wine TIMEOUT 600
                                            LABELS windows)
endfunction()

# --- what a Windows user downloads ---------------------------------------------
# dorvane-<version>-win64.zip: the program and exactly the libraries and
# plugins it loads, the toolkit's French texts and the licences;
# dorvane-<version>-setup.exe: the same files behind a French installer.
set(DORVANE_WINDOWS_NAME "dorvane-${PROJECT_VERSION}")
set(DORVANE_WINDOWS_STAGE "${CMAKE_BINARY_DIR}/package/${DORVANE_WINDOWS_NAME}-win64")
set(DORVANE_WINDOWS_ZIP "${CMAKE_BINARY_DIR}/${DORVANE_WINDOWS_NAME}-win64.zip")
set(DORVANE_WINDOWS_SETUP "${CMAKE_BINARY_DIR}/${DORVANE_WINDOWS_NAME}-setup.exe")
find_program(DORVANE_MAKENSIS makensis)
find_program(DORVANE_OBJDUMP NAMES x86_64-w64-mingw32-objdump REQUIRED)
find_program(DORVANE_STRIP NAMES x86_64-w64-mingw32-strip REQUIRED)

function(dorvane_windows_packages)
  set(_nsi "${CMAKE_BINARY_DIR}/package/dorvane.nsi")
  set(DORVANE_ICO "${PROJECT_SOURCE_DIR}/resources/icons/dorvane.ico")
  set(DORVANE_NSI_STAGE "${DORVANE_WINDOWS_STAGE}")
  set(DORVANE_NSI_FILES "${CMAKE_BINARY_DIR}/package/files.nsh")
  set(DORVANE_NSI_OUT "${DORVANE_WINDOWS_SETUP}")
  set(DORVANE_NSI_UNINSTALLER "${CMAKE_BINARY_DIR}/package/uninstall.exe")
  configure_file("${PROJECT_SOURCE_DIR}/resources/windows/dorvane.nsi.in" "${_nsi}" @ONLY)
  list(JOIN DORVANE_MINGW_RUNTIME_DIRS "|" _search)
  set(_search "${DORVANE_QT_MINGW}/bin|${_search}")
  set(_commands
    COMMAND "${CMAKE_COMMAND}" -D "EXE=$<TARGET_FILE:dorvane>" -D "STAGE=${DORVANE_WINDOWS_STAGE}"
            -D "SEARCH=${_search}"
            -D "PLUGINS=${DORVANE_QT_MINGW}/plugins" -D "OBJDUMP=${DORVANE_OBJDUMP}" -D "STRIP=${DORVANE_STRIP}"
            -D "TRANSLATION=${DORVANE_QT_TRANSLATION}" -D "SOURCE=${PROJECT_SOURCE_DIR}"
            -D "NSIS_FILES=${DORVANE_NSI_FILES}" -D "VERSION=${PROJECT_VERSION}"
            -P "${PROJECT_SOURCE_DIR}/cmake/WindowsDeploy.cmake"
    COMMAND "${CMAKE_COMMAND}" -E rm -f "${DORVANE_WINDOWS_ZIP}"
    COMMAND "${CMAKE_COMMAND}" -E chdir "${CMAKE_BINARY_DIR}/package"
            "${CMAKE_COMMAND}" -E tar cf "${DORVANE_WINDOWS_ZIP}" --format=zip "${DORVANE_WINDOWS_NAME}-win64")
  set(_outputs "${DORVANE_WINDOWS_ZIP}")
  if(DORVANE_MAKENSIS)
    # The uninstaller first: the installer carries it.
    list(APPEND _commands COMMAND "${DORVANE_MAKENSIS}" -V2 -INPUTCHARSET UTF8 -DDORVANE_UNINSTALLER "${_nsi}"
                          COMMAND "${DORVANE_MAKENSIS}" -V2 -INPUTCHARSET UTF8 "${_nsi}")
    list(APPEND _outputs "${DORVANE_WINDOWS_SETUP}")
  else()
    message(WARNING "makensis not found (package nsis): no installer")
  endif()
  add_custom_command(OUTPUT ${_outputs} ${_commands}
    DEPENDS dorvane "${_nsi}" "${PROJECT_SOURCE_DIR}/cmake/WindowsDeploy.cmake"
            "${PROJECT_SOURCE_DIR}/resources/windows/LICENCE.txt" "${PROJECT_SOURCE_DIR}/resources/windows/LISEZMOI.txt"
            "${PROJECT_SOURCE_DIR}/resources/windows/qt-source.txt"
    COMMENT "Packing ${DORVANE_WINDOWS_NAME}-win64.zip and ${DORVANE_WINDOWS_NAME}-setup.exe" VERBATIM)
  add_custom_target(dorvane_windows_packages ALL DEPENDS ${_outputs})
endfunction()
