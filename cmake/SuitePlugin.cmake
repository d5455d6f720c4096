# suite_add_plugin(<name> GENERATION <2|3> SOURCES <files...> [DESCRIPTION <file.json>]
#                  [OUTPUT_DIR <dir>] [LIBRARIES <targets...>])
#
# Builds one plug-in library `<name>.so` exporting only its generation's entry
# points, and stages it with its description file `<name>.json` into OUTPUT_DIR
# (the deliverables' folder by default).
function(suite_add_plugin name)
  cmake_parse_arguments(ARG "" "GENERATION;DESCRIPTION;OUTPUT_DIR" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT ARG_OUTPUT_DIR)
    set(ARG_OUTPUT_DIR "${SUITE_PLUGIN_DIR}")
  endif()
  if(NOT ARG_GENERATION EQUAL 3 AND NOT ARG_GENERATION EQUAL 2)
    message(FATAL_ERROR "suite_add_plugin(${name}): unknown GENERATION '${ARG_GENERATION}'")
  endif()
  set(framework framework_v${ARG_GENERATION})

  add_library(${name} MODULE ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${framework} suite_warnings ${ARG_LIBRARIES})
  if(ARG_GENERATION EQUAL 3 AND NOT WIN32)
    # The stand-in loader's start-up code that calls the library's DllMain.
    target_link_libraries(${name} PRIVATE platform_dll_startup)
  endif()
  set(exports "${CMAKE_SOURCE_DIR}/${framework}/exports.map")
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${ARG_OUTPUT_DIR}"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS "${exports}")
  target_link_options(${name} PRIVATE "LINKER:--no-undefined" "LINKER:--version-script=${exports}")

  if(ARG_DESCRIPTION)
    configure_file("${ARG_DESCRIPTION}" "${ARG_OUTPUT_DIR}/${name}.json" COPYONLY)
  endif()
endfunction()
