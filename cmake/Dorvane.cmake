# Shared settings for every Dorvane target.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

find_program(DORVANE_CCACHE ccache)
if(DORVANE_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER "${DORVANE_CCACHE}")
endif()

# Debian's usual hardening, for the program as released and as packaged:
# position-independent executables, stack protector, fortified C library
# calls (they need the optimiser) and a read-only, eagerly bound relocation
# table.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
add_compile_options(-fstack-protector-strong "$<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>")
if(WIN32)
  # MinGW's protector and fortified calls live in libssp, which the option
  # brings in at the link; relocation tables are an ELF matter.
  add_link_options(-fstack-protector-strong)
else()
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# Warnings on our own targets only; Qt and GoogleTest headers are system
# headers and stay out of it. The dev preset makes them errors.
option(DORVANE_WERROR "Treat warnings as errors" OFF)
function(dorvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(DORVANE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Qt's code generators run again when a list file of the folder changes, not
# when the folder gains a header, so a new Q_OBJECT class would get no moc
# code in an existing build tree. A list file naming the sources, rewritten
# only when they change, makes the generators follow.
function(dorvane_autogen_follows target sources)
  file(CONFIGURE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.cmake"
       CONTENT "# Generated: the sources of ${target}.\n# ${sources}\n")
  include("${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.cmake")
endfunction()

# A layer library: every .cpp/.h of the folder, Qt's code generators on.
function(dorvane_layer target)
  file(GLOB _sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.ui" "${CMAKE_CURRENT_SOURCE_DIR}/*.qrc")
  add_library(${target} STATIC ${_sources})
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON)
  dorvane_autogen_follows(${target} "${_sources}")
  dorvane_warnings(${target})
endfunction()

# A layer's share of the platform code: src/platform/<name>.h and the file
# for the platform built for, <name>_win.cpp or <name>_unix.cpp.
function(dorvane_platform_sources target)
  if(WIN32)
    set(_platform win)
  elseif(UNIX)
    set(_platform unix)
  else()
    message(FATAL_ERROR "No platform code for ${CMAKE_SYSTEM_NAME}")
  endif()
  foreach(_name IN LISTS ARGN)
    set(_dir "${PROJECT_SOURCE_DIR}/src/platform")
    target_sources(${target} PRIVATE "${_dir}/${_name}_${_platform}.cpp")
    if(EXISTS "${_dir}/${_name}.h")
      target_sources(${target} PRIVATE "${_dir}/${_name}.h")
    endif()
  endforeach()
endfunction()

# One test program per folder of tests/: every .cpp in it. Qt tests get a main
# that starts an offscreen QApplication with the program's font substitutions.
function(dorvane_test_folder target)
  cmake_parse_arguments(ARG "QT" "" "LIBS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  if(NOT _sources)
    return()
  endif()
  add_executable(${target} ${_sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gmock)
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  if(ARG_QT)
    target_link_libraries(${target} PRIVATE dorvane_test_qt_main Qt6::Test)
    set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
    dorvane_autogen_follows(${target} "${_sources}")
  else()
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
  endif()
  dorvane_warnings(${target})
  if(WIN32)
    # Under Wine every process costs seconds: one entry per program.
    dorvane_windows_test(${target})
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 300)
  endif()
endfunction()
