"""End-to-end rows of what a till meets in the field: a driver CD, a package
with a file missing, a run that failed and is tried again, a printer name
that another driver's printer has, and two copies started together. Each
checks the machine's end state, and where a run leaves something behind,
its state right after that run too."""

import shutil
import subprocess
import time

import checks
import expected as x
import scenarios as s
import wine
from expected import Box, Outcome

# --- a driver CD ----------------------------------------------------------------


def read_only_package(ctx):
    """The package as a CD gives it: every file read-only (Wine shows a file
    without write bits as FILE_ATTRIBUTE_READONLY). Each file becomes a copy
    of its own first: the prefix's package is hard-linked to the build's."""
    for path in [p for p in ctx.package_in_prefix.rglob("*") if p.is_file()]:
        own = path.with_name(path.name + ".own")
        shutil.copy2(path, own)
        own.replace(path)
        path.chmod(0o444)


def nothing_read_only(ctx) -> list:
    """No file the installer placed is read-only."""
    found = []
    for folder in x.LISTED_DIRS:
        unix = ctx.prefix.unix(folder)
        found += [p for p in unix.iterdir() if p.is_file()] if unix.is_dir() else []
    system = ctx.prefix.unix(x.SYSTEM_DIR)
    found += [p for p in system.iterdir() if p.name.upper() in x.SYSTEM_NAMES]
    return [f"{p.relative_to(ctx.prefix.drive_c)} is read-only" for p in found
            if not p.stat().st_mode & 0o222]


def driver_cd(version) -> s.Scenario:
    return s.Scenario(f"installed from a read-only driver CD ({version})", version,
                      [s.fresh_run(version)], s.installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                      prepare=read_only_package, verify=nothing_read_only)


# --- a package with a file missing ---------------------------------------------


def incomplete_box(*missing) -> Box:
    return Box(x.APP_CAPTION,
               "The driver package is incomplete. These files are missing:\n"
               + "".join("\n" + name for name in missing) + "\n\nNothing was installed.", [x.IDOK])


def missing_then_restored(version, folder, name) -> s.Scenario:
    """The first run names the missing file and changes nothing; with the
    file back, the next run is a fresh installation."""
    family = x.FAMILY[version]
    path = f"{folder}/{name}"

    def take_away(ctx):
        (ctx.package_in_prefix / path).unlink()

    def restore(ctx):
        ctx.place(ctx.package_in_prefix / path, ctx.package / path)

    refused = s.Run(Outcome(statuses=x.statuses(family, False, x.CHECK[family]),
                            boxes=[incomplete_box(f"{folder}\\{name}")], exit_code=1),
                    end=s.nothing(version))
    return s.Scenario(f"{folder}\\{name} missing, then restored ({version})", version,
                      [refused, s.fresh_run(version, before=restore)],
                      s.installed(version, [(x.PRINTER, x.DEFAULT_PORT)]), prepare=take_away)


# --- a failed run tried again ---------------------------------------------------


def cause_removed(ctx):
    """A volatile key lives as long as the prefix's session: ending it takes
    the key, and with it the cause of the failure, away."""
    ctx.prefix.end_session()


def failed_then_again(version, key, call, code, stop_after, left) -> s.Scenario:
    """After the failure is gone, the next run completes the installation
    with no error box: exactly one printer, the clean-up, the uninstall entry."""
    family = x.FAMILY[version]
    failed = s.Run(Outcome(statuses=x.statuses(family, False, stop_after),
                           boxes=[x.error_box(call, code)], exit_code=1),
                   volatile_keys=(key,), end=left)
    return s.Scenario(f"{call} fails, then the run is tried again ({version})", version,
                      [failed, s.fresh_run(version, before=cause_removed)],
                      s.installed(version, [(x.PRINTER, x.DEFAULT_PORT)]))


# --- the product's name in use ----------------------------------------------------

OTHER_DRIVER = "Another Vendor Receipt Printer"


