# Windows tests run under Wine (CMAKE_CROSSCOMPILING_EMULATOR), in a prefix of the build folder's
# own. The fixture wine_session starts its wineserver detached from CTest's output pipes (a
# wineserver that inherits them makes CTest wait for ever) and stops it after the last test.
# Without Wine every Windows test is skipped, with the reason, by tests/windows/wine_session.sh.
set(CORSARO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
# Wine shows the host's / as drive Z:, so the tests reach the sources there.
set(CORSARO_TEST_PATH_PREFIX "Z:")
set(CORSARO_WINE_ENVIRONMENT
  "WINEPREFIX=${CORSARO_WINE_PREFIX}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml="
  "CORSARO_WINE=${CORSARO_WINE}")
set(CORSARO_WINE_SESSION ${PROJECT_SOURCE_DIR}/tests/windows/wine_session.sh)

add_test(NAME wine_start COMMAND bash ${CORSARO_WINE_SESSION} start)
add_test(NAME wine_stop COMMAND bash ${CORSARO_WINE_SESSION} stop)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine_session
  ENVIRONMENT "${CORSARO_WINE_ENVIRONMENT}" SKIP_RETURN_CODE 77 TIMEOUT 120 LABELS windows)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine_session
  ENVIRONMENT "${CORSARO_WINE_ENVIRONMENT}" SKIP_RETURN_CODE 77 LABELS windows)

# corsaro_wine_test(<test>)
#
# Makes <test> one of the Windows tests: in Wine's session, with its environment, skipped (77)
# where the session could not start.
function(corsaro_wine_test test)
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine_session
    ENVIRONMENT "${CORSARO_WINE_ENVIRONMENT}" SKIP_RETURN_CODE 77 LABELS windows TIMEOUT 300)
endfunction()
