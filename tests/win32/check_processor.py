#!/usr/bin/python3
"""Checks that a Windows program holds no instruction newer than the 80386.

Usage: check_processor.py EXE [--map MAP] [--objdump OBJDUMP]

Disassembles every executable section of EXE with mingw's objdump and looks up
each instruction in the 80386's instruction set (with the 387's x87 set). Prints
one line per section, with the newer instructions by processor generation and
their counts, the x87 instructions as information, then "N passed, M failed";
exits non-zero when a section holds anything newer or anything objdump cannot
decode.

MAP is the linker's map file: the constructor and destructor lists that older
linkers (Debian 12's) place at the end of .text are data, and are left out
through it.
"""

import argparse
import collections
import re
import subprocess
import sys

try:
    import pefile
except ImportError:  # a python3 ahead of Debian's on PATH (pyenv) lacks the package
    sys.path.append("/usr/lib/python3/dist-packages")
    import pefile

DEFAULT_OBJDUMP = "i686-w64-mingw32-objdump"
IMAGE_SCN_CNT_CODE = 0x20
IMAGE_SCN_MEM_EXECUTE = 0x20000000

CONDITIONS = ("o", "no", "b", "ae", "e", "ne", "be", "a", "s", "ns", "p", "np", "l", "ge", "le",
              "g", "c", "nc", "z", "nz", "na", "nae", "nb", "nbe", "nl", "nle", "ng", "nge",
              "pe", "po")

# The 80386's own instructions as objdump names them in Intel syntax.
I386 = set("""
    aaa aad aam aas adc add and arpl bound bsf bsr bt btc btr bts call lcall cbw cwde cwd
    cdq clc cld cli clts cmc cmp cmps cmpsb cmpsw cmpsd daa das dec div enter hlt idiv imul
    in inc ins insb insw insd int int1 int3 into iret iretd iretw jcxz jecxz jmp ljmp lahf lar
    lds les lfs lgs lss lea leave lgdt lidt lldt lmsw lods lodsb lodsw lodsd loop loope
    loopne loopz loopnz lsl ltr mov movs movsb movsw movsd movsx movzx mul neg nop not or
    out outs outsb outsw outsd pop popa popad popaw popf popfd popfw push pusha pushad pushaw
    pushf pushfd pushfw rcl rcr ret retf retw lret rol ror sahf sal sar sbb scas scasb scasw
    scasd sgdt sidt sldt shl shld shr shrd smsw stc std sti stos stosb stosw stosd str sub
    test verr verw wait fwait xchg xlat xlatb xor
""".split())
I386 |= {"j" + c for c in CONDITIONS} | {"set" + c for c in CONDITIONS}

# The 387's instructions: fine on a 386 with its coprocessor; without one
# (a 386 or 486SX alone) they need the system's emulation.
X87 = set("""
    f2xm1 fabs fadd faddp fiadd fbld fbstp fchs fclex fnclex fcom fcomp fcompp fcos
    fdecstp fdiv fdivp fdivr fdivrp fidiv fidivr ffree ficom ficomp fild fimul fincstp
    finit fninit fist fistp fisub fisubr fld fld1 fldcw fldenv fldl2e fldl2t fldlg2 fldln2
    fldpi fldz fmul fmulp fnop fpatan fprem fprem1 fptan frndint frstor fsave fnsave
    fscale fsin fsincos fsqrt fst fstcw fnstcw fstenv fnstenv fstp fstsw fnstsw fsub fsubp
    fsubr fsubrp ftst fucom fucomp fucompp fxam fxch fxtract fyl2x fyl2xp1
""".split())

