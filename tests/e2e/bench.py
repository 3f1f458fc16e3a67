#!/usr/bin/python3
"""Timings of the installer under Wine (a benchmark, not a test).

usage: bench.py BUILD_DIR [--runs N]

Per run, each in a new prefix cloned from one template: the time from the
process start to the first dialog, for the installer and for bare_dialogs.exe
(a program of ours that opens two dialogs the same way and imports only
KERNEL32 and USER32); the fresh and the driver-present installation on
Windows XP and on Windows 98, from the process start to its exit with the
time each dialog or box waited for its answer taken out, against the pauses
the program must make; and the fresh installation with /quiet, which makes
none. Prints a Markdown table of medians (min-max)."""

import argparse
import json
import os
import platform
import shutil
import statistics
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import wine  # noqa: E402

TOOLS = r"C:\e2e"
# The pauses of each path: 500 ms a status step, then the final pause.
PAUSES_MS = {("nt", False): 8 * 500 + 2000, ("nt", True): 3 * 500 + 2000,
             ("9x", False): 7 * 500 + 500, ("9x", True): 3 * 500 + 500}


def drive(prefix: wine.Prefix, work: Path, label: str, options: list) -> list:
    log = f"{TOOLS}\\{label}.jsonl"
    prefix.run([f"{TOOLS}\\uidriver.exe", "--log", log, "--timeout", "90", *options],
               work / f"{label}.out", 150)
    path = prefix.unix(log)
    events = [json.loads(line) for line in path.read_text(encoding="utf-8").splitlines()]
    summary = events[-1]
    if summary.get("event") != "summary" or summary.get("result") != "ok":
        raise RuntimeError(f"{label}: the run did not complete: {summary}")
    return events


def first_dialog_ms(events: list) -> int:
    return events[-1]["firstDialogMs"]


def answered_run_ms(events: list) -> int:
    """Process start to exit, less the time windows waited for an answer."""
    started = next(e["t"] for e in events if e["event"] == "started")
    ended = next(e["t"] for e in events if e["event"] == "exit")
    waits, opened = 0, {}
    for e in events:
        if e["event"] == "window" and e["kind"] in ("os", "port", "box"):
            opened[(e["kind"], e["caption"])] = e["t"]
        elif e["event"] == "closed" and (e["kind"], e["caption"]) in opened:
            waits += e["t"] - opened.pop((e["kind"], e["caption"]))
    return ended - started - waits


def new_prefix(template: Path, root: Path, name: str, display: str, version: str, build: Path):
    prefix = wine.clone(template, root / name, display)
    prefix.set_windows_version(version)
    wine.copy_tree_linked(build / "package", prefix.drive_c / "pkg")
    wine.replace_file(prefix.unix(TOOLS) / "uidriver.exe", build / "uidriver.exe")
    wine.replace_file(prefix.drive_c / "bare" / "bare_dialogs.exe", build / "e2e" / "bare_dialogs.exe")
    return prefix


def summary(values: list) -> str:
    return f"{statistics.median(values):.0f} ({min(values):.0f}-{max(values):.0f})"


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("build", type=Path)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    build = args.build.resolve()
    root = build / "bench-runs"
    shutil.rmtree(root, ignore_errors=True)
    root.mkdir(parents=True)
    display = wine.Display(root)
    figures = {}

    def add(key, value):
        figures.setdefault(key, []).append(value)

    try:
        template = root / "template"
        wine.make_template(template, display.name, root / "template.log")
        interactive = ["--dir", r"C:\pkg", "--restart", "no"]
        for run in range(args.runs):
            print(f"run {run + 1} of {args.runs}", file=sys.stderr, flush=True)
            for version, family in (("winxp", "nt"), ("win98", "9x")):
                prefix = new_prefix(template, root, f"{version}-{run}", display.name, version, build)
                fresh = drive(prefix, root, f"{version}-{run}-fresh", interactive)
                present = drive(prefix, root, f"{version}-{run}-present", interactive)
                add(("first", version), first_dialog_ms(fresh))
                add(("fresh", family), answered_run_ms(fresh))
                add(("present", family), answered_run_ms(present))
                if version == "winxp":
                    bare = drive(prefix, root, f"bare-{run}",
                                 ["--dir", r"C:\bare", "--installer", "bare_dialogs.exe"])
                    add(("first", "bare"), first_dialog_ms(bare))
                prefix.end_session()
            prefix = new_prefix(template, root, f"quiet-{run}", display.name, "winxp", build)
            quiet = drive(prefix, root, f"quiet-{run}", ["--dir", r"C:\pkg", "--arg", "/quiet"])
            add(("quiet", "nt"), answered_run_ms(quiet))
            prefix.end_session()
    finally:
        display.close()

    size = (build / "QLX957_Installer.exe").stat().st_size
    cpu = next((line.split(":", 1)[1].strip() for line in Path("/proc/cpuinfo").read_text().splitlines()
                if line.startswith("model name")), platform.machine())
    wine_version = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    print(f"Machine: {cpu}, {os.cpu_count()} cores, {wine_version}, Xvfb; "
          f"{args.runs} runs each, median (min-max), ms.\n")
    print("| measure | installer | reference | overhead | ratio |")
    print("|---|---|---|---|---|")
    bare = figures[("first", "bare")]
    for version in ("winxp", "win98"):
        own = figures[("first", version)]
        print(f"| start to first dialog ({version}) | {summary(own)} | bare_dialogs.exe {summary(bare)} | "
              f"{statistics.median(own) - statistics.median(bare):+.0f} | "
              f"{statistics.median(own) / statistics.median(bare):.2f} |")
    for kind, present in (("fresh installation", False), ("driver-present installation", True)):
        for family, name in (("nt", "XP"), ("9x", "98")):
            values = figures[("present" if present else "fresh", family)]
            pauses = PAUSES_MS[(family, present)]
            print(f"| {kind}, Windows {name} | {summary(values)} | pauses {pauses} | "
                  f"{statistics.median(values) - pauses:+.0f} | {statistics.median(values) / pauses:.2f} |")
    quiet = figures[("quiet", "nt")]
    print(f"| fresh installation with /quiet, Windows XP | {summary(quiet)} | no pauses | | |")
    print(f"| executable size | {size} bytes | | | |")
    shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
