"""The end-to-end scenarios, one entry each: the Windows version Wine
reports, how the prefix is prepared, the runs of the installer with their
answers and what each must show, and the end state of the prefix."""

import os
import time
from dataclasses import dataclass, field

import checks
import expected as x
from expected import Box, EndState, Outcome

PRINT = r"HKLM\System\CurrentControlSet\Control\Print"
NT_DRIVERS = PRINT + r"\Environments\Windows NT x86\Drivers"
WIN9X_DRIVERS = PRINT + r"\Environments\Windows 4.0\Drivers"


@dataclass
class Run:
    outcome: Outcome
    os: str = "next"
    port: str = "next"
    restart: str = "no"
    delete_printers: tuple = ()
    volatile_keys: tuple = ()
    args: tuple = ()  # the installer's command line
    directory: str = r"C:\pkg"  # the installer's current directory
    installer: str = "QLX957_Installer.exe"  # relative to `directory`, or absolute
    env: dict = field(default_factory=dict)
    end_at: str = None     # the status at which uidriver ends the installer, as a power cut would
    before: object = None  # before(ctx) ahead of this run
    after: object = None   # after(ctx) -> problems, once it has ended
    end: EndState = None   # what the prefix must hold right after this run


@dataclass
class Scenario:
    name: str
    version: str
    runs: list
    end: EndState
    prepare: object = None    # prepare(ctx) before the first run
    verify: object = None     # verify(ctx) -> problems, after the runs
    env: dict = field(default_factory=dict)  # for every run
    error_texts: tuple = ()   # codes whose system text `verify` reads (ctx.state)
    arch: str = "win32"       # "win64": a 64-bit prefix, the program under WOW64


def numbered(n: int) -> str:
    return x.PRINTER if n == 0 else f"{x.PRINTER}(#{n})"


def port_answer(port):
    return "next" if port is None else f"choose:{port},"


def fresh_run(version, port=None, os_choice=None, restart="no", boxes=None, **more) -> Run:
    family = x.FAMILY[version]
    return Run(Outcome(statuses=x.statuses(family, False),
                       boxes=[x.RESTART_BOX] if boxes is None else boxes,
                       os_chosen=os_choice, port_chosen=port),
               os="next" if os_choice is None else f"choose:{os_choice}",
               port=port_answer(port), restart=restart, **more)


def present_run(version, port=None, **more) -> Run:
    return Run(Outcome(statuses=x.statuses(x.FAMILY[version], True), port_chosen=port),
               port=port_answer(port), **more)


def installed(version, printers, replaced=None, **more) -> EndState:
    family = x.FAMILY[version]
    state = dict(family=family, printers=printers, driver=True, monitor=True,
                 usbmon=family == "9x", processor=True, uninstall=True,
                 files=x.with_uninstaller(x.installed_files(family, replaced=replaced)),
                 system_files=x.system_files(family))
    state.update(more)
    return EndState(**state)


def removed(version) -> EndState:
    """What /uninstall leaves under Wine: the shared files, the shared USB
    monitor, and the print processor's registration (Wine's
    DeletePrintProcessorA removes nothing)."""
    family = x.FAMILY[version]
    shared = x.SHARED_FILES[family]
    keep = lambda files: {name: source for name, source in files.items() if name in shared}
    return EndState(family=family, processor=True, usbmon=family == "9x",
                    files={folder: keep(files) for folder, files in x.installed_files(family).items()},
                    system_files=keep(x.system_files(family)))


def nothing(version) -> EndState:
    return EndState(family=x.FAMILY.get(version, "nt"))


def fresh(version, port=None, os_choice=None) -> Scenario:
    return Scenario(f"fresh {version}", version, [fresh_run(version, port, os_choice)],
                    installed(version, [(x.PRINTER, x.DEFAULT_PORT if port is None else port)]))


def cancel(version, dialog, action) -> Scenario:
    in_os = dialog == "os"
    run = Run(Outcome(port_dialog=not in_os, boxes=[Box(x.APP_CAPTION, x.CANCELLED, [x.IDOK])]),
              os=action if in_os else "next", port="next" if in_os else action)
    return Scenario(f"cancel {dialog} dialog by {action} ({version})", version, [run],
                    nothing(version))


