# The layers, bottom to top, and the source folders each may include from: its own and those it
# may use. Every library, executable and test gets an include folder of its own that holds only
# these folders (corsaro_include_view), so an include pointing the wrong way fails to build.
# scripts/check-layering checks the same rules over the sources, written out on their own.
# The platform layer's interfaces are part of the engine (engine/platform/); each backend below
# it sees only those interfaces and its own folder, and nothing above sees a backend.
set(CORSARO_LAYER_platform_sdl engine/platform platform/sdl)
set(CORSARO_LAYER_platform_win32 engine/platform platform/win32)
set(CORSARO_LAYER_platform_null engine/platform platform/null)
set(CORSARO_LAYER_engine engine)
set(CORSARO_LAYER_common common)
set(CORSARO_LAYER_ui engine common ui)
set(CORSARO_LAYER_profile common profile)
set(CORSARO_LAYER_device common profile device)
set(CORSARO_LAYER_online common online)
set(CORSARO_LAYER_app engine common ui profile device online app)
set(CORSARO_LAYER_demo engine common ui profile device online app demo)
set(CORSARO_LAYER_cli common profile device online tools/cli)
set(CORSARO_LAYER_emu common profile device tools/emu)
# Tests of a layer may also reach the backends: the SDL one where they test it, the null one
# where a test runs the program on it.
set(CORSARO_LAYER_engine_tests engine platform/sdl platform/null)
set(CORSARO_LAYER_app_tests engine common ui profile device online app platform/null)
set(CORSARO_LAYER_demo_tests engine common ui profile device online app demo platform/null)

# Every folder an include view may hold.
# Every folder an include view may hold; a folder comes before the folders inside it.
set(CORSARO_SOURCE_FOLDERS engine engine/platform platform/sdl platform/win32 platform/null common ui profile
  device online app demo tools/cli tools/emu tests)

# corsaro_include_view(<target> <layer> [TESTS])
#
# Gives <target> a private include folder holding links to just the source folders of <layer>
# (and tests/ with TESTS), in place of the repository root: "#include "device/x.h"" then builds
# where device/ may be used and fails everywhere else.
function(corsaro_include_view target layer)
  cmake_parse_arguments(V "TESTS" "" "" ${ARGN})
  if(NOT DEFINED CORSARO_LAYER_${layer})
    message(FATAL_ERROR "corsaro_include_view: unknown layer '${layer}'")
  endif()
  set(folders ${CORSARO_LAYER_${layer}})
  if(V_TESTS)
    list(APPEND folders tests)
  endif()
  set(view ${CMAKE_BINARY_DIR}/include_views/${target})
  # Links only: never remove a directory here, it could be a link into the sources.
  foreach(folder IN LISTS CORSARO_SOURCE_FOLDERS)
    if(IS_SYMLINK ${view}/${folder})
      file(REMOVE ${view}/${folder})
    endif()
  endforeach()
  foreach(folder IN LISTS folders)
    get_filename_component(parent ${view}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${view})
endfunction()
