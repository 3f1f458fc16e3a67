"""End-to-end rows of the driver's life on a till as deployment tools see
it: /uninstall between two installations, /uninstall where nothing is
installed, a repeatable /once, and a port beyond the dialog's six."""

import expected as x
import scenarios as s
from expected import Outcome

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
    ]