# AddPrinter's answers where Wine's versions differ: 8.0 gives 87 for both
# failures; 10 gives what Windows gives, 1801 (invalid printer name) when the
# printers' key cannot be written and 1797 (unknown printer driver) without
# the driver. The checks take the code the spooler gave, shown with its text.
PRINTERS_KEY_REFUSED = (87, 1801)
DRIVER_MISSING = (87, 1797)


def codes_text(code) -> str:
    if code == x.ANY_CODE:
        return "the code the thread had"
    return " or ".join(str(c) for c in x.error_codes(code))


def failing(version, key, call, code, stop_after, end, more_boxes=()) -> Scenario:
    family = x.FAMILY[version]
    boxes = [x.error_box(call, code), *more_boxes]
    run = Run(Outcome(statuses=x.statuses(family, False, stop_after), boxes=boxes, exit_code=1),
              volatile_keys=(key,))
    return Scenario(f"{call} fails with {codes_text(code)} ({version})", version, [run], end)


def after_failure(version, driver, staged_left=True, monitor=True, **more) -> EndState:
    family = x.FAMILY[version]
    return EndState(family=family, driver=driver, **more, monitor=monitor, usbmon=family == "9x" and monitor,
                    processor=monitor,
                    files=x.installed_files(family, staged_left=staged_left, driver_added=driver)
                    if monitor else {},
                    system_files=x.system_files(family) if monitor else {})


# --- monitor DLLs that cannot serve -------------------------------------------

def monitor_replaced_by(replacement):
    """The package's monitor DLL replaced by another file. (Without it the
    package is incomplete: see field_situations.py.)"""
    def prepare(ctx):
        family = x.FAMILY[ctx.scenario.version]
        target = ctx.package_in_prefix / x.FILES[family].source / "QLMON957.DLL"
        target.unlink()
        ctx.place(target, ctx.package / replacement)
    return prepare


def broken_monitor(version, replacement) -> Scenario:
    """A monitor DLL without the monitor's entry points: AddMonitor fails
    with 127, the rest is installed, and the run ends as the half
    installation it is."""
    family = x.FAMILY[version]
    run = fresh_run(version, boxes=[x.error_box("AddMonitor", 127), x.RESTART_BOX])
    run.outcome.exit_code = 1
    end = installed(version, [(x.PRINTER, x.DEFAULT_PORT)], monitor=False,
                    system_files=x.system_files(family, monitor_file=replacement))
    return Scenario(f"monitor DLL without entry points gives 127 ({version})", version, [run], end,
                    prepare=monitor_replaced_by(replacement))


def broken_monitor_quiet(version, replacement) -> Scenario:
    """The same unattended: 1603, which a deployment tool takes for the
    failure it is; the package mended, the next /quiet completes it."""
    def mended(ctx):
        family = x.FAMILY[ctx.scenario.version]
        path = f"{x.FILES[family].source}/QLMON957.DLL"
        (ctx.package_in_prefix / path).unlink()
        ctx.place(ctx.package_in_prefix / path, ctx.package / path)
    return Scenario(f"/quiet with a monitor DLL the spooler refuses: 1603, then completed"
                    f" ({version})", version,
                    [Run(unattended([], [], 1603), args=("/quiet",)),
                     Run(unattended([], [], 3010), args=("/quiet",), before=mended)],
                    installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                    prepare=monitor_replaced_by(replacement))


def newer_shared_kept(version) -> Scenario:
    """A shared library of other printers, newer by version than the
    package's: it stays."""
    newer = "@variants/unidrv-9.0/unidrv.dll"

    def placed(ctx):
        folder = ctx.prefix.unix(x.FILES["9x"].driver_dir)
        ctx.place(folder / "dmcolor.dll", ctx.variants / "unidrv-9.0" / "unidrv.dll")
    return Scenario(f"a newer dmcolor.dll of other printers stays ({version})", version,
                    [Run(unattended([], [], 3010), args=("/quiet",))],
                    installed(version, [(x.PRINTER, x.DEFAULT_PORT)],
                              replaced={"DMCOLOR.DLL": newer}),
                    prepare=placed)


# --- the 9x overwrite policy --------------------------------------------------

