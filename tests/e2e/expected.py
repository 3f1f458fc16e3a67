"""What the installer must show, return and leave behind, built from the
installer's own rules: per family the status lines, the spooler records and
the files; the rest per scenario (scenarios.py)."""

from dataclasses import dataclass, field

PRINTER = "DALVERA QLX-957"
MONITOR = "DALVERA Language Monitor QLX957"
PROCESSOR = "DALVERA PRINT PROCESSOR QLX957"
APP_CAPTION = "QLX957_Installer"
RESTART_CAPTION = "DALVERA QLX-957 installer"
RESTART_QUESTION = ("Restart the computer can take effect.\nPlease restart the computer."
                    "\n\n[Yes] I want to restart my computer now.\n[No] I will restart my computer later.")
CANCELLED = "Install Cancled."
UNSUPPORTED = "This version of Windows is not supported."
NO_64BIT_DRIVER = ("This driver package has no driver for 64-bit Windows: the DALVERA QLX-957 "
                   "driver can be installed on 32-bit Windows only.\n\nNothing was changed.")
IDOK, IDYES, IDNO = 1, 6, 7

PORTS = ("COM1:", "COM2:", "COM3:", "COM4:", "LPT1:", "LPT2:")
DEFAULT_PORT = 4  # LPT1 is checked when the port dialog opens
OS_RADIOS = ["Windows 95", "Windows 98", "Windows ME", "Windows NT 4.0", "Windows 2000",
             "Windows XP", "Windows Server 2003", "Windows Vista or later"]
OS_RADIO_IDS = [1000, 1001, 1005, 1002, 1004, 1003, 1006, 1007]
PORT_RADIOS = ["COM1", "COM2", "COM3", "COM4", "LPT1", "LPT2"]
PORT_RADIO_IDS = [1006, 1008, 1009, 1011, 1007, 1010]
OVERWRITE_ITEMS = ["Overwrite files by version", "Overwrite files by date", "Always overwrite",
                   "Never overwrite"]

# Wine's version names: the OS dialog's preselected radio and the family.
# XP x64 reports 5.2 like Server 2003; Vista and later share one radio.
OS_INDEX = {"win95": 0, "win98": 1, "winme": 2, "nt40": 3, "win2k": 4, "winxp": 5, "win2003": 6,
            "winxp64": 6, "vista": 7, "win7": 7, "win10": 7}
FAMILY = {"win95": "9x", "win98": "9x", "winme": "9x", "nt40": "nt", "win2k": "nt", "winxp": "nt",
          "win2003": "2k", "winxp64": "2k", "vista": "2k", "win7": "2k", "win10": "2k"}

# What GetVersionExA reports under each of Wine's version names.
VERSION_NUMBERS = {"win95": (1, 4, 0), "win98": (1, 4, 10), "winme": (1, 4, 90), "nt40": (2, 4, 0),
                   "win2k": (2, 5, 0), "winxp": (2, 5, 1), "win2003": (2, 5, 2), "winxp64": (2, 5, 2),
                   # prefixstate declares no later version: Windows 10 tells it 6.2, as
                   # Windows does.
                   "vista": (2, 6, 0), "win7": (2, 6, 1), "win10": (2, 6, 2),
                   "win31": (0, 3, 10)}  # Win32s: no platform the program knows
# The Windows the log names, with the true version and build (the manifest
# declares them all); the build is Wine's own.
LATER_WINDOWS = {"vista": ("version 6.0, build ", "-> OsKind 2007 (Windows Vista)"),
                 "win7": ("version 6.1, build ", "-> OsKind 2007 (Windows 7)"),
                 "win10": ("version 10.0, build ", "-> OsKind 2007 (Windows 10)")}

SYSTEM_DIR = r"C:\windows\system32"
DRIVERS = SYSTEM_DIR + r"\spool\drivers"
PRTPROCS = SYSTEM_DIR + r"\spool\prtprocs"
UNINSTALL_DIR = r"C:\windows\QLX-957"
NT_ENV, WIN9X_ENV = "Windows NT x86", "Windows 4.0"

CHECK = {"9x": "Check driver...\r\n", "nt": "Check drivers...\r\n", "2k": "Check drivers...\r\n"}
ADD = "Add printer...\r\n"
MONITOR_STEP = "Install language monitor...\r\n"
PROCESSOR_STEP = "Install print processor...\r\n"
COPY = "Copy files...\r\n"
DRIVER_STEP = "Install printer driver...\r\n"
PRINTER_STEP = "Install printer...\r\n"
DELETE = "Delete installed files...\r\n"
COMPLETED = "Completed!"


