# How the Windows libraries and the plug-in DLLs are made.
#
# Each Windows library is built twice from the same sources: the product library, linked into the shipped
# lumisk.oqx, and its test library (<name>_test), compiled with LUMISK_TEST_BUILD: it counts its live GUI
# objects (win32/GuiHandles.h) and carries the throw points (win32/ThrowPoint.h). The definition is
# public, so a test that links a test library sees the counters too. Tests and the test builds of the
# plug-in link only test libraries, so that the shipped DLL holds no test machinery and no program mixes
# the two builds of one source.

# lumisk_windows_library(<name> SOURCES <files...> [WINDOWS_LINKS <windows libraries...>] [LINKS <others...>])
# WINDOWS_LINKS names libraries made by this function: the product library links their product builds,
# the test library their test builds.
function(lumisk_windows_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;WINDOWS_LINKS;LINKS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "lumisk_windows_library(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  set(test_links ${arg_WINDOWS_LINKS})
  list(TRANSFORM test_links APPEND _test)

  add_library(${name} STATIC ${arg_SOURCES})
  target_link_libraries(${name} PUBLIC ${arg_WINDOWS_LINKS} ${arg_LINKS})

  add_library(${name}_test STATIC ${arg_SOURCES})
  target_compile_definitions(${name}_test PUBLIC LUMISK_TEST_BUILD)
  target_link_libraries(${name}_test PUBLIC ${test_links} ${arg_LINKS})
endfunction()

# lumisk_plugin_dll(<target> OUTPUT <file name without .oqx> [TEST] SOURCES <files...>)
# A plug-in DLL: the composition root (dll/Exports.cpp) over the plug-in core, the editor and the Win32
# layer, with plain undecorated stdcall exports at the ordinals of the .def file among SOURCES (ld matches
# the plain names to the decorated stdcall symbols of the 32-bit build). TEST links the test libraries.
function(lumisk_plugin_dll target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "TEST" "OUTPUT" "SOURCES")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_OUTPUT)
    message(FATAL_ERROR "lumisk_plugin_dll(${target}): needs OUTPUT and SOURCES only")
  endif()
  set(suffix "")
  if(arg_TEST)
    set(suffix _test)
  endif()
  add_library(${target} SHARED ${CMAKE_SOURCE_DIR}/dll/Exports.cpp ${CMAKE_SOURCE_DIR}/dll/UnwindTables.cpp
    ${arg_SOURCES})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${arg_OUTPUT} SUFFIX ".oqx")
  target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup -Wl,--kill-at)
  target_link_libraries(${target} PRIVATE lumisk_plugin_core lumisk_editor${suffix} lumisk_win32${suffix})
endfunction()
