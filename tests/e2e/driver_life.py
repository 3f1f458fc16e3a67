"""End-to-end rows of the driver's life on a till as deployment tools see
it: /uninstall between two installations, /uninstall where nothing is
installed, a repeatable /once, a port beyond the dialog's six, an update in
place from a newer package, and a run cut short then completed."""

import os
import time

import expected as x
import scenarios as s
import wine
from expected import Outcome
from field_situations import nothing_read_only, read_only_package
from msi_package import updated

PORTS_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports"


def uninstall(exit_code, end=None) -> s.Run:
    return s.Run(s.unattended([], [], exit_code), args=("/uninstall", "/quiet", "/log:" + s.QUIET_LOG),
                 end=end)


def removed_and_installed_again(version) -> s.Scenario:
    """The machine's state after each step: installed, removed, installed."""
    one = [(x.PRINTER, x.DEFAULT_PORT)]
    first = s.fresh_run(version)
    first.end = s.installed(version, one)
    return s.Scenario(f"install, /uninstall /quiet, install again ({version})", version,
                      [first, uninstall(0, s.removed(version)), s.fresh_run(version)],
                      s.installed(version, one),
                      verify=s.log_holds("/uninstall", "exit code 0"))


def several_printers_removed(version) -> s.Scenario:
    """Every printer of the driver goes, numbered ones too."""
    quiet = ("/quiet", "/log:" + s.QUIET_LOG)
    return s.Scenario(f"/uninstall /quiet removes every printer of the driver ({version})", version,
                      [s.Run(s.unattended([], [], 3010), args=quiet),
                       s.Run(s.unattended([], [], 0), args=quiet), uninstall(0)],
                      s.removed(version),
                      verify=s.log_holds(f'DeletePrinter("{x.PRINTER}")',
                                         f'DeletePrinter("{s.numbered(1)}")', "exit code 0"))


def nothing_to_remove(version) -> s.Scenario:
    return s.Scenario(f"/uninstall /quiet with nothing installed ({version})", version,
                      [uninstall(1605)], s.nothing(version),
                      verify=s.log_holds("The DALVERA QLX-957 driver is not installed.",
                                         "exit code 1605"))


def once_twice(version) -> s.Scenario:
    args = ("/once", "/quiet", "/log:" + s.QUIET_LOG)
    return s.Scenario(f"/once /quiet twice leaves one printer ({version})", version,
                      [s.Run(s.unattended([], [], 3010), args=args),
                       s.Run(s.unattended([], [], 0), args=args)],
                      s.installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                      verify=s.log_holds("exit code 3010",
                                         "The DALVERA QLX-957 driver is already installed.",
                                         "exit code 0"))


def once_attended(version) -> s.Scenario:
    """Attended, /once says so in a box and asks nothing."""
    told = s.Run(Outcome(os_dialog=False, port_dialog=False,
                         boxes=[s.Box(x.APP_CAPTION, "The DALVERA QLX-957 driver is already installed.",
                                      [x.IDOK])]),
                 args=("/once",))
    return s.Scenario(f"/once on an installed till, attended ({version})", version,
                      [s.fresh_run(version), told],
                      s.installed(version, [(x.PRINTER, x.DEFAULT_PORT)]))


def usb_port(version) -> s.Scenario:
    """A port the USB printing support made: a port the spooler does not list
    is refused first and changes nothing; the listed one, given in another
    case, gets the printer as the spooler spells it."""
    def usb_port_listed(ctx):
        ctx.prefix.reg_add(PORTS_KEY, "USB001", "", ctx.work / "reg.out")

    quiet = ("/quiet", "/log:" + s.QUIET_LOG)
    unknown = s.Run(s.unattended([], [], 87), args=(*quiet, "/port:USB009"), end=s.nothing(version))
    listed = s.Run(s.unattended([], [], 3010), args=(*quiet, "/port:usb001"))
    return s.Scenario(f"/quiet /port: a USB port the spooler lists ({version})", version,
                      [unknown, listed], s.installed(version, [(x.PRINTER, "USB001")]),
                      prepare=usb_port_listed,
                      verify=s.log_holds('"/port:USB009": this computer has no port USB009',
                                         "USB001", "exit code 87", "exit code 3010"))


def once_after_printer_deleted(version) -> s.Scenario:
    """/once puts a printer back where the driver has none, then keeps it."""
    args = ("/once", "/quiet", "/log:" + s.QUIET_LOG)
    return s.Scenario(f"/once /quiet after the printer was deleted adds one, once ({version})",
                      version,
                      [s.Run(s.unattended([], [], 3010), args=args),
                       s.Run(s.unattended([], [], 0), args=args, delete_printers=(x.PRINTER,)),
                       s.Run(s.unattended([], [], 0), args=args)],
                      s.installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                      verify=s.log_holds("exit code 3010", "No printer uses the driver: /once adds one",
                                         "Result: printer added, exit code 0",
                                         "The DALVERA QLX-957 driver is already installed.",
                                         "exit code 0"))