@dataclass(frozen=True)
class FamilyFiles:
    source: str              # package folder
    driver_dir: str          # where the installer stages (the default environment's)
    version_dir: str         # where the spooler puts the driver's files
    processor_dir: str
    environment: str
    monitor_files: tuple     # copied to the system directory
    staged: tuple            # copied to driver_dir, in order
    cleaned: tuple           # deleted from driver_dir after a fresh installation
    driver_record: dict      # DRIVER_INFO_3 as read back, names relative to version_dir
    attributes: int
    default_priority: int
    stored_status: int


FILES = {
    "nt": FamilyFiles(
        source="driverNT", driver_dir=DRIVERS + r"\w32x86", version_dir=DRIVERS + r"\w32x86\3",
        processor_dir=PRTPROCS + r"\w32x86", environment=NT_ENV,
        monitor_files=("QLMON957.DLL",),
        staged=("RASDD.DLL", "RASDDUI.DLL", "RASDDUI.HLP", "QLX957E.DLL", "QLUI957.DLL"),
        cleaned=("RASDD.DLL", "RASDDUI.DLL", "RASDDUI.HLP", "QLMON957.DLL", "QLPRO957.DLL",
                 "QLUI957.DLL", "QLX957E.DLL"),
        driver_record=dict(cVersion=3, pDriverPath="RASDD.DLL", pDataFile="QLX957E.DLL",
                           pConfigFile="QLUI957.DLL", pHelpFile="RASDDUI.HLP",
                           pDependentFiles=["RASDDUI.DLL", "RASDDUI.HLP", "RASDD.DLL"]),
        attributes=0x1800, default_priority=0, stored_status=0),
    "2k": FamilyFiles(
        source="driver2k", driver_dir=DRIVERS + r"\w32x86", version_dir=DRIVERS + r"\w32x86\3",
        processor_dir=PRTPROCS + r"\w32x86", environment=NT_ENV,
        monitor_files=("QLMON957.DLL",),
        staged=("UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "QLX957E.DLL",
                "QLUI957.DLL", "QLUI957.INI", "QLX957E.GPD", "STDNAMES.GPD"),
        cleaned=("UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "QLMON957.DLL",
                 "QLPRO957.DLL", "QLX957E.DLL", "QLUI957.DLL", "QLUI957.INI", "QLX957E.GPD",
                 "STDNAMES.GPD"),
        driver_record=dict(cVersion=3, pDriverPath="UNIDRV.DLL", pDataFile="QLX957E.GPD",
                           pConfigFile="UNIDRVUI.DLL", pHelpFile="UNIDRV.HLP",
                           pDependentFiles=["UNIRES.DLL", "STDNAMES.GPD", "QLX957E.DLL",
                                            "QLUI957.DLL", "QLUI957.INI"]),
        attributes=0x1800, default_priority=0, stored_status=0x80),
    "9x": FamilyFiles(
        source="driver9x", driver_dir=DRIVERS + r"\win40", version_dir=DRIVERS + r"\win40\0",
        processor_dir=PRTPROCS + r"\win40", environment=WIN9X_ENV,
        monitor_files=("QLMON957.DLL", "usbmon.dll"),
        staged=("dmcolor.dll", "iconlib.dll", "vantrix.dll", "QLX957E.DRV", "merlowe.dll",
                "unidrv.dll", "unidrv.hlp"),
        cleaned=(),
        driver_record=dict(cVersion=0, pDriverPath="QLX957E.DRV", pDataFile="QLX957E.DRV",
                           pConfigFile="QLX957E.DRV", pHelpFile="UNIDRV.HLP",
                           pDependentFiles=["QLX957E.DRV", "QLMON957.DLL", "QLPRO957.DLL",
                                            "VANTRIX.DLL", "MERLOWE.DLL", "UNIDRV.DLL",
                                            "UNIDRV.HLP", "ICONLIB.DLL", "DMCOLOR.DLL",
                                            "USBMON.DLL"]),
        attributes=0x1800, default_priority=1, stored_status=0),
}

