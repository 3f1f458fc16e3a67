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
  ${CMAKE_SOURCE_DIR}/runtime/win32/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp
  ${CMAKE_SOURCE_DIR}/app/win32/*.cpp
  ${CMAKE_SOURCE_DIR}/res/*.rc)

add_executable(QLX957_Installer WIN32 ${QLX_WIN32_SOURCES})
# windres reads these files itself; the build does not see them otherwise.
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/QLX957_Installer.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_BINARY_DIR}/generated/QLX957_Installer.manifest;${CMAKE_SOURCE_DIR}/res/qlx957.ico;${CMAKE_SOURCE_DIR}/res/banner.bmp")
target_link_libraries(QLX957_Installer PRIVATE qlx_core)
target_include_directories(QLX957_Installer PRIVATE ${CMAKE_SOURCE_DIR})
set_target_properties(QLX957_Installer PROPERTIES
  OUTPUT_NAME QLX957_Installer
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_compile_definitions(QLX957_Installer PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0400 WINVER=0x0400)
target_compile_options(QLX957_Installer PRIVATE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wconversion -Wno-sign-conversion>)

# No C runtime DLL: Windows 95 ships none that a program may rely on, and on
# the 9x family and NT 4.0 a copy planted beside the program would be loaded.
# The program brings its own small runtime (runtime/win32/), so exceptions,
# RTTI and the thread-safe static guards, which need the library's runtime,
# are off for everything linked in.
# Without exceptions nothing unwinds, so no unwind tables either.
set(QLX_WIN32_CXX_OPTIONS -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -fno-asynchronous-unwind-tables -fno-unwind-tables -ffunction-sections -fdata-sections)
target_compile_options(QLX957_Installer PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QLX_WIN32_CXX_OPTIONS}>)
target_compile_options(qlx_core PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QLX_WIN32_CXX_OPTIONS}>)
# The memory functions themselves must stay loops, not calls to memcpy.
set_source_files_properties(${CMAKE_SOURCE_DIR}/runtime/win32/CFunctions.cpp PROPERTIES
  COMPILE_OPTIONS "-fno-tree-loop-distribute-patterns;-fno-builtin")

# Nothing from the tool chain's C or C++ library: a call to a C function that
# runtime/win32/ does not provide fails to link (std::string's out-of-line
# members are instantiated in runtime/win32/StringInstances.cpp). libgcc
# supplies only the helpers the compiler calls: today the 64-bit division of
# _divdi3, _udivdi3 and _udivmoddi4, whose code in Debian 12's and 13's
# libgcc is plain 80386 code although the library is built for the i686;
# the processor check below holds every tool chain to that. GUI subsystem,
# and a PE header asking for no more than Windows 4.0 so that Windows 95 and
# NT 4.0 load it.
target_link_libraries(QLX957_Installer PRIVATE gcc)
target_link_options(QLX957_Installer PRIVATE
  -nostdlib -static -s -Wl,-e,_programEntry -Wl,--gc-sections
  -Wl,-Map=${CMAKE_BINARY_DIR}/QLX957_Installer.map
  -Wl,--subsystem,windows
  -Wl,--major-os-version,4,--minor-os-version,0
  -Wl,--major-subsystem-version,4,--minor-subsystem-version,0)

# The executable's own checks: header, imports, no runtime DLLs.
enable_testing()
find_program(QLX_PYTHON3 python3 REQUIRED)
add_test(NAME win32_executable
  COMMAND ${QLX_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/win32/check_executable.py
          $<TARGET_FILE:QLX957_Installer>)

# No instruction newer than the 80386 (cmake/mingw-i686.cmake), the libgcc
# helpers linked in included. The map locates the data the linker puts in .text.
add_test(NAME win32_processor_80386
  COMMAND ${QLX_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/win32/check_processor.py
          $<TARGET_FILE:QLX957_Installer> --map ${CMAKE_BINARY_DIR}/QLX957_Installer.map
          --objdump ${CMAKE_OBJDUMP})

# Every import, and every name resolved at run time, against the export lists
# of each Windows version the program must start on.
set(QLX_WIN_EXPORTS ${CMAKE_SOURCE_DIR}/tests/win32/exports)
add_test(NAME win32_imports_every_version
  COMMAND ${QLX_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/win32/check_imports.py
          $<TARGET_FILE:QLX957_Installer> --exports ${QLX_WIN_EXPORTS}
          --runtime-list ${CMAKE_SOURCE_DIR}/platform/win32/ResolvedAtRunTime.txt
          --sources ${CMAKE_SOURCE_DIR}/platform/win32 ${CMAKE_SOURCE_DIR}/app/win32
                    ${CMAKE_SOURCE_DIR}/runtime/win32)

# The check itself: two programs it must refuse, and its rules on made-up lists.
add_executable(import_fixture_newer_kernel_call ${CMAKE_SOURCE_DIR}/tests/win32/fixtures/NewerKernelCall.cpp)
target_link_options(import_fixture_newer_kernel_call PRIVATE
  -nostdlib -Wl,-e,_fixtureEntry -Wl,--subsystem,windows
  -Wl,--major-os-version,4,--minor-os-version,0
  -Wl,--major-subsystem-version,4,--minor-subsystem-version,0)
add_executable(import_fixture_c_runtime_call ${CMAKE_SOURCE_DIR}/tests/win32/fixtures/CRuntimeCall.cpp)
set_target_properties(import_fixture_newer_kernel_call import_fixture_c_runtime_call PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures)
add_test(NAME win32_import_check_rules
  COMMAND ${QLX_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/win32/test_check_imports.py
          --exports ${QLX_WIN_EXPORTS}
          --newer-kernel-call $<TARGET_FILE:import_fixture_newer_kernel_call>
          --c-runtime-call $<TARGET_FILE:import_fixture_c_runtime_call>)
include(${CMAKE_SOURCE_DIR}/cmake/DemoPackage.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/TestTools.cmake)

# The processor check itself: one small program built for the Pentium Pro,
# which it must refuse naming CMOV, and for the 386, which it must pass.
foreach(arch pentiumpro i386)
  set(fixture processor_fixture_${arch})
  add_executable(${fixture} ${CMAKE_SOURCE_DIR}/tests/win32/fixtures/LargerOfTwo.cpp)
  target_compile_options(${fixture} PRIVATE -O2 -march=${arch})
  target_link_options(${fixture} PRIVATE -nostdlib -Wl,-e,_fixtureEntry
    -Wl,-Map=${CMAKE_BINARY_DIR}/fixtures/${fixture}.map)
  set_target_properties(${fixture} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures)
endforeach()
add_test(NAME win32_processor_check_rules
  COMMAND ${QLX_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/win32/test_check_processor.py
          --objdump ${CMAKE_OBJDUMP}
          --pentiumpro $<TARGET_FILE:processor_fixture_pentiumpro>
          --i386 $<TARGET_FILE:processor_fixture_i386>)
include(${CMAKE_SOURCE_DIR}/cmake/MsiPackage.cmake)
