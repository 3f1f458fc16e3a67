# Test tools for the end-to-end tests under Wine: prefixstate.exe, which dumps
# a prefix's end state as JSON (tools/prefixstate/), and the planted DLLs of
# build/win32/planted/ (tools/planted/).
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/prefixstate ${CMAKE_BINARY_DIR}/tools/prefixstate)
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/planted ${CMAKE_BINARY_DIR}/tools/planted)
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/e2e/programs ${CMAKE_BINARY_DIR}/tests/e2e/programs)

# The end-to-end checks' own rules, which need no Wine: the spooler codes
# accepted where Wine's versions differ, the planted-DLL floor.
find_program(QLX_TOOLS_PYTHON3 python3 REQUIRED)
add_test(NAME e2e_check_rules
  COMMAND ${QLX_TOOLS_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/e2e/test_checks.py)