# --- an update in place ----------------------------------------------------------

NEWER_DIR = r"C:\pkgnew"  # build/win32/package-newer/: the product's own files one release on


def newer_package_placed(ctx):
    """The newer package as a vendor ships it: the files it has unchanged are
    those of the older one, last-write time included (the build copies them
    anew, and a file without a version is compared by that time)."""
    target = ctx.prefix.unix(NEWER_DIR)
    wine.copy_tree_linked(ctx.newer, target)
    for path in [p for p in target.rglob("*") if p.is_file()]:
        older = ctx.package / path.relative_to(target)
        if older.is_file() and older.read_bytes() == path.read_bytes():
            path.unlink()
            os.link(older, path)


def two_printers_then(version, update: s.Run, *more: s.Run, end=None, verify=None, how=""):
    """A printer on COM2 and one on LPT2, then the newer package's run, which
    updates the driver in place and leaves both printers as they were."""
    quiet = ("/quiet", "/log:" + s.QUIET_LOG)
    two = [(x.PRINTER, 1), (s.numbered(1), 5)]
    update.directory = NEWER_DIR
    update.end = updated(version, two)
    return s.Scenario(f"the newer package {how}updates in place, both printers kept ({version})",
                      version,
                      [s.Run(s.unattended([], [], 3010), args=(*quiet, "/port:COM2")),
                       s.Run(s.unattended([], [], 0), args=(*quiet, "/port:LPT2")), update, *more],
                      end or update.end, prepare=newer_package_placed, verify=verify)


def update_quiet(version) -> s.Scenario:
    """Then the same newer package adds a printer, and the older one adds a
    printer and replaces nothing. Wine's spooler runs in the installer's
    process and frees a monitor's library after each call, so no library is
    held: each library is replaced at once, exit 0, no restart question."""
    quiet = ("/quiet", "/log:" + s.QUIET_LOG)
    four = [(x.PRINTER, 1), (s.numbered(1), 5), (s.numbered(2), x.DEFAULT_PORT),
            (s.numbered(3), x.DEFAULT_PORT)]
    return two_printers_then(
        version, s.Run(s.unattended([], [], 0), args=quiet),
        s.Run(s.unattended([], [], 0), args=quiet, directory=NEWER_DIR),
        s.Run(s.unattended([], [], 0), args=quiet),
        end=updated(version, four), how="with /quiet ",
        verify=s.log_holds(r"Update C:\windows\system32\QLMON957.DLL (installed 3.1.1.0, package 3.1.2.0)",
                           "Result: updated, exit code 0",
                           "The installation is complete: adding a printer",
                           "Result: printer added, exit code 0",
                           "Installed file newer than the package's, kept: ",
                           "Result: printer added, exit code 0"))


def update_attended(version) -> s.Scenario:
    return two_printers_then(version, s.Run(Outcome(statuses=x.update_statuses(x.FAMILY[version]))),
                             how="attended ")


HELD = r"C:\held.txt"


def monitor_held(ctx):
    """before(ctx): another process holds the installed monitor's library."""
    library = x.SYSTEM_DIR + r"\QLMON957.DLL"
    ctx.place(ctx.prefix.unix(ctx.tools_path("hold_library.exe")), ctx.programs / "hold_library.exe")
    ctx.holder = ctx.prefix.start([ctx.tools_path("hold_library.exe"), HELD, library],
                                  ctx.work / "holder.out")
    deadline = time.monotonic() + 60 * wine.TIME_SCALE
    while not ctx.prefix.unix(HELD).exists():
        if ctx.holder.poll() is not None or time.monotonic() > deadline:
            raise RuntimeError(f"hold_library.exe did not load {library} ({ctx.holder.poll()})")
        time.sleep(0.1)


def started_again(ctx) -> list:
    """after(ctx): Windows starts again (the session ends, and Wine's wineboot
    deletes and renames what waits for the start); nothing is left aside."""
    ctx.prefix.end_session()
    ctx.holder.wait(60)
    ctx.prefix.run(["cmd", "/c", "exit"], ctx.work / "session.out", 120)
    system = ctx.prefix.unix(x.SYSTEM_DIR)
    return [f"{p.name} is left in the system directory after the start" for p in system.iterdir()
            if p.name.upper().startswith("QLMON957.DLL.")]


