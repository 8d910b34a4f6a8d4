# Every header of src/ compiles on its own: one translation unit per header,
# built with the rest, warnings counted as for the program.
file(GLOB_RECURSE _headers CONFIGURE_DEPENDS RELATIVE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/src/*.h")
set(_units)
foreach(_header IN LISTS _headers)
  string(MAKE_C_IDENTIFIER "${_header}" _id)
  set(_unit "${CMAKE_BINARY_DIR}/header-check/${_id}.cpp")
  file(CONFIGURE OUTPUT "${_unit}" CONTENT "#include \"${_header}\"\n")
  list(APPEND _units "${_unit}")
endforeach()
add_library(dorvane_header_check OBJECT ${_units})
target_include_directories(dorvane_header_check PRIVATE "${PROJECT_SOURCE_DIR}/src")
target_link_libraries(dorvane_header_check PRIVATE Qt6::Widgets Qt6::Svg)
dorvane_warnings(dorvane_header_check)
