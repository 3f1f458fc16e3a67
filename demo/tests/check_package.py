#!/usr/bin/python3
"""Checks the demo driver package that the win32 build lays out beside the installer.

Usage: check_package.py [BUILD_DIR] [--unidrv-version V] [--variants V1;V2;...]
                        [--newer-version V]
BUILD_DIR defaults to build/win32. Reads every binary with python3-pefile;
prints one line per check, then "N passed, M failed"; exits non-zero when a
check fails.
"""

import argparse
import filecmp
import os
import sys

try:
    import pefile
except ImportError:  # a python3 ahead of Debian's on PATH lacks the package
    sys.path.append("/usr/lib/python3/dist-packages")
    import pefile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Every file the three install procedures and the uninstall registration copy,
# with the exact spelling the installer uses.
LAYOUT = {
    "driver2k": ["QLMON957.DLL", "QLPRO957.DLL", "UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP",
                 "UNIRES.DLL", "QLX957E.DLL", "QLUI957.DLL", "QLUI957.INI", "QLX957E.GPD",
                 "STDNAMES.GPD"],
    "driverNT": ["QLMON957.DLL", "QLPRO957.DLL", "RASDD.DLL", "RASDDUI.DLL", "RASDDUI.HLP",
                 "QLX957E.DLL", "QLUI957.DLL"],
    "driver9x": ["QLMON957.DLL", "usbmon.dll", "QLPRO957.DLL", "dmcolor.dll", "iconlib.dll",
                 "vantrix.dll", "QLX957E.DRV", "merlowe.dll", "unidrv.dll", "unidrv.hlp"],
    ".": ["QLX957_Uninstaller.exe", "Uninstall_2k.dll", "Uninstall_98.dll",
          "QLX957_Installer.exe"],
}
TEXT_SUFFIXES = (".HLP", ".INI", ".GPD")

# What the spooler looks for in the files it loads (Wine 8.0 loads each of
# them into the installer's process).
MONITOR_EXPORTS = ["InitializePrintMonitor2"]
INTERFACE_EXPORTS = ["DrvDocumentPropertySheets", "DrvDriverEvent"]
PROCESSOR_EXPORTS = ["EnumPrintProcessorDatatypesW", "OpenPrintProcessor",
                     "PrintDocumentOnPrintProcessor", "ClosePrintProcessor",
                     "ControlPrintProcessor"]
REQUIRED_EXPORTS = {
    **{(folder, "QLMON957.DLL"): MONITOR_EXPORTS for folder in ("driver2k", "driverNT", "driver9x")},
    ("driver9x", "usbmon.dll"): MONITOR_EXPORTS,
    **{(folder, "QLPRO957.DLL"): PROCESSOR_EXPORTS
       for folder in ("driver2k", "driverNT", "driver9x")},
    # The configuration file of each family's driver record, and the other
    # interface libraries.
    ("driver2k", "UNIDRVUI.DLL"): INTERFACE_EXPORTS,
    ("driverNT", "QLUI957.DLL"): INTERFACE_EXPORTS,
    ("driver9x", "QLX957E.DRV"): INTERFACE_EXPORTS,
    ("driver2k", "QLUI957.DLL"): INTERFACE_EXPORTS,
    ("driverNT", "RASDDUI.DLL"): INTERFACE_EXPORTS,
}

# A DLL outside this set (libgcc, libstdc++, winpthread) is not found in a
# prefix, so the spooler's LoadLibrary would fail with 126.
ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}
IMAGE_FILE_MACHINE_I386 = 0x14C
IMAGE_FILE_DLL = 0x2000


def version_numbers(text):
    parts = [int(part) for part in text.split(".")]
    return tuple(parts + [0] * (4 - len(parts)))


def fixed_version(pe):
    """(major, minor, build, revision) of the version record, or None."""
    infos = getattr(pe, "VS_FIXEDFILEINFO", None)
    if not infos:
        return None
    info = infos[0]
    return (info.FileVersionMS >> 16, info.FileVersionMS & 0xFFFF,
            info.FileVersionLS >> 16, info.FileVersionLS & 0xFFFF)