def printer_of_another_driver(name, port):
    """A printer as the spooler keeps it in the registry, made with another
    driver before the installer runs."""
    def prepare(ctx):
        key = s.PRINT + "\\Printers\\" + name
        for value, data in (("Name", name), ("Port", port), ("Printer Driver", OTHER_DRIVER),
                            ("Print Processor", "winprint"), ("Datatype", "RAW")):
            ctx.prefix.reg_add(key, value, data, ctx.work / "reg.out")
    return prepare


def name_in_use(version) -> s.Scenario:
    """The fresh installation takes the next free numbered name and leaves the
    other printer as it is."""
    end = s.installed(version, [(s.numbered(1), x.DEFAULT_PORT)],
                      other_printers={x.PRINTER: (OTHER_DRIVER, "COM1:")})
    return s.Scenario(f"the product's name belongs to another driver's printer ({version})",
                      version, [s.fresh_run(version)], end,
                      prepare=printer_of_another_driver(x.PRINTER, "COM1:"))


# --- two copies at once ---------------------------------------------------------

ALREADY_RUNNING = "Another installation of the DALVERA QLX-957 driver is already running."


def first_copy_waiting(ctx):
    """Starts the first copy, which waits at its OS dialog until the gate
    opens; returns once that dialog is up."""
    ctx.first, ctx.first_log = ctx.drive_alongside(
        ["--timeout", str(round(600 * wine.TIME_SCALE)), "--gate", ctx.tools_path("gate.txt"),
         "--dir", r"C:\pkg"], "first")
    deadline = time.monotonic() + 180 * wine.TIME_SCALE
    while time.monotonic() < deadline and ctx.first.poll() is None:
        try:
            events = checks.read_log(ctx.first_log)
        except ValueError:  # a line being written
            events = []
        if any(e["event"] == "window" and e["kind"] == "os" for e in events):
            return
        time.sleep(0.2)
    raise RuntimeError("the first copy did not show its OS dialog")


def first_copy_finishes(ctx) -> list:
    """Opens the gate; the first copy then installs as if alone."""
    ctx.prefix.unix(ctx.tools_path("gate.txt")).write_text("open\n")
    try:
        ctx.first.wait(600 * wine.TIME_SCALE)
    except subprocess.TimeoutExpired:
        ctx.first.kill()
        return ["the first copy did not end"]
    problems = checks.check_run(checks.read_log(ctx.first_log),
                                s.fresh_run(ctx.scenario.version).outcome,
                                ctx.scenario.version, {})
    return [f"the first copy: {p}" for p in problems]


def two_copies(version) -> s.Scenario:
    quiet = s.Run(s.unattended([], [], 1618), args=("/quiet", "/log:" + s.QUIET_LOG),
                  before=first_copy_waiting)
    attended = s.Run(Outcome(os_dialog=False, port_dialog=False,
                             boxes=[Box(x.APP_CAPTION, ALREADY_RUNNING, [x.IDOK])], exit_code=1),
                     after=first_copy_finishes)
    return s.Scenario(f"a second copy while the first one runs ({version})", version,
                      [quiet, attended], s.installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                      verify=s.log_holds(ALREADY_RUNNING, "exit code 1618"))


def rows() -> list:
    return [
        driver_cd("winxp"),
        driver_cd("win98"),
        # The language monitor's DLL: before the package was checked, the
        # run went on without it and AddMonitor failed with 126.
        missing_then_restored("winxp", "driverNT", "QLMON957.DLL"),
        missing_then_restored("win98", "driver9x", "vantrix.dll"),
        failed_then_again("win2003", s.PRINT + r"\Printers", "AddPrinter",
                          s.PRINTERS_KEY_REFUSED, x.PRINTER_STEP,
                          s.after_failure("win2003", driver=True)),
        failed_then_again("winxp", s.NT_DRIVERS + r"\Version-3", "AddPrinterDriver", 1021,
                          x.DRIVER_STEP, s.after_failure("winxp", driver=False)),
        name_in_use("winxp"),
        name_in_use("win98"),
        two_copies("winxp"),
    ]