# Where an instruction that is not the 386's came from, for the report.
GENERATIONS = (
    ("486", lambda m: m in {"bswap", "cmpxchg", "xadd", "invd", "wbinvd", "invlpg"}),
    ("Pentium", lambda m: m in {"cpuid", "rdtsc", "cmpxchg8b", "rdmsr", "wrmsr", "rsm"}),
    ("Pentium Pro", lambda m: m.startswith(("cmov", "fcmov")) or m in {
        "fcomi", "fcomip", "fucomi", "fucomip", "ud2", "sysenter", "sysexit", "rdpmc",
        "nop (multi-byte, 0f 1f)", "hint nop (0f 18-1e)"}),
    ("MMX", lambda m: m == "emms" or m.endswith("(MMX register)")),
    ("3DNow!", lambda m: m in {"femms", "pavgusb", "pi2fd", "pi2fw", "pf2id", "pf2iw",
                               "pmulhrw", "pswapd", "prefetch", "prefetchw"}
     or (m.startswith("pf") and m != "pf")),
    ("SSE or later", lambda m: m.endswith("(SSE register)") or m in {
        "ldmxcsr", "stmxcsr", "sfence", "lfence", "mfence", "clflush", "movnti", "fxsave",
        "fxrstor", "fisttp", "monitor", "mwait", "popcnt", "lzcnt", "tzcnt", "movbe", "crc32",
        "endbr32", "prefetchnta", "prefetcht0", "prefetcht1", "prefetcht2"}),
)

PREFIXES = {"rep", "repe", "repz", "repne", "repnz", "lock", "data16", "data32", "addr16",
            "addr32", "cs", "ds", "es", "fs", "gs", "ss", "notrack", "bnd"}
MMX_REGISTER = re.compile(r"\bmm[0-7]\b")
SSE_REGISTER = re.compile(r"\b[xyz]mm\d+\b")
# 0f 18-0f 1f after any prefixes: the hint NOPs of the Pentium Pro.
LEGACY_PREFIX_BYTES = {"66", "67", "f2", "f3", "f0", "2e", "36", "3e", "26", "64", "65"}


def classify(raw_bytes: str, text: str):
    """(name, kind) of one disassembled instruction; kind is 'i386', 'x87',
    'newer' or 'undecodable'. `raw_bytes` as objdump prints them ("0f 44 c1")."""
    words = text.split()
    while words and words[0] in PREFIXES:
        words = words[1:]
    if not words:  # a prefix alone
        return text.strip(), "i386"
    mnemonic, operands = words[0], " ".join(words[1:])
    if mnemonic == "(bad)":
        return "(bad)", "undecodable"
    opcode = [b for b in raw_bytes.split()]
    while opcode and opcode[0] in LEGACY_PREFIX_BYTES:
        opcode = opcode[1:]
    if len(opcode) >= 2 and opcode[0] == "0f" and opcode[1] in ("18", "19", "1a", "1b", "1c",
                                                                "1d", "1e", "1f"):
        if opcode[1] == "1f":
            return "nop (multi-byte, 0f 1f)", "newer"
        if mnemonic not in ("prefetchnta", "prefetcht0", "prefetcht1", "prefetcht2", "endbr32"):
            return "hint nop (0f 18-1e)", "newer"
    if SSE_REGISTER.search(operands):
        return "%s (SSE register)" % mnemonic, "newer"
    if MMX_REGISTER.search(operands):
        return "%s (MMX register)" % mnemonic, "newer"
    if mnemonic in I386:
        return mnemonic, "i386"
    if mnemonic in X87:
        return mnemonic, "x87"
    return mnemonic, "newer"


def generation(name: str) -> str:
    for label, belongs in GENERATIONS:
        if belongs(name):
            return label
    return "newer than the 80386, not a 386 instruction"


INSTRUCTION_LINE = re.compile(r"^\s*([0-9a-f]+):\t([0-9a-f ]+?)\s*\t(.*)$")


def disassemble(objdump: str, exe: str, section: str, start: int, stop: int):
    """[(address, bytes, text)] of one range of a section; -w keeps each
    instruction's bytes on its line."""
    result = subprocess.run(
        [objdump, "-d", "-w", "-M", "intel", "-j", section,
         "--start-address=0x%x" % start, "--stop-address=0x%x" % stop, exe],
        capture_output=True, text=True, check=False)
    if result.returncode != 0:
        raise RuntimeError("%s failed on %s: %s" % (objdump, exe, result.stderr.strip()))
    found = []
    for line in result.stdout.splitlines():
        match = INSTRUCTION_LINE.match(line)
        if match:
            found.append((int(match.group(1), 16), match.group(2), match.group(3)))
    return found