class Package:
    def __init__(self, build_dir):
        self.build_dir = build_dir
        self.root = os.path.join(build_dir, "package")
        self._images = {}

    def path(self, folder, name):
        return os.path.normpath(os.path.join(self.root, folder, name))

    def image(self, path):
        if path not in self._images:
            self._images[path] = pefile.PE(path)
        return self._images[path]

    def binaries(self):
        for folder, names in LAYOUT.items():
            for name in names:
                if not name.upper().endswith(TEXT_SUFFIXES):
                    yield folder, name


def check_layout(package, _args):
    problems = []
    for folder, names in LAYOUT.items():
        directory = os.path.join(package.root, folder)
        present = set(os.listdir(directory)) if os.path.isdir(directory) else set()
        for name in names:
            if name not in present:
                close = [p for p in present if p.lower() == name.lower()]
                problems.append("%s/%s missing%s" % (folder, name,
                                                     " (found %s)" % close[0] if close else ""))
        if folder != ".":
            problems += ["%s/%s is not part of the package" % (folder, extra)
                         for extra in sorted(present - set(names))]
    return problems


def check_text_files(package, _args):
    problems = []
    for folder, names in LAYOUT.items():
        for name in names:
            if not name.upper().endswith(TEXT_SUFFIXES):
                continue
            path = package.path(folder, name)
            if not os.path.isfile(path):
                continue  # reported by the layout check
            data = open(path, "rb").read()
            if not data or any(byte > 0x7E and byte not in (0x0D, 0x0A) for byte in data):
                problems.append("%s/%s is empty or not plain ASCII text" % (folder, name))
    return problems


def check_binaries_load(package, _args):
    problems = []
    for folder, name in package.binaries():
        path = package.path(folder, name)
        if not os.path.isfile(path):
            continue
        try:
            pe = package.image(path)
        except pefile.PEFormatError as error:
            problems.append("%s/%s is not a PE image: %s" % (folder, name, error))
            continue
        is_dll = bool(pe.FILE_HEADER.Characteristics & IMAGE_FILE_DLL)
        if pe.FILE_HEADER.Machine != IMAGE_FILE_MACHINE_I386:
            problems.append("%s/%s is not an i386 image" % (folder, name))
        if is_dll == name.lower().endswith(".exe"):
            problems.append("%s/%s: DLL flag %s does not fit its name" % (folder, name, is_dll))
        for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
            dll = entry.dll.decode("ascii", "replace").lower()
            if dll not in ALLOWED_IMPORTS:
                problems.append("%s/%s imports %s, which a prefix does not have"
                                % (folder, name, dll))
    return problems


def check_entry_points(package, _args):
    problems = []
    for (folder, name), wanted in sorted(REQUIRED_EXPORTS.items()):
        path = package.path(folder, name)
        if not os.path.isfile(path):
            continue
        pe = package.image(path)
        exports = {symbol.name.decode("ascii") for symbol in
                   getattr(getattr(pe, "DIRECTORY_ENTRY_EXPORT", None), "symbols", [])
                   if symbol.name}
        for function in wanted:
            if function not in exports:
                decorated = [e for e in exports if e.startswith(function + "@")]
                problems.append("%s/%s does not export %s%s" % (
                    folder, name, function,
                    " (only the decorated %s)" % decorated[0] if decorated else ""))
    return problems


