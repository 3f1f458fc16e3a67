#!/usr/bin/python3
"""Checks a program's imports against the export lists of every Windows version it must start on.

Usage: check_imports.py EXE [--exports DIR] [--runtime-list FILE] [--sources DIR ...]

EXE's import table (read with python3-pefile) and the names it resolves at run
time with GetProcAddress (RUNTIME-LIST) are looked up in DIR/<version>/<dll>.txt
(default: tests/win32/exports of this repository). Prints one line per version
and DLL, then "N passed, M failed"; exits non-zero when anything fails:

- a statically imported DLL that a version does not ship (ABSENT), a name it
  does not export, a name on a PARTIAL list that the list cannot confirm, an
  import by ordinal;
- a PE header asking for an operating-system or subsystem version above 4.0;
- a name resolved at run time that a version lacks, unless the list marks it
  `fallback` (the code copes without it) or confirms it for that version;
- with --sources, a name the code resolves at run time that the list does not
  hold, or a listed name the code no longer resolves.
"""

import argparse
import os
import re
import sys

try:
    import pefile
except ImportError:  # a python3 ahead of Debian's on PATH (pyenv) lacks the package
    sys.path.append("/usr/lib/python3/dist-packages")
    import pefile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_EXPORTS = os.path.join(REPO, "tests", "win32", "exports")
DEFAULT_RUNTIME_LIST = os.path.join(REPO, "platform", "win32", "ResolvedAtRunTime.txt")
VERSIONS = ("win95", "win98", "winme", "nt40", "nt40sp6a", "win2000", "winxp", "ws2003")
HIGHEST_HEADER_VERSION = (4, 0)


class ExportList:
    """One DLL's exports on one version: complete, PARTIAL, or ABSENT."""

    def __init__(self, path):
        self.path = path
        self.names = set()
        self.known_absent = set()
        self.absent = self.partial = False
        with open(path, encoding="utf-8") as lines:
            first = lines.readline()
            if not first.startswith("# source:"):
                raise ValueError("%s: the first line must start with '# source:'" % path)
            kind = first[len("# source:"):].split()
            self.absent = bool(kind) and kind[0] == "ABSENT"
            self.partial = bool(kind) and kind[0] == "PARTIAL"
            for line in lines:
                line = line.strip()
                if not line or line.startswith("#"):
                    continue
                if line.startswith("!"):
                    self.known_absent.add(line[1:])
                else:
                    self.names.add(line)

    def verdict(self, name):
        """'exported', 'absent' (known not exported) or 'unconfirmed' (partial list)."""
        if self.absent or name in self.known_absent:
            return "absent"
        if name in self.names:
            return "exported"
        return "unconfirmed" if self.partial else "absent"


class Exports:
    def __init__(self, directory):
        self.directory = directory
        self._lists = {}

    def get(self, version, dll):
        """The list for `dll` on `version`, or None when there is no file for it."""
        key = (version, dll.lower())
        if key not in self._lists:
            path = os.path.join(self.directory, version, dll.lower() + ".txt")
            self._lists[key] = ExportList(path) if os.path.isfile(path) else None
        return self._lists[key]


class RuntimeName:
    def __init__(self, dll, name, fallback, confirmed, note):
        self.dll, self.name, self.fallback = dll.lower(), name, fallback
        self.confirmed = confirmed  # versions whose partial list the note confirms
        self.note = note


def read_runtime_list(path):
    """Lines `dll name [fallback] [confirm=v1,v2] [# note]`."""
    entries = []
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            text, _, note = line.partition("#")
            fields = text.split()
            if not fields:
                continue
            if len(fields) < 2:
                raise ValueError("%s:%d: expected 'dll name [flags]'" % (path, number))
            fallback, confirmed = False, set()
            for flag in fields[2:]:
                if flag == "fallback":
                    fallback = True
                elif flag.startswith("confirm="):
                    confirmed = set(flag[len("confirm="):].split(","))
                    unknown = confirmed - set(VERSIONS)
                    if unknown:
                        raise ValueError("%s:%d: unknown version %s"
                                         % (path, number, ", ".join(sorted(unknown))))
                else:
                    raise ValueError("%s:%d: unknown flag %s" % (path, number, flag))
            if confirmed and not note.strip():
                raise ValueError("%s:%d: a confirmation needs its source after '#'"
                                 % (path, number))
            entries.append(RuntimeName(fields[0], fields[1], fallback, confirmed, note.strip()))
    return entries


# The ways the code resolves a name at run time (platform/win32/SystemLibrary.h).
RESOLVING_PATTERNS = (
    re.compile(r'SystemEntry<.*?>\s*\w+\s*\{\s*\w+\s*,\s*"(\w+)"\s*\}', re.S),
    re.compile(r'findExport<.*?>\s*\([^;]*?,\s*"(\w+)"\s*\)', re.S),
    re.compile(r'GetProcAddress\s*\([^;]*?,\s*"(\w+)"\s*\)', re.S),
)


def names_resolved_in_sources(directories):
    found = {}
    for directory in directories:
        for root, _, files in os.walk(directory):
            for file in sorted(files):
                if not file.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(root, file)
                with open(path, encoding="utf-8") as source:
                    text = source.read()
                for pattern in RESOLVING_PATTERNS:
                    for match in pattern.finditer(text):
                        found.setdefault(match.group(1), path)
    return found


