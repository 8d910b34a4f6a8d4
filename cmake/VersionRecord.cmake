# The version record carried by the program file: the one place where its
# entries are set. The version itself is the project's.
set(DORVANE_VERSION_DESCRIPTION "Affichage modification courbe variation potentiometre")
set(DORVANE_VERSION_COPYRIGHT "Copyright © 2026 Dorvane")
set(DORVANE_VERSION_COMMENTS "Freeware")
set(DORVANE_VERSION_LANGUAGE 0x040C)
set(DORVANE_VERSION_CODEPAGE 0x04E4)
# The Windows resource adds what Explorer and the installed programs show.
set(DORVANE_VERSION_COMPANY "Dorvane")
set(DORVANE_VERSION_PRODUCT "Dorvane")
set(DORVANE_VERSION_INTERNAL_NAME "dorvane")

# dorvane_embed_version_record(<target>): compiles the record into the target:
# on Linux in the ELF section that the version lookup reads from the
# program's file, on Windows as the program's version resource (with the
# icon), which the system's version functions read.
function(dorvane_embed_version_record target)
  set(_words "${PROJECT_VERSION_MAJOR}")
  foreach(_part MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${_part}}" STREQUAL "")
      string(APPEND _words ", 0")
    else()
      string(APPEND _words ", ${PROJECT_VERSION_${_part}}")
    endif()
  endforeach()
  set(DORVANE_VERSION_WORDS "${_words}")
  if(WIN32)
    # "040C04E4": language and code page, four upper-case hex digits each.
    foreach(_part LANGUAGE CODEPAGE)
      math(EXPR _value "${DORVANE_VERSION_${_part}} + 0x10000" OUTPUT_FORMAT HEXADECIMAL)
      string(SUBSTRING "${_value}" 3 4 _value)
      string(TOUPPER "${_value}" _value)
      string(APPEND DORVANE_VERSION_TABLE "${_value}")
    endforeach()
    set(DORVANE_ICO "${PROJECT_SOURCE_DIR}/resources/icons/dorvane.ico")
    set(DORVANE_MANIFEST "${CMAKE_BINARY_DIR}/generated/dorvane.manifest")
    configure_file("${PROJECT_SOURCE_DIR}/resources/windows/dorvane.manifest" "${DORVANE_MANIFEST}" @ONLY)
    set(_out "${CMAKE_BINARY_DIR}/generated/dorvane.rc")
    configure_file("${PROJECT_SOURCE_DIR}/resources/dorvane.rc.in" "${_out}" @ONLY)
    target_sources(${target} PRIVATE "${_out}")
    set_source_files_properties("${_out}" PROPERTIES OBJECT_DEPENDS "${DORVANE_ICO};${DORVANE_MANIFEST}")
    target_link_libraries(${target} PRIVATE dorvane_version)
    return()
  endif()
  set(_out "${CMAKE_BINARY_DIR}/generated/version_record.cpp")
  configure_file("${PROJECT_SOURCE_DIR}/resources/version_record.cpp.in" "${_out}" @ONLY)
  target_sources(${target} PRIVATE "${_out}")
  target_link_libraries(${target} PRIVATE dorvane_version)
endfunction()
