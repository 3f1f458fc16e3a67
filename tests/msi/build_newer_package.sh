#!/usr/bin/env bash
# The demo package one version up, for the end-to-end upgrade rows: the
# program built again with its third number raised (build/win32-newer/, the
# executable alone), beside the newer demo package's files (its driver one
# release on, build/win32/package-newer/) in build/msi/newer-package/,
# packed into build/msi/newer/QLX957_Installer.msi; the same program over the
# demo package as it is, packed into build/msi/repackaged/. Windows Installer
# compares only the first three numbers of a version.
set -euo pipefail
cd "$(dirname "$0")/../.."

header=build/win32/generated/ProgramVersion.h
current="$(sed -n 's/^#define QLX_PROGRAM_VERSION "\(.*\)"$/\1/p' "$header" 2>/dev/null)" || true
[[ -n "$current" ]] || { echo "no $header: build the win32 preset first" >&2; exit 1; }
[[ -d build/win32/package-newer ]] ||
  { echo "no build/win32/package-newer/: build the win32 preset first" >&2; exit 1; }
IFS=. read -r major minor build revision <<<"$current"
newer="$major.$minor.$((build + 1)).$revision"

cmake -S . -B build/win32-newer -G Ninja --toolchain cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DQLX_VERSION="$newer" >/dev/null
cmake --build build/win32-newer --target QLX957_Installer >/dev/null

rm -rf build/msi/newer-package
cp -al build/win32/package-newer build/msi/newer-package
rm build/msi/newer-package/QLX957_Installer.exe  # a link to the build's own program
cp build/win32-newer/QLX957_Installer.exe build/msi/newer-package/
scripts/build-msi.sh build/msi/newer-package build/msi/newer/QLX957_Installer.msi

# A repackaged release: the newer program over the older package's driver
# files, the same driver in a newer package.
rm -rf build/msi/repackaged-package
cp -al build/win32/package build/msi/repackaged-package
rm build/msi/repackaged-package/QLX957_Installer.exe
cp build/win32-newer/QLX957_Installer.exe build/msi/repackaged-package/
scripts/build-msi.sh build/msi/repackaged-package build/msi/repackaged/QLX957_Installer.msi
