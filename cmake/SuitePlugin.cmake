# suite_add_plugin(<name> GENERATION <2|3> SOURCES <files...> [DESCRIPTION <file.json>]
#                  [OUTPUT_DIR <dir>] [LIBRARIES <targets...>])
#
# Builds one plug-in library (`<name>.so`, `<name>.dll` on Windows) exporting
# only its generation's entry points, and stages it with its description file
# `<name>.json` into OUTPUT_DIR (the deliverables' folder by default).
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
  if(WIN32)
    # The same names as a module-definition file; --kill-at exports the
    # __stdcall entry point under its plain name (MP_GetFactory, not
    # MP_GetFactory@4); the plain name in the file is meant to resolve to the
    # decorated symbol, which the stdcall fixup does without a warning.
    suite_exports_definition_file(${framework} def)
    target_sources(${name} PRIVATE "${def}")
    target_link_options(${name} PRIVATE "LINKER:--kill-at" "LINKER:--no-undefined")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_link_options(${name} PRIVATE "LINKER:--enable-stdcall-fixup")
    endif()
  else()
    target_link_options(${name} PRIVATE "LINKER:--no-undefined" "LINKER:--version-script=${exports}")
  endif()

  if(ARG_OUTPUT_DIR STREQUAL SUITE_PLUGIN_DIR)
    # The deliverables, by generation, for checks that cover each of them.
    set_property(GLOBAL APPEND PROPERTY SUITE_DELIVERABLES_V${ARG_GENERATION} ${name})
  endif()
  if(ARG_DESCRIPTION)
    configure_file("${ARG_DESCRIPTION}" "${ARG_OUTPUT_DIR}/${name}.json" COPYONLY)
  endif()
endfunction()

# suite_exports_definition_file(<framework> <out variable>): the framework's
# exported names (the global: part of its exports.map) as a Windows
# module-definition file in the build folder.
function(suite_exports_definition_file framework out)
  set(exports "${CMAKE_SOURCE_DIR}/${framework}/exports.map")
  set(def "${CMAKE_BINARY_DIR}/${framework}_exports.def")
  file(READ "${exports}" map)
  if(NOT map MATCHES "global:([^}]*)local:")
    message(FATAL_ERROR "${exports}: no global: part")
  endif()
  string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" names "${CMAKE_MATCH_1}")
  list(JOIN names "\n  " lines)
  file(CONFIGURE OUTPUT "${def}" CONTENT "EXPORTS\n  ${lines}\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${exports}")
  set(${out} "${def}" PARENT_SCOPE)
endfunction()