OLD_DATE = time.mktime((2001, 6, 1, 12, 0, 0, 0, 0, -1))
NEW_DATE = time.mktime((2035, 6, 1, 12, 0, 0, 0, 0, -1))


def unidrv_installed(variant, date=None, hlp_only=False):
    """The 9x driver folder holds unidrv.dll and unidrv.hlp of a variant,
    optionally dated (the help file alone with `hlp_only`)."""
    def prepare(ctx):
        folder = ctx.prefix.unix(x.FILES["9x"].driver_dir)
        source = ctx.variants / f"unidrv-{variant}"
        names = ("unidrv.hlp",) if hlp_only else ("unidrv.dll", "unidrv.hlp")
        for name in names:
            ctx.place(folder / name, source / name)
            if date is not None:
                os.utime(folder / name, (date, date))
    return prepare


def overwrite(version, policy, variant, replaced, date=None, hlp_only=False, why="") -> Scenario:
    package = {"UNIDRV.DLL": "driver9x/unidrv.dll", "UNIDRV.HLP": "driver9x/unidrv.hlp"}
    kept = {"UNIDRV.DLL": f"@variants/unidrv-{variant}/unidrv.dll",
            "UNIDRV.HLP": f"@variants/unidrv-{variant}/unidrv.hlp"}
    if hlp_only:  # the missing dll is always copied; the help file follows the verdict
        kept["UNIDRV.DLL"] = package["UNIDRV.DLL"]
    run = fresh_run(version, port=None)
    run.port = f"choose:,{policy}"
    return Scenario(f"{x.OVERWRITE_ITEMS[policy]} against an installed unidrv {why} ({version})",
                    version, [run],
                    installed(version, [(x.PRINTER, x.DEFAULT_PORT)],
                              replaced=package if replaced else kept),
                    prepare=unidrv_installed(variant, date, hlp_only))


# --- Yes to the restart question ----------------------------------------------

def restart_recorder(ctx):
    ctx.place(ctx.prefix.unix(x.SYSTEM_DIR) / "wineboot.exe", ctx.programs / "restart_recorder.exe")
    # The session starts with Wine's own wineboot: only the installer's
    # process tree carries the override.
    ctx.prefix.run(["cmd", "/c", "exit"], ctx.work / "session.out", 120)


def restart_recorded(ctx):
    record = ctx.prefix.drive_c / "restart-request.txt"
    if not record.exists():
        return ["the restart was not requested (no call of wineboot recorded)"]
    # A session that ended before the installer started (a slow machine
    # outlasts the server's few seconds) starts anew through the recorder with
    # "--init": that is no restart request.
    lines = [line for line in record.read_bytes().decode("utf-16-le").splitlines()
             if not line.endswith(" --init")]
    # Wine turns a forced ExitWindowsEx into "wineboot --kill".
    if len(lines) != 1 or not lines[0].endswith("wineboot.exe --kill"):
        return [f"restart requests {lines}, expected one forced restart"]
    return []


def restart_yes(version) -> Scenario:
    run = fresh_run(version, restart="yes", env={"WINEDLLOVERRIDES": "wineboot.exe=n"})
    return Scenario(f"Yes to the restart question ({version})", version, [run],
                    installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                    prepare=restart_recorder, verify=restart_recorded)


# --- DLLs planted beside the program ------------------------------------------

PLANTED = ("version.dll", "winspool.drv", "comctl32.dll")
PLANT_OVERRIDES = {"WINEDLLOVERRIDES": "version,winspool.drv,comctl32=n,b"}


def plant(ctx):
    for folder in (ctx.package_in_prefix, ctx.prefix.drive_c / "bare"):
        for name in PLANTED:
            ctx.place(folder / name, ctx.planted / name)
    ctx.place(ctx.prefix.drive_c / "bare" / "bare_dialogs.exe", ctx.programs / "bare_dialogs.exe")
    # The floor: what a program importing only KERNEL32 and USER32 loads. Wine
    # 8.0's own user32 loads a planted version.dll; Wine 10's loads nothing.
    ctx.floor_log = ctx.drive(["--dir", r"C:\bare", "--installer", "bare_dialogs.exe"], "floor",
                              dict(PLANT_OVERRIDES, QLX_PLANT_MARKER=r"C:\floor.txt"))