def check_unidrv_versions(package, args):
    problems = []
    expected = version_numbers(args.unidrv_version)
    path = package.path("driver9x", "unidrv.dll")
    if os.path.isfile(path):
        found = fixed_version(package.image(path))
        if found != expected:
            problems.append("driver9x/unidrv.dll has version %s, expected %s" % (found, expected))
    for variant in filter(None, args.variants.split(";")):
        directory = os.path.join(package.build_dir, "package-variants", "unidrv-" + variant)
        dll = os.path.join(directory, "unidrv.dll")
        hlp = os.path.join(directory, "unidrv.hlp")
        if not os.path.isfile(dll) or not os.path.isfile(hlp):
            problems.append("unidrv-%s: unidrv.dll or unidrv.hlp missing" % variant)
            continue
        found = fixed_version(package.image(dll))
        wanted = None if variant == "none" else version_numbers(variant)
        if found != wanted:
            problems.append("unidrv-%s/unidrv.dll has version %s, expected %s"
                            % (variant, found, wanted))
        if ("unidrv-%s" % variant).encode() not in open(hlp, "rb").read():
            problems.append("unidrv-%s/unidrv.hlp does not name its variant" % variant)
    return problems


# The product's own files, which the newer package (package-newer/) carries
# one release on; every other file it has as the demo package has it.
PRODUCT_FILES = {
    *((folder, name) for folder in ("driver2k", "driverNT", "driver9x")
      for name in ("QLMON957.DLL", "QLPRO957.DLL")),
    ("driver2k", "QLX957E.DLL"), ("driver2k", "QLUI957.DLL"),
    ("driverNT", "QLX957E.DLL"), ("driverNT", "QLUI957.DLL"),
    ("driver9x", "QLX957E.DRV"), ("driver9x", "vantrix.dll"), ("driver9x", "merlowe.dll"),
    (".", "QLX957_Uninstaller.exe"), (".", "Uninstall_2k.dll"), (".", "Uninstall_98.dll"),
}


def check_newer_package(package, args):
    newer = os.path.join(package.build_dir, "package-newer")
    wanted = version_numbers(args.newer_version)
    problems = []
    for folder, names in LAYOUT.items():
        for name in names:
            old, new = package.path(folder, name), os.path.normpath(os.path.join(newer, folder, name))
            if not os.path.isfile(new):
                problems.append("package-newer/%s/%s missing" % (folder, name))
            elif not os.path.isfile(old):
                continue  # reported by the layout check
            elif (folder, name) in PRODUCT_FILES:
                found = fixed_version(package.image(new))
                if found != wanted:
                    problems.append("package-newer/%s/%s has version %s, expected %s"
                                    % (folder, name, found, wanted))
            elif not filecmp.cmp(old, new, shallow=False):
                problems.append("package-newer/%s/%s differs from the demo package's"
                                % (folder, name))
    return problems


def check_installer_copy(package, _args):
    built = os.path.join(package.build_dir, "QLX957_Installer.exe")
    copy = package.path(".", "QLX957_Installer.exe")
    if not os.path.isfile(built) or not os.path.isfile(copy):
        return ["the installer or its copy in the package is missing"]
    if not filecmp.cmp(built, copy, shallow=False):
        return ["package/QLX957_Installer.exe differs from the one just built"]
    return []


CHECKS = [
    ("every file in place under its exact name", check_layout),
    ("help, settings and model files are plain text", check_text_files),
    ("binaries are i386 images that import only system DLLs", check_binaries_load),
    ("monitors, processors and interface DLLs export their entry points", check_entry_points),
    ("unidrv.dll versions of the package and its variants", check_unidrv_versions),
    ("the installer beside the package is the one just built", check_installer_copy),
    ("the newer package: the product's files one release on, the rest the same",
     check_newer_package),
]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir", nargs="?", default=os.path.join(REPO, "build", "win32"))
    parser.add_argument("--unidrv-version", default="4.0.2.5")
    parser.add_argument("--variants", default="1.0;9.0;4.0.0.1;none")
    parser.add_argument("--newer-version", default="3.1.2.0")
    args = parser.parse_args(argv[1:])
    package = Package(args.build_dir)
    if not os.path.isdir(package.root):
        print("FAIL: %s does not exist (build with cmake --build --preset win32)" % package.root)
        print("0 passed, 1 failed")
        return 1
    passed = failed = 0
    for label, check in CHECKS:
        problems = check(package, args)
        if problems:
            failed += 1
            print("FAIL " + label)
            for problem in problems:
                print("    " + problem)
        else:
            passed += 1
            print("PASS " + label)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