def data_ranges(pe, map_path):
    """[(start, stop)] of the constructor and destructor lists: a -1 word, the
    entries, a 0 word, at the addresses the map gives their symbols."""
    if not map_path:
        return []
    with open(map_path, encoding="utf-8", errors="replace") as lines:
        text = lines.read()
    ranges = []
    for symbol in ("__CTOR_LIST__", "__DTOR_LIST__"):
        match = re.search(r"^\s+0x([0-9a-f]+)\s+_*%s = \." % symbol, text, re.M)
        if not match:
            raise ValueError("%s: no %s" % (map_path, symbol))
        start = int(match.group(1), 16)
        rva = start - pe.OPTIONAL_HEADER.ImageBase
        stop = start
        while True:
            word = pe.get_dword_at_rva(rva + (stop - start))
            stop += 4
            if word is None or (word == 0 and stop - start > 4):
                break
        ranges.append((start, stop))
    return ranges


def code_pieces(start: int, stop: int, skipped):
    """[start, stop) without the skipped ranges, in order."""
    pieces, at = [], start
    for skip_start, skip_stop in sorted(skipped):
        if skip_stop <= at or skip_start >= stop:
            continue
        if skip_start > at:
            pieces.append((at, skip_start))
        at = max(at, skip_stop)
    if at < stop:
        pieces.append((at, stop))
    return pieces


def executable_sections(pe):
    base = pe.OPTIONAL_HEADER.ImageBase
    for section in pe.sections:
        if section.Characteristics & (IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE):
            name = section.Name.rstrip(b"\0").decode("ascii", "replace")
            size = min(section.Misc_VirtualSize or section.SizeOfRawData, section.SizeOfRawData)
            yield name, base + section.VirtualAddress, base + section.VirtualAddress + size


def check_section(objdump, exe, name, start, stop, skipped):
    """(ok, heading, details) for one executable section."""
    counts, x87, undecodable, total = collections.Counter(), collections.Counter(), [], 0
    for piece_start, piece_stop in code_pieces(start, stop, skipped):
        for address, raw, text in disassemble(objdump, exe, name, piece_start, piece_stop):
            total += 1
            mnemonic, kind = classify(raw, text)
            if kind == "newer":
                counts[mnemonic] += 1
            elif kind == "x87":
                x87[mnemonic] += 1
            elif kind == "undecodable":
                undecodable.append(address)
    details = []
    by_generation = collections.defaultdict(list)
    for mnemonic, count in counts.items():
        by_generation[generation(mnemonic)].append((mnemonic, count))
    for label, _ in GENERATIONS + (("newer than the 80386, not a 386 instruction", None),):
        if label in by_generation:
            items = sorted(by_generation[label], key=lambda item: (-item[1], item[0]))
            details.append("%s: %s" % (label, ", ".join("%s %d" % item for item in items)))
    if undecodable:
        details.append("%d bytes objdump cannot decode, from 0x%x: data in the code, or an "
                       "instruction this check cannot judge" % (len(undecodable), undecodable[0]))
    newer = sum(counts.values())
    ok = not newer and not undecodable
    heading = "%s: %d instructions, %d newer than the 80386" % (name, total, newer)
    left_out = sum(min(b, stop) - max(a, start) for a, b in skipped if a < stop and b > start)
    if left_out:
        heading += " (%d bytes of constructor and destructor lists left out)" % left_out
    details.append("x87 (information: a 386 or 486SX without coprocessor relies on the "
                   "system's emulation): %s" % (
                       ", ".join("%s %d" % item for item in sorted(x87.items())) or "none"))
    return ok, heading, details


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("exe")
    parser.add_argument("--map", default=None)
    parser.add_argument("--objdump", default=DEFAULT_OBJDUMP)
    args = parser.parse_args(argv[1:])
    passed = failed = 0
    try:
        pe = pefile.PE(args.exe)
        skipped = data_ranges(pe, args.map)
        sections = list(executable_sections(pe))
        if not sections:
            raise ValueError("%s has no executable section" % args.exe)
        for name, start, stop in sections:
            ok, heading, details = check_section(args.objdump, args.exe, name, start, stop,
                                                 skipped)
            print("%s %s" % ("PASS" if ok else "FAIL", heading))
            for detail in details:
                print("    " + detail)
            passed, failed = passed + ok, failed + (not ok)
    except (OSError, ValueError, RuntimeError, pefile.PEFormatError) as error:
        print("FAIL %s" % error)
        failed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