def planted_loaded(ctx):
    def loaded(name):
        path = ctx.prefix.drive_c / name
        text = path.read_text(encoding="latin-1") if path.exists() else ""
        return {line.split(" loaded into ")[0].lower() for line in text.splitlines() if line}
    floor, installer = loaded("floor.txt"), loaded("plant.txt")
    problems = []
    floor_run = checks.read_log(ctx.floor_log)
    if not any(e["event"] == "exit" for e in floor_run):
        problems.append("the bare program did not run to its end: the floor was not measured")
    if installer - floor:
        problems.append(f"the installer loaded planted {sorted(installer - floor)} "
                        f"beyond the floor {sorted(floor)}")
    return problems


def planted(version) -> Scenario:
    run = fresh_run(version, env=dict(PLANT_OVERRIDES, QLX_PLANT_MARKER=r"C:\plant.txt"))
    return Scenario(f"planted DLLs beside the program are not loaded ({version})", version, [run],
                    installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                    prepare=plant, verify=planted_loaded)


# --- the command line ---------------------------------------------------------

QUIET_LOG = r"C:\q.log"


def logged_failure(ctx, code: int) -> str:
    """How the log shows a failed call's code: the number and the system's text
    on the same line."""
    text = ctx.state.get("errorTexts", {}).get(str(code), {}).get("text", "<no system text read>")
    return f"error {code}: " + text.rstrip("\r\n ").replace("\r", " ").replace("\n", " ")


def log_holds(*wanted):
    """The installation log exists and holds each text in order; a tuple of
    codes stands for one of them with its system text (logged_failure)."""
    def verify(ctx):
        path = ctx.prefix.unix(QUIET_LOG)
        if not path.exists():
            return [f"no log was written to {QUIET_LOG}"]
        text, at, problems = path.read_bytes().decode("latin-1"), 0, []
        for piece in wanted:
            options = [logged_failure(ctx, c) for c in piece] if isinstance(piece, tuple) else [piece]
            hits = [(text.find(option, at), option) for option in options]
            hits = sorted((found, option) for found, option in hits if found >= 0)
            if not hits:
                problems.append(f"the log lacks {' or '.join(map(repr, options))} (after position {at})")
            else:
                at = hits[0][0] + len(hits[0][1])
        return problems
    return verify


def unattended(window_kinds, statuses, exit_code, boxes=()):
    return Outcome(os_dialog=False, port_dialog=False, window_kinds=window_kinds,
                   statuses=statuses, boxes=list(boxes), exit_code=exit_code)


def quiet_twice(version) -> Scenario:
    """/quiet installs what the dialogs would on COM2, then adds (#1)."""
    args = ("/quiet", "/port:COM2", "/log:" + QUIET_LOG)
    return Scenario(f"/quiet on COM2, twice ({version})", version,
                    [Run(unattended([], [], 3010), args=args), Run(unattended([], [], 0), args=args)],
                    installed(version, [(numbered(0), 1), (numbered(1), 1)]),
                    verify=log_holds("exit code 3010", "exit code 0"))


def passive(version) -> Scenario:
    """/passive: the progress window with the usual statuses, nothing to answer."""
    run = Run(unattended(["progress"], x.statuses(x.FAMILY[version], False), 3010),
              args=("/passive",))
    return Scenario(f"/passive shows the progress window and asks nothing ({version})", version,
                    [run], installed(version, [(x.PRINTER, x.DEFAULT_PORT)]))


def unattended_failing(version, mode, key, call, code, stop_after, end) -> Scenario:
    """A fatal spooler failure without anyone to read a box: 1603, the error
    with its system text in the log."""
    family = x.FAMILY[version]
    window = ["progress"] if mode == "/passive" else []
    statuses = x.statuses(family, False, stop_after) if window else []
    run = Run(unattended(window, statuses, 1603), args=(mode, "/log:" + QUIET_LOG),
              volatile_keys=(key,))
    codes = x.error_codes(code)
    return Scenario(f"{mode} with a fatal {call} failure ({version})", version, [run], end,
                    verify=log_holds(call, codes, "exit code 1603"), error_texts=codes)


