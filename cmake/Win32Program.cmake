# QLX957_Installer.exe: the portable core with the Win32 adapters, the
# Win32 dialogs and the resources, linked into one stand-alone program.
enable_language(RC)

# Only the DLLs that Windows always takes from the system directory may be
# imported; CMake's default list also offers winspool, which would let a direct
# call slip in as an import. The spooler, version and comctl32 calls go through
# platform/win32/SystemLibrary instead, so a direct call fails to link.
set(QLX_WIN32_IMPORT_LIBRARIES "-lkernel32 -luser32 -lgdi32 -ladvapi32")
set(CMAKE_C_STANDARD_LIBRARIES "${QLX_WIN32_IMPORT_LIBRARIES}")
set(CMAKE_CXX_STANDARD_LIBRARIES "${QLX_WIN32_IMPORT_LIBRARIES}")

file(GLOB QLX_WIN32_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp
  ${CMAKE_SOURCE_DIR}/app/win32/*.cpp
  ${CMAKE_SOURCE_DIR}/res/*.rc)

add_executable(QLX957_Installer WIN32 ${QLX_WIN32_SOURCES})
target_link_libraries(QLX957_Installer PRIVATE qlx_core)
target_include_directories(QLX957_Installer PRIVATE ${CMAKE_SOURCE_DIR})
set_target_properties(QLX957_Installer PROPERTIES
  OUTPUT_NAME QLX957_Installer
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_compile_definitions(QLX957_Installer PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0400 WINVER=0x0400)
target_compile_options(QLX957_Installer PRIVATE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wconversion -Wno-sign-conversion>)

# Stand-alone: libgcc and libstdc++ linked in, GUI subsystem, and a PE header
# asking for no more than Windows 4.0 so that Windows 95 and NT 4.0 load it.
target_link_options(QLX957_Installer PRIVATE
  -static -static-libgcc -static-libstdc++ -mwindows -s
  -Wl,--major-os-version,4,--minor-os-version,0
  -Wl,--major-subsystem-version,4,--minor-subsystem-version,0)

# The executable's own checks: header, imports, no runtime DLLs.
enable_testing()
find_program(QLX_PYTHON3 python3 REQUIRED)
add_test(NAME win32_executable
  COMMAND ${QLX_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/win32/check_executable.py
          $<TARGET_FILE:QLX957_Installer>)
include(${CMAKE_SOURCE_DIR}/cmake/DemoPackage.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/TestTools.cmake)
