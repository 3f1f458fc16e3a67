# QLX957_Installer.exe: the portable core with the Win32 adapters, the
# Win32 dialogs and the resources, linked into one stand-alone program.
enable_language(RC)

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