def options_preselect(version) -> Scenario:
    """Options on an interactive run preselect the port dialog; /norestart
    leaves the question out."""
    run = Run(Outcome(statuses=x.statuses(x.FAMILY[version], False), boxes=[],
                      port_preselected=2, overwrite_preselected=3),
              args=("/port:COM3", "/overwrite:never", "/norestart"))
    return Scenario(f"/port, /overwrite and /norestart with the dialogs ({version})", version,
                    [run], installed(version, [(x.PRINTER, 2)]))


def started_elsewhere(version) -> Scenario:
    """Started with C:\\ as its current directory, the program still finds the
    package beside itself."""
    run = fresh_run(version, directory="C:\\", installer=r"C:\pkg\QLX957_Installer.exe")
    return Scenario(f"started from another current directory ({version})", version, [run],
                    installed(version, [(x.PRINTER, x.DEFAULT_PORT)]))


def later_windows(version) -> Scenario:
    """Vista and later take the 2000-family installation: attended, then /once
    (nothing to do), /uninstall and /quiet; the log names the Windows with its
    true version."""
    log = ("/log:" + QUIET_LOG,)
    numbers, name = x.LATER_WINDOWS[version]
    return Scenario(f"installed, /once, /uninstall, /quiet ({version})", version,
                    [fresh_run(version, args=log),
                     Run(unattended([], [], 0), args=("/once", "/quiet", *log)),
                     Run(unattended([], [], 0), args=("/uninstall", "/quiet", *log),
                         end=removed(version)),
                     Run(unattended([], [], 3010), args=("/quiet", *log))],
                    installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                    verify=log_holds(numbers, name, "Result: installed, exit code 0",
                                     "Result: already installed, exit code 0",
                                     "Result: removed", "exit code 3010"))


def refused_64bit(version) -> Scenario:
    """A 64-bit prefix, the program under WOW64: attended, the dialogs and
    one box, exit 1; /quiet 1633; the log says why; nothing changed."""
    log = ("/log:" + QUIET_LOG,)
    attended = Run(Outcome(boxes=[Box(x.APP_CAPTION, x.NO_64BIT_DRIVER, [x.IDOK])], exit_code=1),
                   args=log)
    return Scenario(f"64-bit Windows refused, attended and /quiet ({version}, 64-bit prefix)",
                    version, [attended, Run(unattended([], [], 1633), args=("/quiet", *log))],
                    nothing(version), arch="win64",
                    verify=log_holds("Bits: 64", "Result: 64-bit Windows, not installed, exit code 1",
                                     "Bits: 64", "exit code 1633"))


