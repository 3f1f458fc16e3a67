# What the end-to-end tests under Wine need beside the installer: the demo
# driver package (build/win32/package/, demo/) and the UI driver that runs the
# installer through its windows (build/win32/uidriver.exe, tools/uidriver/).
# Their checks join the win32 build's tests: ctest --test-dir build/win32.
add_subdirectory(${CMAKE_SOURCE_DIR}/demo ${CMAKE_BINARY_DIR}/demo)
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/uidriver ${CMAKE_BINARY_DIR}/tools/uidriver)
