# GoogleTest for the Windows build: Debian ships its sources (/usr/src/googletest), built here with
# the cross compiler. The targets get the names find_package(GTest) gives on Linux.
set(CORSARO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${CORSARO_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources at ${CORSARO_GOOGLETEST_SOURCE}: "
                      "install googletest (scripts/setup)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${CORSARO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main gmock gmock_main)
  # Not our code: our warning flags (and -Werror) are not its business.
  set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "-w")
  if(NOT TARGET GTest::${target})
    add_library(GTest::${target} ALIAS ${target})
  endif()
endforeach()