def table() -> list:
    s = [
        fresh("win95", port=0),
        fresh("win98", port=1, os_choice=5),  # the pick is not read: 9x still runs
        fresh("winme", port=2),
        fresh("nt40", port=3),
        fresh("win2k"),
        fresh("winxp", port=5),
        fresh("win2003"),
        Scenario("the same prefix again: (#1), (#2), then the gap (winxp)", "winxp",
                 [fresh_run("winxp"), present_run("winxp", 1), present_run("winxp", 5),
                  present_run("winxp", 3, delete_printers=(numbered(1),))],
                 installed("winxp", [(numbered(0), 4), (numbered(1), 3), (numbered(2), 5)])),
        Scenario("the same prefix again (win98)", "win98",
                 [fresh_run("win98", 0), present_run("win98", 2)],
                 installed("win98", [(numbered(0), 0), (numbered(1), 2)])),
        Scenario("the same prefix again (win2003)", "win2003",
                 [fresh_run("win2003"), present_run("win2003", 1)],
                 installed("win2003", [(numbered(0), 4), (numbered(1), 1)])),
        cancel("winxp", "os", "escape"),
        cancel("win98", "os", "close"),
        cancel("win2003", "port", "escape"),
        cancel("nt40", "port", "close"),
        Scenario("an unrecognised version (win31)", "win31",
                 [Run(Outcome(boxes=[Box(x.APP_CAPTION, x.UNSUPPORTED, [x.IDOK])], exit_code=1))],
                 nothing("win31")),
        later_windows("vista"),
        later_windows("win7"),
        later_windows("win10"),
        refused_64bit("win7"),
        refused_64bit("winxp64"),
        failing("win95", WIN9X_DRIVERS + r"\Version-0", "AddPrinterDriver", 1021, x.DRIVER_STEP,
                after_failure("win95", driver=False)),
        failing("win2k", NT_DRIVERS + r"\Version-3", "AddPrinterDriver", 1021, x.DRIVER_STEP,
                after_failure("win2k", driver=False)),
        failing("win2003", PRINT + r"\Printers", "AddPrinter", PRINTERS_KEY_REFUSED,
                x.PRINTER_STEP, after_failure("win2003", driver=True)),
        # Not fatal on Server 2003: the printer creation then fails, the
        # driver being missing.
        failing("win2003", NT_DRIVERS + r"\Version-3", "AddPrinterDriver", 1021, x.PRINTER_STEP,
                after_failure("win2003", driver=False),
                more_boxes=[x.error_box("AddPrinter", DRIVER_MISSING)]),
        # Wine's call fails without setting a code: the box shows what the
        # thread had last (183 from Wine's own failed key creation where the
        # listing is the first spooler call, -1 after the windows' calls).
        failing("winxp", NT_DRIVERS, "EnumPrinterDrivers", x.ANY_CODE, x.CHECK["nt"],
                after_failure("winxp", driver=False, monitor=False, nt_drivers_readable=False)),
        broken_monitor("win2003", "Uninstall_2k.dll"),
        broken_monitor("winme", "Uninstall_98.dll"),
        broken_monitor_quiet("winxp", "Uninstall_2k.dll"),
        broken_monitor_quiet("win98", "Uninstall_98.dll"),
        newer_shared_kept("win98"),
        overwrite("win98", 0, "1.0", True, why="older by version"),
        overwrite("win95", 0, "9.0", False, why="newer by version"),
        overwrite("winme", 0, "4.0.0.1", False, why="older only in its build number"),
        overwrite("win98", 0, "none", True, why="without a version"),
        overwrite("win95", 1, "9.0", True, date=OLD_DATE, why="older by date"),
        overwrite("winme", 1, "1.0", False, date=NEW_DATE, why="newer by date"),
        overwrite("win98", 1, "9.0", False, date=OLD_DATE, hlp_only=True,
                  why="help file alone"),
        overwrite("win95", 2, "9.0", True, why="newer by version"),
        overwrite("winme", 3, "1.0", False, why="older by version"),
        restart_yes("winxp"),
        restart_yes("win98"),
        planted("winxp"),
        started_elsewhere("winxp"),
        started_elsewhere("win98"),
        quiet_twice("win98"),
        quiet_twice("winxp"),
        quiet_twice("win2003"),
        passive("win98"),
        passive("winxp"),
        passive("win2003"),
        unattended_failing("win98", "/passive", WIN9X_DRIVERS + r"\Version-0", "AddPrinterDriver",
                           1021, x.DRIVER_STEP, after_failure("win98", driver=False)),
        unattended_failing("win2003", "/quiet", PRINT + r"\Printers", "AddPrinter",
                           PRINTERS_KEY_REFUSED, x.PRINTER_STEP,
                           after_failure("win2003", driver=True)),
        options_preselect("winxp"),
        Scenario("/quiet with a bad port (winxp)", "winxp",
                 [Run(unattended([], [], 87), args=("/quiet", "/port:COM9"))], nothing("winxp")),
        Scenario("/quiet on an unrecognised version (win31)", "win31",
                 [Run(unattended([], [], 1633), args=("/quiet", "/log:" + QUIET_LOG))],
                 nothing("win31"),
                 verify=log_holds("This version of Windows is not supported.", "exit code 1633")),
        Scenario("/quiet with a fatal spooler failure (winxp)", "winxp",
                 [Run(unattended([], [], 1603), args=("/quiet", "/log:" + QUIET_LOG),
                      volatile_keys=(NT_DRIVERS + r"\Version-3",))],
                 after_failure("winxp", driver=False),
                 verify=log_holds("AddPrinterDriver", "1021", "Subkey must be volatile.",
                                  "exit code 1603")),
    ]
    # Their rows build on this module's helpers.
    import driver_life
    import field_situations
    import msi_package
    return s + field_situations.rows() + driver_life.rows() + msi_package.rows()