def update_held(version) -> s.Scenario:
    """The monitor's library held while the newer package updates in place
    (Wine refuses to replace a file another process holds open): the newer
    library takes its name at once, the held one is moved aside and deleted
    at the next start; exit 3010."""
    quiet = ("/quiet", "/log:" + s.QUIET_LOG)
    one = [(x.PRINTER, 1)]
    return s.Scenario(f"the newer package updates a held monitor library: 3010 ({version})", version,
                      [s.Run(s.unattended([], [], 3010), args=(*quiet, "/port:COM2")),
                       s.Run(s.unattended([], [], 3010), args=quiet, directory=NEWER_DIR,
                             before=monitor_held, after=started_again)],
                      updated(version, one), prepare=newer_package_placed,
                      verify=s.log_holds(r"Move C:\windows\system32\QLMON957.DLL aside: in use until"
                                         " Windows starts again",
                                         "Result: updated, a restart completes it, exit code 3010"))


# --- a run cut short -----------------------------------------------------------


def no_new_copies(ctx) -> list:
    """No half-placed copy (NAME.qlx-new) is left where the installer places files."""
    found = []
    for folder in (*x.LISTED_DIRS, x.SYSTEM_DIR):
        unix = ctx.prefix.unix(folder)
        if unix.is_dir():
            found += [p for p in unix.iterdir() if p.name.lower().endswith(".qlx-new")]
    return [f"{p.relative_to(ctx.prefix.drive_c)} was left" for p in found]


def cut_then_quiet(version, status, left) -> s.Scenario:
    """An attended installation from a driver CD ended at a status (`left`:
    the machine then), and /quiet completes it: one printer, nothing
    read-only, no half-placed copy."""
    family = x.FAMILY[version]
    cut = s.Run(Outcome(statuses=x.statuses(family, False, status), exit_code=255), end_at=status,
                end=left)
    return s.Scenario(f"ended at {status.strip()!r}, then /quiet completes it ({version})", version,
                      [cut, s.Run(s.unattended([], [], 3010), args=("/quiet", "/log:" + s.QUIET_LOG))],
                      s.installed(version, [(x.PRINTER, x.DEFAULT_PORT)]),
                      prepare=read_only_package,
                      verify=lambda ctx: no_new_copies(ctx) + nothing_read_only(ctx))


def update_cut_then_quiet(version, status) -> s.Scenario:
    """An attended update from the newer package ended at a status, as a power
    cut would; the next /quiet, without /once, completes it: the newer files,
    one printer on its port, nothing under a temporary name."""
    steps = x.update_statuses(x.FAMILY[version])
    shown = steps[:[text for text, _ in steps].index(status) + 1]
    cut = s.Run(Outcome(statuses=shown, exit_code=255), end_at=status, directory=NEWER_DIR)
    quiet = ("/quiet", "/log:" + s.QUIET_LOG)
    return s.Scenario(f"an update ended at {status.strip()!r}, then /quiet completes it ({version})",
                      version,
                      [s.Run(s.unattended([], [], 3010), args=(*quiet, "/port:COM2")), cut,
                       s.Run(s.unattended([], [], (0, 3010)), args=quiet, directory=NEWER_DIR)],
                      updated(version, [(x.PRINTER, 1)]), prepare=newer_package_placed,
                      verify=no_new_copies)


def rows() -> list:
    return [
        removed_and_installed_again("winxp"),
        removed_and_installed_again("win98"),
        removed_and_installed_again("win2003"),
        several_printers_removed("winxp"),
        nothing_to_remove("winxp"),
        nothing_to_remove("win98"),
        once_twice("winxp"),
        once_twice("win98"),
        once_attended("winxp"),
        usb_port("winxp"),
        usb_port("win98"),
        once_after_printer_deleted("winxp"),
        once_after_printer_deleted("win98"),
        update_quiet("winxp"),
        update_quiet("win98"),
        update_attended("winxp"),
        update_attended("win98"),
        # Not on 9x: Wine renames a loaded library there, which Windows 9x
        # refuses, so the path through WININIT.INI cannot be shown.
        update_held("winxp"),
        cut_then_quiet("winxp", x.COPY, s.after_failure("winxp", driver=False, staged_left=False)),
        cut_then_quiet("winxp", x.PRINTER_STEP, s.after_failure("winxp", driver=True)),
        # The printer is there, the uninstall entry not yet: the completing
        # run must not add a second printer.
        cut_then_quiet("winxp", x.DELETE, s.after_failure("winxp", driver=True,
                                                          printers=[(x.PRINTER, x.DEFAULT_PORT)])),
        cut_then_quiet("win98", x.DRIVER_STEP, s.after_failure("win98", driver=False)),
        cut_then_quiet("win98", x.PRINTER_STEP, s.after_failure("win98", driver=True)),
        *(update_cut_then_quiet("winxp", step) for step in (x.COPY, x.DRIVER_STEP, x.DELETE)),
        *(update_cut_then_quiet("win98", step) for step in (x.COPY, x.DRIVER_STEP)),
    ]
