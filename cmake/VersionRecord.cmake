# The version record carried by the program file: the one place where its
# entries are set. The version itself is the project's.
set(DORVANE_VERSION_DESCRIPTION "Affichage modification courbe variation potentiometre")
set(DORVANE_VERSION_COPYRIGHT "Copyright © 2026 Dorvane")
set(DORVANE_VERSION_COMMENTS "Freeware")
set(DORVANE_VERSION_LANGUAGE 0x040C)
set(DORVANE_VERSION_CODEPAGE 0x04E4)

# dorvane_embed_version_record(<target>): compiles the record into the target,
# in the ELF section that the version lookup reads from the program's file.
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
  set(_out "${CMAKE_BINARY_DIR}/generated/version_record.cpp")
  configure_file("${PROJECT_SOURCE_DIR}/resources/version_record.cpp.in" "${_out}" @ONLY)
  target_sources(${target} PRIVATE "${_out}")
  target_link_libraries(${target} PRIVATE dorvane_version)
endfunction()
