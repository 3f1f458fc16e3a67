#!/usr/bin/python3
"""The end-to-end suite: every scenario of scenarios.py in a throwaway Wine
prefix cloned from one template, several at a time, each run of the installer
driven by uidriver.exe and the prefix's end state read by prefixstate.exe.

usage: run_e2e.py BUILD_DIR [--jobs N] [--only TEXT]... [--keep] | --count
Prints one line per scenario, the differences of those that fail, and one
summary line; exits 1 when any scenario failed."""

import argparse
import concurrent.futures
import json
import shutil
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import checks  # noqa: E402
import expected as x  # noqa: E402
import scenarios  # noqa: E402
import wine  # noqa: E402

TOOLS_DIR = r"C:\e2e"


class Context:
    """One scenario's prefix and the build's files that it uses."""

    def __init__(self, scenario, prefix: wine.Prefix, build: Path, work: Path):
        self.scenario = scenario
        self.prefix = prefix
        self.build = build
        self.work = work
        self.package = build / "package"
        self.variants = build / "package-variants"
        self.newer = build / "package-newer"  # the driver one release on
        self.programs = build / "e2e"
        self.planted = build / "planted"
        self.package_in_prefix = prefix.drive_c / "pkg"
        self.runs = 0
        self.state = {}  # prefixstate's document, once the runs are over

    def place(self, target: Path, source: Path):
        wine.replace_file(target, source)

    def resolve(self, name: str) -> Path:
        if name.startswith("@variants/"):
            return self.variants / name[len("@variants/"):]
        if name.startswith("@newer/"):
            return self.newer / name[len("@newer/"):]
        return self.package / name

    def drive(self, options: list, label: str, env: dict = None) -> Path:
        """Runs uidriver.exe with the options; returns its log on this side."""
        log = f"{TOOLS_DIR}\\{label}.jsonl"
        limit = str(round(90 * wine.TIME_SCALE))
        self.prefix.run([f"{TOOLS_DIR}\\uidriver.exe", "--log", log, "--timeout", limit, *options],
                        self.work / f"{label}.out", 150, env)
        return self.prefix.unix(log)

    def drive_alongside(self, options: list, label: str):
        """Starts uidriver.exe with the options and returns at once: its
        process, and its log on this side."""
        log = f"{TOOLS_DIR}\\{label}.jsonl"
        process = self.prefix.start([f"{TOOLS_DIR}\\uidriver.exe", "--log", log, *options],
                                    self.work / f"{label}.out")
        return process, self.prefix.unix(log)

    def tools_path(self, name: str) -> str:
        return f"{TOOLS_DIR}\\{name}"

    def read_state(self, error_codes) -> dict:
        out = f"{TOOLS_DIR}\\state.json"
        arguments = [f"{TOOLS_DIR}\\prefixstate.exe", "--out", out]
        for folder in (*x.LISTED_DIRS, x.SYSTEM_DIR):
            arguments += ["--dir", folder]
        for code in sorted(set(error_codes)):
            arguments += ["--errtext", str(code)]
        self.prefix.run(arguments, self.work / "prefixstate.out", 120)
        path = self.prefix.unix(out)
        return json.loads(path.read_text(encoding="utf-8")) if path.exists() else {}


def run_options(run) -> list:
    options = ["--dir", run.directory, "--installer", run.installer, "--os", run.os,
               "--port", run.port, "--restart", run.restart]
    for name in run.delete_printers:
        options += ["--delete-printer", name]
    for key in run.volatile_keys:
        options += ["--volatile-key", key]
    for argument in run.args:
        options += ["--arg", argument]
    if run.end_at:
        options += ["--end-at", run.end_at.rstrip("\r\n")]
    return options


def box_codes(runs) -> list:
    """The error codes the runs' boxes may show, whose system texts are read."""
    return [c for r in runs for b in r.outcome.boxes if b.error_code is not None
            for c in x.error_codes(b.error_code)]


