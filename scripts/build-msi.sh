#!/usr/bin/env bash
# Builds the Windows Installer package for Group Policy and deployment tools:
# QLX957_Installer.exe and its driver package in a folder under Program
# Files, the driver installed and removed by the program through the custom
# actions of build/win32/msi/QlxMsiActions.dll.
#
# usage: scripts/build-msi.sh [PACKAGE_DIR] [OUT.msi]
#   PACKAGE_DIR  a driver package with QLX957_Installer.exe beside driver2k\,
#                driverNT\, driver9x\ and the uninstaller files
#                (default: the demo package, build/win32/package/)
#   OUT.msi      default: build/msi/QLX957_Installer.msi
# The package's version is that of the QLX957_Installer.exe it carries.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"

if (($# > 2)) || [[ "${1:-}" == -h || "${1:-}" == --help ]]; then
  sed -n '5,11p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
for tool in wixl msibuild cmake; do
  command -v "$tool" >/dev/null ||
    { echo "build-msi: $tool is missing (scripts/setup-build-tools.sh installs it)" >&2; exit 1; }
done

# The custom actions, and the demo package when none is given, come from the
# win32 build.
targets=(qlx_msi_actions)
[[ -n "${1:-}" ]] || targets+=(qlx_demo_package)
(cd "$repo" &&
  { [[ -f build/win32/build.ninja ]] || cmake --preset win32 >/dev/null; } &&
  cmake --build --preset win32 --target "${targets[@]}" >/dev/null) ||
  { echo "build-msi: the win32 build failed (cmake --build --preset win32 says why)" >&2; exit 1; }

package="$(cd "${1:-$repo/build/win32/package}" 2>/dev/null && pwd)" ||
  { echo "build-msi: ${1:-$repo/build/win32/package} is not a folder" >&2; exit 1; }
out="${2:-$repo/build/msi/QLX957_Installer.msi}"
mkdir -p "$(dirname "$out")"

out="$(cd "$(dirname "$out")" && pwd)/$(basename "$out")"

# wixl reads sources only by relative paths: it runs in a folder of links.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ln -s "$package" "$work/package"
ln -s "$repo/build/win32/msi/QlxMsiActions.dll" "$work/QlxMsiActions.dll"
cp "$repo/msi/QLX957_Installer.wxs" "$work/"
read -r version product_code < <(/usr/bin/python3 "$repo/msi/package_fragment.py" \
  "$package" "$work/files.wxs") || true
[[ -n "${product_code:-}" ]] || exit 1

(cd "$work" && wixl --arch x86 -D "Version=$version" -D "ProductCode=$product_code" \
  -D ActionsDll=QlxMsiActions.dll -o package.msi QLX957_Installer.wxs files.wxs)
# What wixl cannot write, set in its tables; the package replaces an earlier
# one only once complete.
while IFS= read -r statement; do
  [[ -z "$statement" || "$statement" == --* ]] && continue
  msibuild "$work/package.msi" -q "$statement" ||
    { echo "build-msi: msibuild refused: $statement" >&2; exit 1; }
done <"$repo/msi/QLX957_Installer.sql"
mv "$work/package.msi" "$out"
echo "$out: version $version, ProductCode {$product_code}, from $package"
