#!/usr/bin/python3
"""Reads QLX957_Installer.exe's resources back and checks them.

Usage: check_resources.py build/win32/QLX957_Installer.exe

Checks the three dialog templates control by control (class, id, style,
extended style, position, size, text), their window style, caption, size and
font; the port dialog's initialisation record; the icon and banner formats;
the version record. Prints each failure and a final "N passed, M failed" line;
exits non-zero when anything failed.
"""

import os
import re
import struct
import sys
import xml.parsers.expat

try:
    import pefile
except ImportError:  # a Python without Debian's python3-pefile: use the system one
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath(
            "/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

# Window and control styles.
WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_CAPTION, WS_BORDER, WS_VSCROLL = 0x00C00000, 0x00800000, 0x00200000
WS_SYSMENU, WS_GROUP, WS_TABSTOP = 0x00080000, 0x00020000, 0x00010000
DS_SETFONT, DS_MODALFRAME = 0x40, 0x80
WS_EX_APPWINDOW = 0x00040000
BS_DEFPUSHBUTTON, BS_GROUPBOX, BS_AUTORADIOBUTTON = 0x1, 0x7, 0x9
SS_LEFT, SS_BITMAP = 0x0, 0xE
CBS_DROPDOWNLIST = 0x3
PBS_SMOOTH = 0x1

STYLE_NAMES = [
    (WS_POPUP, "WS_POPUP"), (WS_CHILD, "WS_CHILD"), (WS_VISIBLE, "WS_VISIBLE"),
    (WS_CAPTION, "WS_CAPTION"), (WS_BORDER, "WS_BORDER"), (WS_VSCROLL, "WS_VSCROLL"),
    (WS_SYSMENU, "WS_SYSMENU"), (WS_GROUP, "WS_GROUP"), (WS_TABSTOP, "WS_TABSTOP"),
]

BUTTON, STATIC, COMBOBOX = 0x80, 0x82, 0x85
PROGRESS = "msctls_progress32"
CHILD = WS_CHILD | WS_VISIBLE
DIALOG_STYLE = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU

RT_BITMAP, RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 2, 3, 5, 14, 16, 24
RT_DLGINIT = 240


def ctl(cls, ident, text, style, x, y, cx, cy):
    return {"class": cls, "id": ident, "text": text, "style": style | CHILD, "exstyle": 0,
            "rect": (x, y, cx, cy)}


def radio(ident, text, x, y, cx, cy, group=False):
    return ctl(BUTTON, ident, text, BS_AUTORADIOBUTTON | (WS_GROUP if group else 0), x, y, cx, cy)


def next_button(x, y):
    return ctl(BUTTON, 1, "&Next", BS_DEFPUSHBUTTON | WS_TABSTOP, x, y, 41, 14)


TEMPLATES = {
    102: {
        "extended": True,
        "style": DIALOG_STYLE | WS_VISIBLE, "exstyle": WS_EX_APPWINDOW,
        "rect": (0, 0, 375, 130), "caption": "DALVERA QLX-957 Installation Progress",
        "font": (8, 0, 0, 1, "MS Sans Serif"),
        "controls": [
            ctl(PROGRESS, 1000, "Progress1", PBS_SMOOTH | WS_BORDER, 160, 97, 195, 13),
            ctl(STATIC, 1003, "", SS_LEFT | WS_GROUP, 221, 81, 95, 8),
            ctl(BUTTON, -1, "", BS_GROUPBOX, 7, 7, 361, 117),
            ctl(STATIC, -1, "Progress Status : ", SS_LEFT | WS_GROUP, 160, 81, 55, 8),
            ctl(STATIC, -1, 132, SS_BITMAP, 13, 16, 124, 102),
            ctl(STATIC, -1, "DALVERA QLX-957", SS_LEFT | WS_GROUP, 157, 24, 129, 8),
            ctl(STATIC, -1, "Driver Version: V3.1.1E", SS_LEFT | WS_GROUP, 157, 38, 133, 8),
            ctl(BUTTON, -1, "", BS_GROUPBOX, 152, 68, 210, 50),
        ],
    },
    129: {
        "extended": False,
        "style": DIALOG_STYLE, "exstyle": 0,
        "rect": (0, 0, 206, 118), "caption": "Select OS Type",
        "font": (8, None, None, None, "MS Sans Serif"),
        "controls": [
            next_button(158, 96),
            radio(1000, "Windows 95", 16, 23, 62, 12, group=True),
            radio(1001, "Windows 98", 16, 41, 68, 12),
            radio(1005, "Windows ME", 16, 59, 62, 12),
            radio(1002, "Windows NT 4.0", 16, 76, 68, 12),
            radio(1004, "Windows 2000", 107, 23, 62, 12),
            radio(1003, "Windows XP", 107, 41, 62, 12),
            radio(1006, "Windows Server 2003", 107, 60, 84, 12),
            radio(1007, "Windows Vista or later", 107, 76, 84, 12),
            ctl(BUTTON, -1, "OS Type", BS_GROUPBOX, 7, 7, 192, 86),
        ],
    },
    130: {
        "extended": False,
        "style": DIALOG_STYLE, "exstyle": 0,
        "rect": (0, 0, 174, 119), "caption": "Select Port Type",
        "font": (8, None, None, None, "MS Sans Serif"),
        "controls": [
            next_button(126, 98),
            ctl(BUTTON, -1, "Serial Port", BS_GROUPBOX, 7, 7, 100, 51),
            radio(1006, "COM1", 15, 23, 37, 12, group=True),
            radio(1008, "COM2", 15, 38, 39, 12),
            radio(1009, "COM3", 59, 23, 39, 12),
            radio(1011, "COM4", 59, 38, 38, 12),
            ctl(BUTTON, -1, "Parallel Port", BS_GROUPBOX, 111, 7, 56, 51),
            radio(1007, "LPT1", 121, 24, 37, 12),
            radio(1010, "LPT2", 121, 39, 39, 12),
            ctl(COMBOBOX, 1000, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 7, 81, 160, 153),
            ctl(STATIC, -1, "Universal Driver Overwrite", SS_LEFT | WS_GROUP, 7, 64, 160, 13),
        ],
    },
}

COMBO_ITEMS = ["Overwrite files by version", "Overwrite files by date", "Always overwrite",
               "Never overwrite"]

VERSION_STRINGS = {
    "FileDescription": "QLX957_Installer MFC Application",
    "FileVersion": "1, 0, 2, 1",
    "InternalName": "QLX957_Installer",
    "OriginalFilename": "QLX957_Installer.EXE",
    "ProductName": "QLX957_Installer Application",
    "ProductVersion": "1, 0, 2, 1",
}


class Checker:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def equal(self, what, actual, expected):
        if actual == expected:
            self.passed += 1
        else:
            self.failed += 1
            print(f"FAIL {what}: got {actual!r}, expected {expected!r}")

    def style(self, what, actual, expected):
        if actual == expected:
            self.passed += 1
            return
        self.failed += 1
        diff = actual ^ expected
        named = [f"{'+' if actual & bit else '-'}{name}" for bit, name in STYLE_NAMES if diff & bit]
        rest = diff & ~sum(bit for bit, _ in STYLE_NAMES)
        if rest:
            named.append(f"other bits 0x{rest:x}")
        print(f"FAIL {what}: style 0x{actual:08x}, expected 0x{expected:08x} ({', '.join(named)})")

    def true(self, what, condition):
        self.equal(what, bool(condition), True)


class Reader:
    def __init__(self, data, offset=0):
        self.data, self.pos = data, offset

    def unpack(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self, n=4):
        self.pos = (self.pos + n - 1) // n * n

    def wide_string(self):
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        text = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return text

    def sz_or_ord(self):
        first = struct.unpack_from("<H", self.data, self.pos)[0]
        if first == 0:
            self.pos += 2
            return ""
        if first == 0xFFFF:
            self.pos += 4
            return struct.unpack_from("<H", self.data, self.pos - 2)[0]
        return self.wide_string()


def parse_dialog(data):
    r = Reader(data)
    version, signature = struct.unpack_from("<HH", data, 0)
    d = {"extended": version == 1 and signature == 0xFFFF}
    if d["extended"]:
        r.pos = 4
        _help, d["exstyle"], d["style"], count = r.unpack("IIIH")
    else:
        d["style"], d["exstyle"], count = r.unpack("IIH")
    d["rect"] = r.unpack("hhhh")
    d["menu"], d["class"], d["caption"] = r.sz_or_ord(), r.sz_or_ord(), r.wide_string()
    if d["style"] & DS_SETFONT:
        if d["extended"]:
            size, weight, italic, charset = r.unpack("HHBB")
        else:
            size, weight, italic, charset = r.unpack("H"), None, None, None
        d["font"] = (size, weight, italic, charset, r.wide_string())
    d["controls"] = []
    for _ in range(count):
        r.align()
        c = {}
        if d["extended"]:
            _help, c["exstyle"], c["style"] = r.unpack("III")
            c["rect"] = r.unpack("hhhh")
            c["id"] = r.unpack("i")
        else:
            c["style"], c["exstyle"] = r.unpack("II")
            c["rect"] = r.unpack("hhhh")
            c["id"] = r.unpack("h")
        c["class"], c["text"] = r.sz_or_ord(), r.sz_or_ord()
        extra = r.unpack("H")
        r.pos += extra
        d["controls"].append(c)
    return d


def same_class(actual, expected):
    if isinstance(expected, str):
        return isinstance(actual, str) and actual.lower() == expected.lower()
    return actual == expected


def resources(pe):
    """{(type, name): bytes} of every resource, whatever its language."""
    found = {}
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in rtype.directory.entries:
            for lang in name.directory.entries:
                entry = lang.data.struct
                key = (rtype.id if rtype.id is not None else str(rtype.name),
                       name.id if name.id is not None else str(name.name))
                found[key] = (pe.get_data(entry.OffsetToData, entry.Size), lang.id)
    return found


def check_dialogs(ck, res):
    for ident, expected in TEMPLATES.items():
        where = f"dialog {ident}"
        if (RT_DIALOG, ident) not in res:
            ck.true(f"{where} exists", False)
            continue
        data, language = res[(RT_DIALOG, ident)]
        ck.equal(f"{where} language", language, 0x0409)
        d = parse_dialog(data)
        ck.equal(f"{where} extended template", d["extended"], expected["extended"])
        ck.style(f"{where} window", d["style"], expected["style"])
        ck.equal(f"{where} extended style", d["exstyle"], expected["exstyle"])
        ck.equal(f"{where} position and size", d["rect"], expected["rect"])
        ck.equal(f"{where} caption", d["caption"], expected["caption"])
        ck.equal(f"{where} menu and class", (d["menu"], d["class"]), ("", ""))
        ck.equal(f"{where} font", d.get("font"), expected["font"])
        ck.equal(f"{where} control count", len(d["controls"]), len(expected["controls"]))
        for n, (actual, want) in enumerate(zip(d["controls"], expected["controls"]), 1):
            at = f"{where} control {n} (id {want['id']})"
            ck.true(f"{at} class {actual['class']!r}", same_class(actual["class"], want["class"]))
            ck.equal(f"{at} id", actual["id"], want["id"])
            ck.style(f"{at}", actual["style"], want["style"])
            ck.equal(f"{at} extended style", actual["exstyle"], want["exstyle"])
            ck.equal(f"{at} position and size", actual["rect"], want["rect"])
            ck.equal(f"{at} text", actual["text"], want["text"])


def check_dialog_init(ck, res):
    key = (RT_DLGINIT, 130)
    if key not in res:
        ck.true("dialog-initialisation record 130 exists", False)
        return
    data, _ = res[key]
    expected = b""
    for item in COMBO_ITEMS:
        text = item.encode("ascii") + b"\0"
        expected += struct.pack("<HHI", 1000, 0x0403, len(text)) + text
    expected += b"\0\0"
    ck.equal("dialog-initialisation record 130 bytes", data, expected)
    ck.true("no dialog-initialisation record for 102 or 129",
            (RT_DLGINIT, 102) not in res and (RT_DLGINIT, 129) not in res)


def check_icon(ck, res):
    key = (RT_GROUP_ICON, 128)
    if key not in res:
        ck.true("icon group 128 exists", False)
        return
    data, _ = res[key]
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    ck.equal("icon 128 directory", (reserved, kind, count), (0, 1, 2))
    sizes = []
    for i in range(count):
        w, h, colours, _, planes, bits, size, image_id = struct.unpack_from(
            "<BBBBHHIH", data, 6 + 14 * i)
        sizes.append((w, h))
        at = f"icon 128 image {w}x{h}"
        ck.equal(f"{at} directory colours, planes, bits", (colours, planes, bits), (16, 1, 4))
        image, _ = res.get((RT_ICON, image_id), (b"", None))
        ck.equal(f"{at} stored size", len(image), size)
        if len(image) < 40:
            ck.true(f"{at} image present", False)
            continue
        hsize, bw, bh, bplanes, bbits, compression = struct.unpack_from("<IiiHHI", image, 0)
        ck.equal(f"{at} bitmap header", (hsize, bw, bh, bplanes, bbits, compression),
                 (40, w, 2 * h, 1, 4, 0))
        row = lambda bits_per_pixel: (w * bits_per_pixel + 31) // 32 * 4
        ck.equal(f"{at} data size", len(image), 40 + 16 * 4 + (row(4) + row(1)) * h)
    ck.equal("icon 128 image sizes", sorted(sizes), [(16, 16), (32, 32)])


def check_bitmap(ck, res):
    key = (RT_BITMAP, 132)
    if key not in res:
        ck.true("bitmap 132 exists", False)
        return
    data, _ = res[key]
    hsize, w, h, planes, bits, compression, _, _, _, used = struct.unpack_from(
        "<IiiHHIIiiI", data, 0)
    ck.equal("bitmap 132 header", (hsize, w, abs(h), planes, bits, compression),
             (40, 186, 165, 1, 8, 0))
    colours = used or 256
    ck.equal("bitmap 132 data size", len(data), 40 + 4 * colours + (186 + 3) // 4 * 4 * 165)


def version_block(data, pos):
    """One node of the version record: (key, type, value bytes, children), end offset."""
    start = pos
    length, value_length, kind = struct.unpack_from("<HHH", data, pos)
    r = Reader(data, pos + 6)
    key = r.wide_string()
    r.align()
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = data[r.pos:r.pos + value_bytes]
    r.pos += value_bytes
    children = []
    while True:
        r.align()
        if r.pos >= start + length:
            break
        child, r.pos = version_block(data, r.pos)
        children.append(child)
    return (key, kind, value, children), start + length


def check_version(ck, res, exe_path):
    if (RT_VERSION, 1) not in res:
        ck.true("version record 1 exists", False)
        return
    (key, _, fixed, children), _ = version_block(res[(RT_VERSION, 1)][0], 0)
    ck.equal("version record key", key, "VS_VERSION_INFO")
    (signature, _, file_ms, file_ls, product_ms, product_ls, flags_mask, flags, file_os,
     file_type, subtype) = struct.unpack_from("<11I", fixed, 0)
    ck.equal("fixed info signature", signature, 0xFEEF04BD)
    ck.equal("file version 1.0.2.1", (file_ms, file_ls), (0x00010000, 0x00020001))
    ck.equal("product version 1.0.2.1", (product_ms, product_ls), (0x00010000, 0x00020001))
    ck.equal("file flags", flags & flags_mask, 0)
    ck.equal("file OS VOS__WINDOWS32, type VFT_APP, no subtype", (file_os, file_type, subtype),
             (0x4, 0x1, 0))
    blocks = {child[0]: child for child in children}
    ck.equal("version record blocks", sorted(blocks), ["StringFileInfo", "VarFileInfo"])
    tables = blocks.get("StringFileInfo", ("", 0, b"", []))[3]
    ck.equal("string blocks", [t[0] for t in tables], ["040904b0"])
    strings = {}
    for name, kind, value, _ in (tables[0][3] if tables else []):
        text = value.decode("utf-16-le")
        # One terminating NUL, counted in the value's length, and none inside.
        ck.true(f"version string {name} ends with one NUL",
                kind == 1 and text.endswith("\0") and "\0" not in text[:-1])
        strings[name] = text[:-1]
    ck.equal("version strings", strings, VERSION_STRINGS)
    # The log's header names the version the program's own code holds
    # (generated beside the executable from the build's one version).
    info = os.path.join(os.path.dirname(os.path.abspath(exe_path)), "generated",
                        "ProgramVersion.h")
    with open(info, encoding="ascii") as header:
        declared = re.search(r'QLX_PROGRAM_VERSION "([0-9.]+)"', header.read())
    ck.equal("log header version matches the record",
             declared.group(1) if declared else None,
             strings.get("FileVersion", "").replace(", ", "."))
    variables = blocks.get("VarFileInfo", ("", 0, b"", []))[3]
    ck.equal("translation 0x409/1200", [(v[0], v[2]) for v in variables],
             [("Translation", struct.pack("<HH", 0x409, 1200))])


# Vista, 7, 8, 8.1 and 10: declared, they report their true version.
SUPPORTED_OS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"


def manifest_elements(data):
    """[(name, {attribute: value})] in document order, namespace declarations
    kept as plain attributes, as an old parser sees them."""
    elements = []
    parser = xml.parsers.expat.ParserCreate()  # no namespace processing
    parser.StartElementHandler = lambda name, attributes: elements.append((name, attributes))
    parser.Parse(data, True)
    return elements


def check_manifest(ck, res):
    ck.true("manifest 1 present", (RT_MANIFEST, 1) in res)
    if (RT_MANIFEST, 1) not in res:
        return
    try:
        elements = manifest_elements(res[(RT_MANIFEST, 1)][0])
    except xml.parsers.expat.ExpatError as error:
        ck.true(f"manifest is XML ({error})", False)
        return
    # Windows XP SP2 and Server 2003 without SP1 fail on an element with two
    # namespace declarations; XP without updates on a trustInfo without one.
    crowded = [name for name, attributes in elements
               if sum(1 for key in attributes if key == "xmlns" or key.startswith("xmlns:")) > 1]
    ck.equal("manifest: at most one xmlns per element", crowded, [])
    trust = [attributes for name, attributes in elements if name == "trustInfo"]
    ck.equal("manifest: trustInfo declares asm.v3 only",
             [{k: v for k, v in a.items() if k.startswith("xmlns")} for a in trust],
             [{"xmlns": ASM_V3}])
    ck.equal("manifest: no prefixed element", [n for n, _ in elements if ":" in n], [])
    levels = [(a.get("level"), a.get("uiAccess")) for n, a in elements
              if n == "requestedExecutionLevel"]
    ck.equal("manifest: requireAdministrator, no uiAccess", levels,
             [("requireAdministrator", "false")])
    ck.equal("manifest: supportedOS Vista to 10",
             sorted(a.get("Id", "").lower() for n, a in elements if n == "supportedOS"),
             sorted(SUPPORTED_OS))
    # A dependency on the version 6 common controls would change every dialog's look.
    ck.equal("manifest: no dependency", [n for n, _ in elements if n == "dependency"], [])


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    pe = pefile.PE(argv[1])
    res = resources(pe)
    ck = Checker()
    check_dialogs(ck, res)
    check_dialog_init(ck, res)
    check_icon(ck, res)
    check_bitmap(ck, res)
    check_version(ck, res, argv[1])
    check_manifest(ck, res)
    print(f"{ck.passed} passed, {ck.failed} failed")
    return 1 if ck.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