def static_imports(pe):
    """{dll: [name, or "#N" for ordinal N]} of the import and delay-import tables."""
    imports = {}
    for attr in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        for entry in getattr(pe, attr, []):
            names = imports.setdefault(entry.dll.decode("ascii", "replace"), [])
            names.extend("#%d" % item.ordinal if item.name is None
                         else item.name.decode("ascii", "replace") for item in entry.imports)
    return imports


class Report:
    def __init__(self):
        self.passed = self.failed = 0

    def line(self, ok, text, details=()):
        print("%s %s" % ("PASS" if ok else "FAIL", text))
        for detail in details:
            print("    " + detail)
        if ok:
            self.passed += 1
        else:
            self.failed += 1


def check_header(pe, report):
    header = pe.OPTIONAL_HEADER
    for label, version in (
            ("operating-system", (header.MajorOperatingSystemVersion,
                                  header.MinorOperatingSystemVersion)),
            ("subsystem", (header.MajorSubsystemVersion, header.MinorSubsystemVersion))):
        report.line(version <= HIGHEST_HEADER_VERSION,
                    "PE header %s version %d.%d (at most %d.%d)"
                    % ((label,) + version + HIGHEST_HEADER_VERSION))


def check_static(imports, exports, report, versions=VERSIONS):
    for version in versions:
        for dll in sorted(imports, key=str.lower):
            names = imports[dll]
            problems = ["%s imported by ordinal: ordinals differ between releases" % name
                        for name in names if name.startswith("#")]
            listing = exports.get(version, dll)
            if listing is None:
                problems.append("no export list %s" % os.path.join(version, dll.lower() + ".txt"))
            elif listing.absent:
                problems.append("%s does not ship %s: the loader refuses the program" % (version, dll))
            else:
                for name in sorted(n for n in names if not n.startswith("#")):
                    verdict = listing.verdict(name)
                    if verdict == "absent":
                        problems.append("%s is not exported" % name)
                    elif verdict == "unconfirmed":
                        problems.append("%s is not confirmed by the partial list" % name)
            report.line(not problems, "%-8s %s: %d imported" % (version, dll, len(names)), problems)


def check_runtime(entries, exports, report):
    by_dll = {}
    for entry in entries:
        by_dll.setdefault(entry.dll, []).append(entry)
    for version in VERSIONS:
        for dll in sorted(by_dll):
            problems, notes = [], []
            listing = exports.get(version, dll)
            if listing is None:
                problems.append("no export list %s" % os.path.join(version, dll + ".txt"))
            for entry in by_dll[dll] if listing is not None else []:
                verdict = listing.verdict(entry.name)
                if verdict == "exported":
                    continue
                if entry.fallback:
                    notes.append("%s %s: the code falls back" % (entry.name, verdict))
                elif (verdict == "unconfirmed" and version in entry.confirmed):
                    notes.append("%s confirmed by: %s" % (entry.name, entry.note))
                else:
                    problems.append("%s is %s and the code has no fallback"
                                    % (entry.name, "not exported" if verdict == "absent"
                                       else "not confirmed by the partial list"))
            report.line(not problems, "%-8s %s (run time): %d resolved"
                        % (version, dll, len(by_dll[dll])), problems + notes)


def check_list_matches_sources(entries, directories, report):
    in_code = names_resolved_in_sources(directories)
    listed = {entry.name for entry in entries}
    problems = ["%s is resolved in %s but not listed" % (name, os.path.relpath(path, REPO))
                for name, path in sorted(in_code.items()) if name not in listed]
    problems += ["%s is listed but resolved nowhere" % name for name in sorted(listed - set(in_code))]
    report.line(not problems, "the run-time list holds every name the code resolves (%d)"
                % len(in_code), problems)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("exe")
    parser.add_argument("--exports", default=DEFAULT_EXPORTS)
    parser.add_argument("--runtime-list", default=None)
    parser.add_argument("--sources", nargs="*", default=[])
    parser.add_argument("--versions", default=",".join(VERSIONS),
                        help="only these, comma-separated (a DLL that only some versions load)")
    args = parser.parse_args(argv[1:])
    versions = tuple(args.versions.split(","))
    if set(versions) - set(VERSIONS):
        parser.error("unknown version in --versions: %s" % args.versions)

    report = Report()
    if not os.path.isdir(args.exports):
        report.line(False, "export lists: %s is not a directory" % args.exports)
        print("%d passed, %d failed" % (report.passed, report.failed))
        return 1
    try:
        pe = pefile.PE(args.exe)
    except (OSError, pefile.PEFormatError) as error:
        report.line(False, "%s: %s" % (args.exe, error))
        print("%d passed, %d failed" % (report.passed, report.failed))
        return 1
    exports = Exports(args.exports)
    check_header(pe, report)
    check_static(static_imports(pe), exports, report, versions)
    if args.runtime_list:
        entries = read_runtime_list(args.runtime_list)
        check_runtime(entries, exports, report)
        if args.sources:
            check_list_matches_sources(entries, args.sources, report)
    print("%d passed, %d failed" % (report.passed, report.failed))
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
