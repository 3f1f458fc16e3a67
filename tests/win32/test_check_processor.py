#!/usr/bin/python3
"""Tests of check_processor.py: it refuses a program built for the Pentium Pro,
naming CMOV, and passes the same program built for the 386; it sorts
instructions as the processors that brought them.

Usage: test_check_processor.py --objdump OBJDUMP --pentiumpro EXE --i386 EXE
(each EXE with its linker map beside it, EXE's name ending in .map)
"""

import argparse
import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_processor  # noqa: E402

ARGS = None


def run_checker(exe):
    result = subprocess.run(
        [sys.executable, os.path.join(HERE, "check_processor.py"), exe,
         "--map", os.path.splitext(exe)[0] + ".map", "--objdump", ARGS.objdump],
        capture_output=True, text=True, check=False)
    return result.returncode, result.stdout


class JudgesRealPrograms(unittest.TestCase):
    def test_built_for_the_pentium_pro_it_fails_naming_cmov(self):
        status, output = run_checker(ARGS.pentiumpro)
        self.assertEqual(status, 1, output)
        self.assertIn("FAIL .text", output)
        self.assertRegex(output, r"Pentium Pro: cmov\w+ \d+")

    def test_built_for_the_386_it_passes(self):
        status, output = run_checker(ARGS.i386)
        self.assertEqual(status, 0, output)
        self.assertIn("0 newer than the 80386", output)


class SortsInstructions(unittest.TestCase):
    def test_instructions_by_the_processor_that_brought_them(self):
        # (bytes, objdump's Intel text, name, kind, generation of a newer one)
        cases = [
            ("89 c8", "mov    eax,ecx", "mov", "i386", None),
            ("f3 a5", "rep movs DWORD PTR es:[edi],DWORD PTR ds:[esi]", "movs", "i386", None),
            ("0f bd c0", "bsr    eax,eax", "bsr", "i386", None),
            ("0f 94 c0", "sete   al", "sete", "i386", None),
            ("66 90", "xchg   ax,ax", "xchg", "i386", None),
            ("8d 74 26 00", "lea    esi,[esi+eiz*1+0x0]", "lea", "i386", None),
            ("d9 e8", "fld1", "fld1", "x87", None),
            ("df e0", "fnstsw ax", "fnstsw", "x87", None),
            ("0f c8", "bswap  eax", "bswap", "newer", "486"),
            ("f0 0f b1 0a", "lock cmpxchg DWORD PTR [edx],ecx", "cmpxchg", "newer", "486"),
            ("0f c1 02", "xadd   DWORD PTR [edx],eax", "xadd", "newer", "486"),
            ("0f a2", "cpuid", "cpuid", "newer", "Pentium"),
            ("0f 31", "rdtsc", "rdtsc", "newer", "Pentium"),
            ("0f c7 0e", "cmpxchg8b QWORD PTR [esi]", "cmpxchg8b", "newer", "Pentium"),
            ("0f 44 c1", "cmove  eax,ecx", "cmove", "newer", "Pentium Pro"),
            ("da c1", "fcmovb st,st(1)", "fcmovb", "newer", "Pentium Pro"),
            ("db f1", "fcomi  st,st(1)", "fcomi", "newer", "Pentium Pro"),
            ("df e9", "fucomip st,st(1)", "fucomip", "newer", "Pentium Pro"),
            ("0f 0b", "ud2", "ud2", "newer", "Pentium Pro"),
            ("0f 34", "sysenter", "sysenter", "newer", "Pentium Pro"),
            ("66 0f 1f 44 00 00", "nop    WORD PTR [eax+eax*1+0x0]",
             "nop (multi-byte, 0f 1f)", "newer", "Pentium Pro"),
            ("2e 0f 1f 84 00 00 00 00 00", "cs nop DWORD PTR [eax+eax*1+0x0]",
             "nop (multi-byte, 0f 1f)", "newer", "Pentium Pro"),
            ("0f 77", "emms", "emms", "newer", "MMX"),
            ("0f 6f c1", "movq   mm0,mm1", "movq (MMX register)", "newer", "MMX"),
            ("0f 0f c1 9e", "pfadd  mm0,mm1", "pfadd (MMX register)", "newer", "MMX"),
            ("0f 0e", "femms", "femms", "newer", "3DNow!"),
            ("0f 28 c1", "movaps xmm0,xmm1", "movaps (SSE register)", "newer", "SSE or later"),
            ("0f ae 1c 24", "stmxcsr DWORD PTR [esp]", "stmxcsr", "newer", "SSE or later"),
            ("0f 18 00", "prefetchnta BYTE PTR [eax]", "prefetchnta", "newer", "SSE or later"),
            ("f3 0f 1e fb", "endbr32", "endbr32", "newer", "SSE or later"),
            ("df 08", "fisttp WORD PTR [eax]", "fisttp", "newer", "SSE or later"),
            ("f3 0f b8 c1", "popcnt eax,ecx", "popcnt", "newer", "SSE or later"),
            ("0f 05", "syscall", "syscall", "newer",
             "newer than the 80386, not a 386 instruction"),
            ("ff", "(bad)", "(bad)", "undecodable", None),
        ]
        for raw, text, name, kind, era in cases:
            with self.subTest(text=text):
                self.assertEqual(check_processor.classify(raw, text), (name, kind))
                if era:
                    self.assertEqual(check_processor.generation(name), era)

    def test_the_data_ranges_are_cut_out_of_the_code(self):
        cases = [
            ((0x100, 0x200), [], [(0x100, 0x200)]),
            ((0x100, 0x200), [(0x1e0, 0x1ec), (0x1ec, 0x1f4)], [(0x100, 0x1e0), (0x1f4, 0x200)]),
            ((0x100, 0x200), [(0x1f0, 0x200)], [(0x100, 0x1f0)]),
            ((0x100, 0x200), [(0x80, 0x110), (0x300, 0x310)], [(0x110, 0x200)]),
            ((0x100, 0x200), [(0x100, 0x200)], []),
        ]
        for (start, stop), skipped, pieces in cases:
            with self.subTest(skipped=skipped):
                self.assertEqual(check_processor.code_pieces(start, stop, skipped), pieces)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--pentiumpro", required=True)
    parser.add_argument("--i386", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=1)


if __name__ == "__main__":
    main()