def run_scenario(scenario, template: Path, build: Path, root: Path, display: str, index: int):
    work = root / f"{index:02d}"
    prefix = wine.clone(template, work / "prefix", display, scenario.arch)
    prefix.set_windows_version(scenario.version)
    wine.copy_tree_linked(build / "package", prefix.drive_c / "pkg")
    for tool in ("uidriver.exe", "prefixstate.exe"):
        wine.replace_file(prefix.unix(TOOLS_DIR) / tool, build / tool)
    ctx = Context(scenario, prefix, build, work)
    problems = []
    try:
        if scenario.prepare:
            scenario.prepare(ctx)
        logs = []
        for number, run in enumerate(scenario.runs, 1):
            if run.before:
                run.before(ctx)
            logs.append(ctx.drive(run_options(run), f"run{number}", {**scenario.env, **run.env}))
            if run.after:
                problems += [f"run {number}: {p}" for p in run.after(ctx)]
            if run.end is not None:
                state = ctx.read_state(box_codes([run]))
                problems += [f"after run {number}: {p}"
                             for p in checks.check_state(state, run.end, prefix, ctx.resolve)]
        codes = box_codes(scenario.runs)
        state = ctx.read_state(codes + list(scenario.error_texts))
        ctx.state = state
        if not state:
            problems.append("prefixstate wrote no state")
        for number, (run, log) in enumerate(zip(scenario.runs, logs), 1):
            for problem in checks.check_run(checks.read_log(log), run.outcome, scenario.version,
                                            state.get("errorTexts", {})):
                problems.append(f"run {number}: {problem}")
        if state:
            problems += checks.check_prefix(state, scenario.version)
            problems += checks.check_state(state, scenario.end, prefix, ctx.resolve)
        if scenario.verify:
            problems += scenario.verify(ctx)
    except Exception as error:  # a broken scenario is a failed one, not a crashed suite
        problems.append(f"{type(error).__name__}: {error}")
    finally:
        prefix.end_session()
    (work / "name.txt").write_text(scenario.name + "\n")
    return problems


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("build", type=Path, nargs="?")
    parser.add_argument("--count", action="store_true", help="print the number of scenarios")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--only", action="append", default=[],
                        help="run the scenarios whose name holds TEXT (repeatable)")
    parser.add_argument("--keep", action="store_true", help="keep every prefix, not only failed ones")
    args = parser.parse_args()
    if args.count:
        print(len(scenarios.table()))
        return 0
    if args.build is None:
        parser.error("BUILD_DIR is required")
    build = args.build.resolve()
    root = build / "e2e-runs"
    if root.exists():
        shutil.rmtree(root)
    root.mkdir(parents=True)
    selected = [s for s in scenarios.table()
                if not args.only or any(text in s.name for text in args.only)]

    started = time.monotonic()
    display = wine.Display(root)
    results = {}
    skipped = {}  # index -> why
    lock = threading.Lock()
    try:
        templates = {"win32": root / "template"}
        wine.make_template(templates["win32"], display.name, root / "template.log")
        if any(s.arch == "win64" for s in selected):
            # Debian's wine64 beside wine32: where it is missing or cannot make
            # a prefix, the 64-bit rows are skipped, saying why.
            log = root / "template64.log"
            try:
                templates["win64"] = root / "template64"
                wine.make_template(templates["win64"], display.name, log, arch="win64")
            except RuntimeError as error:
                del templates["win64"]
                lines = log.read_text(errors="replace").strip().splitlines() if log.exists() else []
                why = f"no 64-bit Wine prefix can be made here ({error}: {lines[-1] if lines else ''})"
                for index, scenario in enumerate(selected):
                    if scenario.arch == "win64":
                        skipped[index] = why

        def one(item):
            index, scenario = item
            if index in skipped:
                with lock:
                    print(f"SKIPPED {scenario.name}: {skipped[index]}", flush=True)
                return
            began = time.monotonic()
            problems = run_scenario(scenario, templates[scenario.arch], build, root, display.name,
                                    index)
            with lock:
                results[index] = problems
                mark = "ok  " if not problems else "FAIL"
                print(f"{mark} {scenario.name} ({time.monotonic() - began:.1f} s)", flush=True)
                for problem in problems:
                    print(f"      {problem}", flush=True)
                if not problems and not args.keep:
                    shutil.rmtree(root / f"{index:02d}", ignore_errors=True)

        with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
            list(pool.map(one, enumerate(selected)))
    finally:
        display.close()
    failed = sum(1 for p in results.values() if p)
    passed = len(results) - failed
    print(f"end-to-end under Wine: {len(selected)} scenarios, {passed} passed, "
          f"{failed} failed, {len(skipped)} skipped ({time.monotonic() - started:.0f} s, "
          f"{args.jobs} at a time)")
    if failed:
        print(f"The failed scenarios' prefixes and logs are in {root}/NN/.")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
