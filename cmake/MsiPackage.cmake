# The Windows Installer package's custom-action DLL; scripts/build-msi.sh
# builds the package itself with wixl.
add_subdirectory(${CMAKE_SOURCE_DIR}/msi ${CMAKE_BINARY_DIR}/msi)