# The universal driver files and the USB monitor that other printers' drivers
# use too: a removal leaves them.
SHARED_FILES = {
    "nt": ("RASDD.DLL", "RASDDUI.DLL", "RASDDUI.HLP"),
    "2k": ("UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "STDNAMES.GPD"),
    "9x": ("DMCOLOR.DLL", "ICONLIB.DLL", "UNIDRV.DLL", "UNIDRV.HLP", "USBMON.DLL"),
}

# Every folder the end state lists, and Wine's own files in them.
LISTED_DIRS = (DRIVERS + r"\w32x86", DRIVERS + r"\w32x86\3", DRIVERS + r"\win40",
               DRIVERS + r"\win40\0", PRTPROCS + r"\w32x86", PRTPROCS + r"\win40", UNINSTALL_DIR)
WINE_FILES = {DRIVERS + r"\w32x86\3": {"WINEPS.DRV"}, DRIVERS + r"\win40\0": {"WINEPS16.DRV"},
              PRTPROCS + r"\w32x86": {"WINEPS.DRV", "WINPRINT.DLL"}}
# The names of the package that may turn up in the system directory.
SYSTEM_NAMES = ("QLMON957.DLL", "USBMON.DLL", "QLPRO957.DLL", "RASDD.DLL", "UNIDRV.DLL",
                "QLX957E.DLL", "QLX957E.DRV", "QLUI957.DLL")
UNINSTALLER_FILES = ("QLX957_Uninstaller.exe", "Uninstall_2k.dll", "Uninstall_98.dll")

# The DEVMODE that the spooler keeps: our demo driver's on the NT families;
# on 9x Wine asks its own PostScript driver.
DEVMODE_NT = dict(dmSpecVersion=1025, dmDriverVersion=769, dmSize=156, dmDriverExtra=0,
                  dmFields=257)
DEVMODE_9X = dict(dmDeviceName="wineps.drv", dmSpecVersion=0, dmDriverVersion=0, dmSize=156,
                  dmDriverExtra=0, dmFields=0)


def statuses(family: str, driver_present: bool, stop_after: str = None):
    """(status, bar position) in order; `stop_after` ends the list at a fatal step."""
    if driver_present:
        texts = [CHECK[family], ADD, PRINTER_STEP]
    else:
        texts = [CHECK[family], ADD, MONITOR_STEP, PROCESSOR_STEP, COPY, DRIVER_STEP, PRINTER_STEP]
        if family != "9x":
            texts.append(DELETE)
    if stop_after is not None:
        texts = texts[:texts.index(stop_after) + 1]
    steps = [(text, 11 * (i + 1)) for i, text in enumerate(texts)]
    return steps if stop_after is not None else steps + [(COMPLETED, 100)]


def update_statuses(family: str):
    """An update in place: no printer step, the staging cleaned up on the NT families."""
    texts = [CHECK[family], COPY, DRIVER_STEP] + ([DELETE] if family != "9x" else [])
    return [(text, 11 * (i + 1)) for i, text in enumerate(texts)] + [(COMPLETED, 100)]


# A call that fails without setting an error code shows whatever the thread
# last had: any code, with its text.
ANY_CODE = "any"


def error_box(call: str, code):
    """The box of a failed spooler call; the code and its system text are filled
    in from the run and the prefix. `code` is one number, a tuple of those
    that Wine's versions and Windows give for the same failure, or ANY_CODE."""
    return Box(APP_CAPTION, f"{call} Error Code: ", [IDOK], error_code=code)


def error_codes(code) -> tuple:
    """The codes a box or log may show for `code` (one number or a tuple)."""
    if code == ANY_CODE:
        return ()
    return code if isinstance(code, tuple) else (code,)


@dataclass
class Box:
    caption: str
    text: str
    buttons: list
    error_code: object = None  # a code or a tuple (error_box); it and its text follow `text`


RESTART_BOX = Box(RESTART_CAPTION, RESTART_QUESTION, [IDYES, IDNO])


@dataclass
class Outcome:
    """What one run of the installer must show and return."""
    os_dialog: bool = True
    port_dialog: bool = True
    statuses: list = field(default_factory=list)
    boxes: list = field(default_factory=list)
    exit_code: object = 0  # a code, or a tuple of the codes accepted
    os_chosen: int = None  # the radio the script picks, if any
    port_chosen: int = None
    window_kinds: list = None  # when set: every window the run may show, in order
    port_preselected: int = DEFAULT_PORT  # the port dialog's checked radio when it opens
    overwrite_preselected: int = 0  # and its combo's selection


@dataclass
class EndState:
    """What a prefix must hold after a scenario's runs."""
    family: str
    printers: list = field(default_factory=list)     # (name, port index), in creation order
    driver: bool = False
    monitor: bool = False
    usbmon: bool = False
    processor: bool = False
    uninstall: bool = False
    nt_drivers_readable: bool = True  # false while the Drivers key is volatile
    # folder -> {UPPER NAME: package path relative to the package root}
    files: dict = field(default_factory=dict)
    system_files: dict = field(default_factory=dict)
    # Printers of other drivers: name -> (driver, port name), kept as they are.
    other_printers: dict = field(default_factory=dict)


def installed_files(family: str, staged_left: bool = False, driver_added: bool = True,
                    replaced: dict = None) -> dict:
    """Folder -> {UPPER NAME: file in the package} after the component
    installation. `staged_left`: the clean-up did not run; `replaced`: staged
    names whose file came from elsewhere (9x: unidrv.dll and .hlp)."""
    layout = FILES[family]
    files = {folder: {} for folder in LISTED_DIRS}
    files[layout.processor_dir]["QLPRO957.DLL"] = f"{layout.source}/QLPRO957.DLL"
    staged = {name.upper(): f"{layout.source}/{name}" for name in layout.staged}
    staged.update(replaced or {})
    if staged_left or family == "9x":
        files[layout.driver_dir].update(staged)
    if driver_added:
        record = layout.driver_record
        names = {record["pDriverPath"], record["pDataFile"], record["pConfigFile"],
                 record["pHelpFile"], *record["pDependentFiles"]}
        # The spooler copies what the staging folder holds of the record's names.
        files[layout.version_dir].update({n: staged[n] for n in names if n in staged})
    files[UNINSTALL_DIR] = {}
    return files


def with_uninstaller(files: dict) -> dict:
    files[UNINSTALL_DIR] = {name.upper(): name for name in UNINSTALLER_FILES}
    return files


def system_files(family: str, monitor_file: str = "default") -> dict:
    """{UPPER NAME: file in the package} of the system directory's package names;
    `monitor_file`: the file that stands in the package for the monitor's."""
    layout = FILES[family]
    found = {name.upper(): f"{layout.source}/{name}" for name in layout.monitor_files}
    if monitor_file != "default":
        found["QLMON957.DLL"] = monitor_file
    return found


def uninstall_values():
    """(name, bytes) in the order the state dumper lists them."""
    return [("DALVERA QLX-957", b"\0"),
            ("DisplayName", b"DALVERA QLX-957 POS Windows Driver 3.1.1E\0"),
            ("UninstallString", b"C:\\windows\\QLX-957\\QLX957_Uninstaller.exe\0")]


def printer_record(family: str, name: str, port) -> dict:
    """`port`: an index into PORTS, or a port's name as the spooler lists it."""
    layout = FILES[family]
    devmode = dict(DEVMODE_9X) if family == "9x" else dict(DEVMODE_NT, dmDeviceName=name[:31])
    return {
        "pServerName": None, "pPrinterName": name, "pShareName": None,
        "pPortName": PORTS[port] if isinstance(port, int) else port,
        "pDriverName": PRINTER, "pComment": None, "pLocation": None, "pDevMode": devmode,
        "pSepFile": None, "pPrintProcessor": PROCESSOR, "pDatatype": "RAW", "pParameters": None,
        "pSecurityDescriptor": None, "Attributes": layout.attributes, "Priority": 1,
        "DefaultPriority": layout.default_priority, "StartTime": 0, "UntilTime": 0, "Status": 0,
        "cJobs": 0, "AveragePPM": 0,
        "storedStatus": {"ok": True, "type": 4, "length": 4, "value": layout.stored_status},
    }


def driver_record(family: str) -> dict:
    layout = FILES[family]
    record = layout.driver_record
    full = lambda name: layout.version_dir + "\\" + name
    return {
        "cVersion": record["cVersion"], "pName": PRINTER, "pEnvironment": layout.environment,
        "pDriverPath": full(record["pDriverPath"]), "pDataFile": full(record["pDataFile"]),
        "pConfigFile": full(record["pConfigFile"]), "pHelpFile": full(record["pHelpFile"]),
        "pDependentFiles": [full(n) for n in record["pDependentFiles"]],
        "pMonitorName": MONITOR, "pDefaultDataType": "RAW",
    }


def monitors(state: EndState) -> list:
    """Wine lists every monitor under its own environment, sorted by name."""
    items = [{"pName": "Local Port", "pEnvironment": NT_ENV, "pDLLName": "localspl.dll"}]
    if state.monitor:
        items.append({"pName": MONITOR, "pEnvironment": NT_ENV, "pDLLName": "QLMON957.DLL"})
    if state.usbmon:
        items.append({"pName": "usbmon.dll", "pEnvironment": NT_ENV, "pDLLName": "usbmon.DLL"})
    return sorted(items, key=lambda item: item["pName"])


def print_processors(state: EndState) -> dict:
    ours = FILES[state.family].environment if state.processor else None
    return {env: [{"pName": "winprint"}] + ([{"pName": PROCESSOR}] if env == ours else [])
            + [{"pName": "wineps"}] for env in (NT_ENV, WIN9X_ENV)}
