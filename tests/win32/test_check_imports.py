#!/usr/bin/python3
"""Tests of check_imports.py: it refuses real programs that would not start on
Windows 95, and applies the rules of the export lists (ABSENT, PARTIAL, !Name,
fallback, confirmations) as they are written.

Usage: test_check_imports.py --exports DIR --newer-kernel-call EXE --c-runtime-call EXE
"""

import argparse
import contextlib
import io
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_imports  # noqa: E402

ARGS = None


def run_checker(exe, *extra):
    result = subprocess.run(
        [sys.executable, os.path.join(HERE, "check_imports.py"), exe, "--exports", ARGS.exports,
         *extra], capture_output=True, text=True, check=False)
    return result.returncode, result.stdout


def block_of(output, heading_start):
    """The result line starting with `heading_start` and its indented details."""
    lines = output.splitlines()
    for index, line in enumerate(lines):
        if line.startswith(heading_start):
            block = [line]
            for detail in lines[index + 1:]:
                if not detail.startswith("    "):
                    break
                block.append(detail)
            return "\n".join(block)
    raise AssertionError("no line starting with %r in:\n%s" % (heading_start, output))


class RefusesProgramsThatWindows95CannotLoad(unittest.TestCase):
    def test_a_kernel32_name_windows95_lacks(self):
        status, output = run_checker(ARGS.newer_kernel_call)
        self.assertEqual(status, 1, output)
        self.assertIn("GetDiskFreeSpaceExA is not exported",
                      block_of(output, "FAIL win95    KERNEL32.dll"))
        # Windows 98 brought it: only the versions that lack it fail.
        for version in ("win98", "winme", "nt40", "winxp"):
            self.assertTrue(block_of(output, "PASS %-8s KERNEL32.dll" % version))

    def test_the_c_runtime_dll(self):
        status, output = run_checker(ARGS.c_runtime_call)
        self.assertEqual(status, 1, output)
        self.assertIn("does not ship msvcrt.dll", block_of(output, "FAIL win95    msvcrt.dll"))


def write_lists(root, version, lists):
    folder = os.path.join(root, version)
    os.makedirs(folder, exist_ok=True)
    for dll, text in lists.items():
        with open(os.path.join(folder, dll + ".txt"), "w", encoding="utf-8") as file:
            file.write(text)


def quietly(function, *args):
    report = check_imports.Report()
    with contextlib.redirect_stdout(io.StringIO()) as output:
        function(*args, report)
    return report, output.getvalue()


class AppliesTheListRules(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.TemporaryDirectory()
        root = self.directory.name
        for version in check_imports.VERSIONS:
            write_lists(root, version, {
                "kernel32.dll": "# source: complete\nCopyFileA\nSleep\n",
                "user32.dll": "# source: PARTIAL - some\nMessageBoxA\n!PrintWindow\n",
                "msvcrt.dll": "# source: ABSENT - not shipped\n",
            })
        self.exports = check_imports.Exports(root)

    def tearDown(self):
        self.directory.cleanup()

    def static_verdict(self, imports):
        report, output = quietly(check_imports.check_static, imports, self.exports)
        return report.failed, output

    def test_static_imports(self):
        cases = [
            ({"KERNEL32.dll": ["CopyFileA", "Sleep"]}, 0, None),
            ({"KERNEL32.dll": ["GetDiskFreeSpaceExA"]}, 8, "GetDiskFreeSpaceExA is not exported"),
            ({"USER32.dll": ["MessageBoxA"]}, 0, None),
            ({"USER32.dll": ["DrawTextA"]}, 8, "DrawTextA is not confirmed by the partial list"),
            ({"USER32.dll": ["PrintWindow"]}, 8, "PrintWindow is not exported"),
            ({"msvcrt.dll": ["puts"]}, 8, "does not ship msvcrt.dll"),
            ({"GDI32.dll": ["TextOutA"]}, 8, "no export list"),
            ({"KERNEL32.dll": ["#17"]}, 8, "#17 imported by ordinal"),
        ]
        for imports, failures, message in cases:
            with self.subTest(imports=imports):
                failed, output = self.static_verdict(imports)
                self.assertEqual(failed, failures, output)
                if message:
                    self.assertIn(message, output)

    def runtime_verdict(self, line):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as listing:
            listing.write(line + "\n")
        try:
            entries = check_imports.read_runtime_list(listing.name)
        finally:
            os.unlink(listing.name)
        report, output = quietly(check_imports.check_runtime, entries, self.exports)
        return report.failed, output

    def test_names_resolved_at_run_time(self):
        cases = [
            ("kernel32.dll Sleep", 0),
            ("kernel32.dll SetDllDirectoryA", 8),
            ("kernel32.dll SetDllDirectoryA fallback", 0),
            ("user32.dll DrawTextA", 8),
            # A confirmation counts only where the list is partial, and only
            # for the versions it names.
            ("user32.dll DrawTextA confirm=win95,win98 # seen in the manual", 6),
            ("kernel32.dll SetDllDirectoryA confirm=win95 # wishful", 8),
            ("user32.dll PrintWindow confirm=win95 # contradicts the list", 8),
            ("msvcrt.dll puts", 8),
        ]
        for line, failures in cases:
            with self.subTest(line=line):
                failed, output = self.runtime_verdict(line)
                self.assertEqual(failed, failures, output)

    def test_a_confirmation_without_its_source_is_refused(self):
        with self.assertRaises(ValueError):
            self.runtime_verdict("user32.dll DrawTextA confirm=win95")

    def test_the_list_and_the_code_must_agree(self):
        with tempfile.TemporaryDirectory() as sources:
            with open(os.path.join(sources, "Calls.cpp"), "w", encoding="utf-8") as file:
                file.write('constinit SystemEntry<decltype(&Sleep)> sleep{kernel, "Sleep"};\n'
                           'auto f = findExport<BOOL(WINAPI*)(LPCSTR)>(\n'
                           '    kernel, "SetDllDirectoryA");\n')
            entries = [check_imports.RuntimeName("kernel32.dll", "Sleep", False, set(), ""),
                       check_imports.RuntimeName("kernel32.dll", "CopyFileA", False, set(), "")]
            report, output = quietly(check_imports.check_list_matches_sources, entries, [sources])
        self.assertEqual(report.failed, 1, output)
        self.assertIn("SetDllDirectoryA is resolved in", output)
        self.assertIn("CopyFileA is listed but resolved nowhere", output)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--exports", required=True)
    parser.add_argument("--newer-kernel-call", required=True)
    parser.add_argument("--c-runtime-call", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=1)


if __name__ == "__main__":
    main()
