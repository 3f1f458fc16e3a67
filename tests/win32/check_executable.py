#!/usr/bin/python3
"""Checks that QLX957_Installer.exe is a stand-alone Windows 4.0 GUI program.

Whether each imported name exists on each Windows version is check_imports.py's job.

Usage: check_executable.py [path/to/QLX957_Installer.exe]
Reads the PE header and import tables with python3-pefile; prints one line per
check, then "N passed, M failed"; exits non-zero when a check fails.
"""

import os
import re
import sys

try:
    import pefile
except ImportError:  # a python3 ahead of Debian's on PATH (pyenv) lacks the package
    sys.path.append("/usr/lib/python3/dist-packages")
    import pefile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_EXE = os.path.join(REPO, "build", "win32", "QLX957_Installer.exe")

# DLLs that every Windows from 95 on ships and always takes from the system
# directory, so importing them cannot pick up a planted copy. No C runtime DLL:
# Windows 95 has none to offer, and on 9x and NT 4.0 msvcrt.dll is not a known DLL.
ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll"}
# Loaded at run time by full system path; an import would be searched for in the
# program's folder first.
RUNTIME_LOADED_DLLS = {"winspool.drv", "version.dll", "comctl32.dll"}
# Runtime, thread-library and API-set DLLs that a dynamic or newer tool chain drags in.
RUNTIME_DLL_PREFIXES = ("libgcc", "libstdc++", "libwinpthread", "pthread", "mingwm",
                        "api-ms-win-", "ext-ms-win-", "ucrtbase", "vcruntime", "msvcp")

IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMAGE_FILE_DLL = 0x2000


def dll_name(entry):
    return entry.dll.decode("ascii", "replace").lower()


def import_entries(pe):
    """(kind, dll name, entry) for the ordinary, delay-load and bound imports."""
    found = []
    for attr, kind in (("DIRECTORY_ENTRY_IMPORT", "import"),
                       ("DIRECTORY_ENTRY_DELAY_IMPORT", "delay import")):
        for entry in getattr(pe, attr, []):
            found.append((kind, dll_name(entry), entry))
    for entry in getattr(pe, "DIRECTORY_ENTRY_BOUND_IMPORT", []):
        name = entry.name.decode("ascii", "replace").lower() if entry.name else "?"
        found.append(("bound import", name, None))
    return found


def check_pe32_i686(pe, _imports):
    problems = []
    if pe.FILE_HEADER.Machine != IMAGE_FILE_MACHINE_I386:
        problems.append("machine 0x%x, expected i386 (0x14c)" % pe.FILE_HEADER.Machine)
    if pe.OPTIONAL_HEADER.Magic != PE32_MAGIC:
        problems.append("optional header magic 0x%x, expected PE32 (0x10b)"
                        % pe.OPTIONAL_HEADER.Magic)
    if pe.FILE_HEADER.Characteristics & IMAGE_FILE_DLL:
        problems.append("the image is a DLL")
    return problems


def check_gui_subsystem(pe, _imports):
    subsystem = pe.OPTIONAL_HEADER.Subsystem
    if subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
        return ["subsystem %d, expected Windows GUI (2)" % subsystem]
    return []


def check_windows4_header(pe, _imports):
    header = pe.OPTIONAL_HEADER
    problems = []
    for label, major, minor in (
            ("operating-system", header.MajorOperatingSystemVersion,
             header.MinorOperatingSystemVersion),
            ("subsystem", header.MajorSubsystemVersion, header.MinorSubsystemVersion)):
        if (major, minor) != (4, 0):
            problems.append("%s version %d.%d, expected 4.0" % (label, major, minor))
    # The Windows 9x loader maps sections page by page from 512-byte file blocks.
    if header.FileAlignment < 0x200:
        problems.append("file alignment 0x%x below 0x200" % header.FileAlignment)
    if header.SectionAlignment < 0x1000:
        problems.append("section alignment 0x%x below 0x1000" % header.SectionAlignment)
    return problems


def check_only_system_dlls(_pe, imports):
    names = {name for kind, name, _ in imports if kind == "import"}
    problems = ["imports %s, which is not one of %s" % (name, ", ".join(sorted(ALLOWED_DLLS)))
                for name in sorted(names - ALLOWED_DLLS)]
    if "kernel32.dll" not in names:
        problems.append("no KERNEL32.dll import: not a normal Win32 program")
    return problems


def check_runtime_loaded_dlls_not_imported(_pe, imports):
    return ["%s of %s: it must be loaded at run time from the system directory" % (kind, name)
            for kind, name, _ in imports if name in RUNTIME_LOADED_DLLS]


def check_no_runtime_or_thread_dlls(_pe, imports):
    return ["%s of %s: the program must stand alone" % (kind, name)
            for kind, name, _ in imports if name.startswith(RUNTIME_DLL_PREFIXES)]


def check_no_unicode_entry_points(_pe, imports):
    # Windows 9x exports most Unicode (W) functions only as stubs that fail; the
    # program is ANSI throughout, so one showing up came from a library.
    return ["%s imports %s, a stub that fails on Windows 9x" % (name, function.name.decode())
            for kind, name, entry in imports if entry is not None
            for function in entry.imports
            if function.name and re.search(rb"[a-z0-9]W$", function.name)]


def check_wow64_query_not_imported(_pe, imports):
    # Windows 95 to 2000 and the first XP lack it: an import would keep the
    # program from starting there.
    return ["%s imports IsWow64Process: it must be looked up at run time" % name
            for kind, name, entry in imports if entry is not None
            for function in entry.imports if function.name == b"IsWow64Process"]


# It is copied to tills by floppy disk and slow links as often as not. The
# bound catches what would swell it (a C runtime, the library's locale or
# exception machinery: hundreds of KB), not the program's own growth.
MAX_SIZE = 176 * 1024


def check_size(pe, _imports):
    size = len(pe.__data__)
    if size > MAX_SIZE:
        return ["%d bytes, more than %d (176 KB)" % (size, MAX_SIZE)]
    return []


CHECKS = [
    ("PE32 image for i686", check_pe32_i686),
    ("GUI subsystem", check_gui_subsystem),
    ("Windows 4.0 header", check_windows4_header),
    ("imports only system-directory DLLs", check_only_system_dlls),
    ("winspool/version/comctl32 not imported", check_runtime_loaded_dlls_not_imported),
    ("no runtime or thread DLLs", check_no_runtime_or_thread_dlls),
    ("no Unicode (W) entry points", check_no_unicode_entry_points),
    ("IsWow64Process not imported", check_wow64_query_not_imported),
    ("at most 176 KB", check_size),
]


def main(argv):
    path = argv[1] if len(argv) > 1 else DEFAULT_EXE
    if not os.path.isfile(path):
        print("FAIL: %s does not exist (build it with cmake --build --preset win32)" % path)
        print("0 passed, 1 failed")
        return 1
    try:
        pe = pefile.PE(path)
    except pefile.PEFormatError as error:
        print("FAIL: %s is not a PE image: %s" % (path, error))
        print("0 passed, 1 failed")
        return 1
    imports = import_entries(pe)
    passed = failed = 0
    for label, check in CHECKS:
        problems = check(pe, imports)
        if problems:
            failed += 1
            print("FAIL %s" % label)
            for problem in problems:
                print("    " + problem)
        else:
            passed += 1
            print("PASS %s" % label)
    print("imports: " + "; ".join(
        "%s (%d)" % (entry.dll.decode("ascii", "replace"), len(entry.imports))
        for kind, _, entry in imports if kind == "import"))
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
