# corsaro_fuzz_target(<name> LAYER <layer> LIBRARIES <lib>... CORPUS <folder> [DICT <file>])
#
# <name>.cpp in the calling folder defines LLVMFuzzerTestOneInput; CORPUS (relative to the
# calling folder) holds its seeds and the inputs of past findings, DICT its dictionary.
#   - With CORSARO_FUZZERS (clang): the libFuzzer executable <name>, listed in
#     fuzz_targets.txt of the build folder for scripts/fuzz.
#   - Otherwise, with CORSARO_TESTS: <name>_replay, the same entry function fed every file of
#     the corpus by a plain main (tests/support/fuzz_replay_main.cpp), run as the test
#     fuzz_replay.<name>, so a fixed finding stays fixed without a clang build.
function(corsaro_fuzz_target name)
  cmake_parse_arguments(F "" "LAYER;CORPUS;DICT" "LIBRARIES" ${ARGN})
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
  get_filename_component(corpus ${F_CORPUS} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(dict "")
  if(F_DICT)
    get_filename_component(dict ${F_DICT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  if(CORSARO_FUZZERS)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${F_LIBRARIES})
    corsaro_include_view(${name} ${F_LAYER})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(corsaro_fuzzers ${name})
    file(APPEND ${CORSARO_FUZZ_LIST}
         "${name}\t${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name}\t${corpus}\t${dict}\n")
  elseif(CORSARO_TESTS AND NOT WIN32)
    add_executable(${name}_replay ${source} ${PROJECT_SOURCE_DIR}/tests/support/fuzz_replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${F_LIBRARIES})
    corsaro_include_view(${name}_replay ${F_LAYER})
    add_test(NAME fuzz_replay.${name} COMMAND ${name}_replay ${corpus})
    set_tests_properties(fuzz_replay.${name} PROPERTIES
      ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy" LABELS fuzz_replay)
  endif()
endfunction()
