#!/usr/bin/python3
"""Describes a driver package folder for wixl: the files of the package
(QLX957_Installer.exe, driver2k\\, driverNT\\, driver9x\\ and the uninstaller
files) as one component group, and the package's version and ProductCode.

usage: package_fragment.py PACKAGE_DIR FRAGMENT.wxs
Writes FRAGMENT.wxs, its sources named package/... (wixl takes no absolute
source paths: it runs where `package` leads to PACKAGE_DIR), and prints
"VERSION PRODUCT_CODE"; exits 1 with the reason on stderr when the folder is
not a complete package.

The version is the one in QLX957_Installer.exe's version record, so the
package states what it installs. The ProductCode is derived from its first
three numbers (a name-based UUID under the UpgradeCode), the ones Windows
Installer compares: packages that differ only in the fourth number share a
code, so one cannot be installed beside the other.
"""

import hashlib
import os
import sys
import uuid
from xml.sax.saxutils import quoteattr

UPGRADE_CODE = uuid.UUID("0798FA7B-41D6-45C8-B902-926AB079463E")  # as in QLX957_Installer.wxs
PROGRAM = "QLX957_Installer.exe"
REQUIRED = (PROGRAM, "driver2k", "driverNT", "driver9x", "QLX957_Uninstaller.exe",
            "Uninstall_2k.dll", "Uninstall_98.dll")


class PackageError(Exception):
    pass


def check_package(folder):
    if not os.path.isdir(folder):
        raise PackageError(f"{folder} is not a folder")
    missing = [name for name in REQUIRED if not os.path.exists(os.path.join(folder, name))]
    if missing:
        raise PackageError(f"{folder} is not a complete driver package: it lacks "
                           f"{', '.join(missing)} (QLX957_Installer.exe comes from "
                           f"build/win32/ of the win32 build)")


def program_version(path):
    """The file version of the version record as "a.b.c.d"."""
    try:
        import pefile
    except ImportError:  # a python3 ahead of Debian's on PATH (pyenv) lacks the package
        sys.path.append("/usr/lib/python3/dist-packages")
        import pefile
    try:
        pe = pefile.PE(path, fast_load=True)
        pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        fixed = pe.VS_FIXEDFILEINFO[0]
    except (OSError, pefile.PEFormatError, AttributeError, IndexError) as error:
        raise PackageError(f"{path}: no version record ({error})") from error
    numbers = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
               fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
    # Windows Installer's limits for ProductVersion.
    if numbers[0] > 255 or numbers[1] > 255:
        raise PackageError(f"{path}: version {'.'.join(map(str, numbers))} is beyond what "
                           f"Windows Installer takes (255.255.65535)")
    return ".".join(map(str, numbers))


def product_code(version):
    """Also what the end-to-end rows look the package's registration up by.
    `version`: "a.b.c.d"; the fourth number is left out."""
    return str(uuid.uuid5(UPGRADE_CODE, ".".join(version.split(".")[:3]))).upper()


def identifier(prefix, relative):
    """A stable table key for a path; the program's file gets a readable one."""
    if relative == PROGRAM:
        return "InstallerExe"
    return prefix + hashlib.sha1(relative.encode("utf-8")).hexdigest()[:20].upper()


def fragment(folder):
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">', "  <Fragment>"]
    components = []

    def walk(relative_dir, depth):
        absolute = os.path.join(folder, relative_dir)
        indent = "  " * depth
        for name in sorted(os.listdir(absolute), key=str.lower):
            relative = os.path.join(relative_dir, name) if relative_dir else name
            path = os.path.join(folder, relative)
            source = "package/" + relative.replace(os.sep, "/")
            if os.path.isdir(path):
                lines.append(f"{indent}<Directory Id={quoteattr(identifier('d', relative))} "
                             f"Name={quoteattr(name)}>")
                walk(relative, depth + 1)
                lines.append(f"{indent}</Directory>")
            elif os.path.isfile(path):
                component = identifier("c", relative)
                components.append(component)
                lines.append(f'{indent}<Component Id={quoteattr(component)} Guid="*">')
                lines.append(f"{indent}  <File Id={quoteattr(identifier('f', relative))} "
                             f"Name={quoteattr(name)} Source={quoteattr(source)} KeyPath=\"yes\"/>")
                lines.append(f"{indent}</Component>")

    lines.append('    <DirectoryRef Id="INSTALLDIR">')
    walk("", 3)
    lines.append("    </DirectoryRef>")
    lines.append('    <ComponentGroup Id="PackageFiles">')
    lines += [f"      <ComponentRef Id={quoteattr(c)}/>" for c in components]
    lines += ["    </ComponentGroup>", "  </Fragment>", "</Wix>", ""]
    return "\n".join(lines)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[4], file=sys.stderr)
        return 2
    folder, out = os.path.abspath(argv[1]), argv[2]
    try:
        check_package(folder)
        version = program_version(os.path.join(folder, PROGRAM))
    except PackageError as error:
        print(f"build-msi: {error}", file=sys.stderr)
        return 1
    with open(out, "w", encoding="utf-8") as file:
        file.write(fragment(folder))
    print(version, product_code(version))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
