"""Drive the real Pelvanto.exe under Wine on a private Xvfb display, like a user.

Pure python3 standard library. Pictures travel as BMP (read here with struct) and PNG
(written and read through ImageMagick's ``convert``).

A scenario looks like this::

    from harness import Session, pelvanto_exe

    with Session(1024, 768, name="main-window") as s:
        proc = s.start(pelvanto_exe())
        wid = s.wait_window(r"^Pelvanto \\(")
        g = s.window_geometry(wid)           # absolute position and size of the client area
        s.click(g.x + 50, g.y + 31)           # a point in client coordinates, made absolute
        shot = s.screenshot_pixels()          # Image: .width, .height, .pixel(x, y) -> (r, g, b)

Everything the session started (Xvfb, openbox, the Wine processes of its prefix) is ended when
the ``with`` block is left, also on failure; if the test process is killed outright, the
children die with it (parent-death signal).

Module-level API:
    pelvanto_exe(name)        path of a program of the Windows build; fails when it is missing
    REPO, BUILD_DIR, WIN_BUILD_DIR, WINEPREFIX, OUT_DIR, FONT_DIR
    wine_prefix(fonts)        the Wine prefix of a font environment (each has its own)
    Image                     an RGB picture: width, height, pixel(), row(), crop(), diff()
    read_bmp(data)            parse BMP bytes (24/32-bit, bottom-up or top-down) into an Image
    write_bmp(path, image)    write a 24-bit BMP
    read_png(path)            PNG -> Image (through convert)
    write_png(path, image)    Image -> PNG (through convert)
    pattern(path, w, h, kind) write a known test picture as PNG and return it as an Image
    wait_until(pred, timeout, interval)   poll until pred() is truthy; return its value or None
    process_alive(proc)       whether a started process still runs
    Geometry(x, y, width, height)         absolute screen rectangle; .centre, .contains(x, y)

Session(width, height, name) — one display (Xvfb); name picks the output folder OUT_DIR/name-WxH
(screenshots, program logs, failure.png when the block fails).
Session(monitors=[...], name) — several monitors (Xorg's dummy driver laid out with xrandr); see
Monitor and "Several monitors" below. Either way:
    start(exe, *args) -> Popen            run a Windows program (its pid is the program's)
    run(args) -> stdout                   any command on this display
    find_windows(regex) / wait_window(regex, timeout) / wait_window_gone(regex, timeout)
    window_name(wid), window_geometry(wid) (client area), frame_geometry(wid) (with the WM frame)
    minimize(wid)                         as the title bar's button does (openbox)
    tray_window(frame=False), tray_icon_centre(index)   Wine's notification-area window
    move / click / double_click / drag / key / type_text   input through xdotool
    screenshot(path), screenshot_pixels(save_as, region), wait_colour(x, y, rgb, timeout)
    save_crop(image, box, path)
    set_root_pattern(png), show_pattern(kind) -> Image   a known picture on the bare screen
    clipboard_targets(), clipboard_bmp() -> Image | None
    monitors, primary, virtual_origin, to_windows(x, y), to_root(x, y), x_server_pid

Facts of this test bed that shape the scenarios:
- Wine's X window of a decorated top-level is its client area; openbox adds the frame around it.
- Wine shows notification-area icons in its "Wine System Tray" window (top left), each icon a
  square cell as high as the window; the window goes when its last icon goes.
- A full-screen topmost window of the program covers that tray window.
- A picture on the clipboard reaches X as image/bmp with a file header: the program's 24-bit CF_DIB as
  it is, a CF_BITMAP (fake_chat.exe's) as a 32-bit BI_BITFIELDS BMP.

Several monitors (Debian 12, Wine 8; checked with the helper monitors.exe, whose report
read_monitor_report parses, and by test_harness_monitors.py):
- Xvfb has one screen of one size, so a layout runs on Xorg with the dummy video driver and a
  generated config (Virtual 8192 4320, VideoRam 512000, no input devices: xdotool's XTEST
  devices are enough). As root Xorg takes -config from any absolute path (checked); a non-root
  Xorg takes only paths relative to its config directories (Xorg(1)), so the harness
  refuses several monitors unless it runs as root. The display number is picked by Xorg itself
  (-displayfd), like Xvfb's, and -sharevts -novtswitch keep servers of parallel runs from
  fighting over a VT.
- Each monitor is one output DUMMY0..DUMMY15 with a cvt mode; --fb makes the root exactly the
  layout's bounding box, which the layout must touch at x = 0 and y = 0 (the root cannot be
  left of or above its origin), so screenshots are of the layout and nothing else. Unused
  outputs are off.
- Wine reports one monitor per output: EnumDisplayMonitors gives each rectangle, the work area
  equals the monitor rectangle (openbox reserves nothing), every monitor has the prefix's DPI,
  SM_CMONITORS is the count and SM_*VIRTUALSCREEN is the bounding box. The primary is at
  Windows (0, 0) wherever it is on the root; so a monitor left of (or above) it has negative
  coordinates. Windows point (wx, wy) is root point (wx - vx, wy - vy), where (vx, vy) =
  (SM_XVIRTUALSCREEN, SM_YVIRTUALSCREEN) = virtual_origin: screenshots (import -window root)
  and xdotool work in root coordinates, the program in Windows coordinates. GetCursorPos
  agrees after an xdotool move.
- hsetroot -tile and -center place the picture per monitor (centred on each output), so the
  root is painted with "hsetroot -root -tile", which treats the layout as one screen and is
  pixel-exact over the whole root, areas that no monitor shows included.
"""

from __future__ import annotations

import contextlib
import ctypes
import fcntl
import os
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path
from typing import Callable, Optional, Sequence, TypeVar

REPO = Path(__file__).resolve().parents[2]
BUILD_DIR = REPO / "build"
# Where the cross-built Windows programs are; ctest passes it, a manual run uses the preset's dir.
WIN_BUILD_DIR = Path(os.environ.get("PELVANTO_WIN_BUILD_DIR") or BUILD_DIR / "mingw").resolve()
# One prefix for every scenario: making one takes several seconds, reusing it costs nothing.
WINEPREFIX = Path(os.environ.get("PELVANTO_WINEPREFIX") or BUILD_DIR / "e2e" / "wineprefix").resolve()
# Pinned font environments: Wine sees only the fonts a fontconfig file of this folder lists, so
# the machine's other fonts cannot change a result. "minimal" holds the fonts install-deps.sh
# installs for the program; "droid" adds Droid Sans Fallback, which apt brings along with
# recommends and which has no glyphs for digits or Latin letters.
FONT_DIR = REPO / "tests" / "e2e" / "fonts"
# Screenshots and logs of each session, kept for looking at after a failure.
OUT_DIR = BUILD_DIR / "e2e" / "out"

T = TypeVar("T")


def wine_prefix(fonts: str = "minimal") -> Path:
    """The Wine prefix of a font environment. Each has its own: Wine keeps every font it has
    once seen in the prefix's registry and loads it again whatever fontconfig lists later."""
    return WINEPREFIX if fonts == "minimal" else WINEPREFIX.with_name(f"{WINEPREFIX.name}-{fonts}")


def pelvanto_exe(name: str = "Pelvanto.exe") -> Path:
    """Path of a program of the Windows build. Raises AssertionError when it is not built:
    an end-to-end run without the program must fail, never pass quietly."""
    path = WIN_BUILD_DIR / name
    if not path.is_file():
        raise AssertionError(
            f"{path} is not built; build it first: cmake --preset mingw && cmake --build --preset mingw")
    return path


def wait_until(predicate: Callable[[], T], timeout: float = 10.0, interval: float = 0.1) -> Optional[T]:
    """Call predicate until it returns something truthy; return that, or None after timeout s."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def process_alive(proc: subprocess.Popen) -> bool:
    """Whether a process from Session.start still runs."""
    return proc.poll() is None


# ---------------------------------------------------------------------------------------------
# Pictures


class Image:
    """An RGB picture, rows top to bottom, 3 bytes a pixel."""

    def __init__(self, width: int, height: int, data: bytes):
        if len(data) != width * height * 3:
            raise ValueError(f"{width}x{height} picture needs {width * height * 3} bytes, got {len(data)}")
        self.width = width
        self.height = height
        self.data = bytes(data)

    def pixel(self, x: int, y: int) -> tuple[int, int, int]:
        """(r, g, b) of the pixel at (x, y)."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"({x}, {y}) outside {self.width}x{self.height}")
        i = (y * self.width + x) * 3
        return self.data[i], self.data[i + 1], self.data[i + 2]

    def row(self, y: int, x0: int = 0, x1: Optional[int] = None) -> bytes:
        """The RGB bytes of row y from column x0 up to (not including) x1."""
        x1 = self.width if x1 is None else x1
        base = y * self.width * 3
        return self.data[base + x0 * 3: base + x1 * 3]

    def crop(self, x: int, y: int, w: int, h: int) -> "Image":
        """The w x h part whose top-left corner is (x, y); it must lie inside the picture."""
        if x < 0 or y < 0 or x + w > self.width or y + h > self.height:
            raise IndexError(f"{w}x{h}+{x}+{y} outside {self.width}x{self.height}")
        return Image(w, h, b"".join(self.row(yy, x, x + w) for yy in range(y, y + h)))

    def diff(self, other: "Image", ignore: Sequence["Geometry"] = ()) -> tuple[int, Optional[tuple[int, int]]]:
        """(number of differing pixels, first differing (x, y) or None), leaving out the pixels
        inside the ignore boxes. Sizes must match."""
        if (self.width, self.height) != (other.width, other.height):
            raise ValueError(f"sizes differ: {self.width}x{self.height} vs {other.width}x{other.height}")
        count, first = 0, None
        for y in range(self.height):
            a, b = self.row(y), other.row(y)
            if a == b:
                continue
            boxes = [box for box in ignore if box is not None and box.y <= y < box.y + box.height]
            for x in range(self.width):
                if a[x * 3: x * 3 + 3] != b[x * 3: x * 3 + 3] and not any(box.contains(x, y) for box in boxes):
                    count += 1
                    if first is None:
                        first = (x, y)
        return count, first

    def count(self, rgb: tuple[int, int, int]) -> int:
        """How many pixels have exactly this colour."""
        r, g, b = rgb
        n = 0
        for i in range(0, len(self.data), 3):
            if self.data[i] == r and self.data[i + 1] == g and self.data[i + 2] == b:
                n += 1
        return n

    def __eq__(self, other: object) -> bool:
        return (isinstance(other, Image) and (self.width, self.height) == (other.width, other.height)
                and self.data == other.data)

    def __repr__(self) -> str:
        return f"Image({self.width}x{self.height})"


def _unpack_channels(row: bytes, bpp: int, masks: tuple[int, int, int]) -> bytes:
    """One BMP row (BGR or BGRX/BGRA order, or bit fields) as RGB bytes."""
    step = bpp // 8
    n = len(row) // step
    out = bytearray(n * 3)
    if bpp == 24 or masks == (0xFF0000, 0xFF00, 0xFF):
        out[0::3] = row[2::step][:n]
        out[1::3] = row[1::step][:n]
        out[2::3] = row[0::step][:n]
        return bytes(out)
    # Uncommon 32-bit bit fields: take each channel by its mask.
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    for i in range(n):
        (v,) = struct.unpack_from("<I", row, i * 4)
        for c in range(3):
            out[i * 3 + c] = (v & masks[c]) >> shifts[c] & 0xFF
    return bytes(out)


def read_bmp(data: bytes) -> Image:
    """Parse a BMP (with its 14-byte file header, or a bare DIB starting at the info header):
    24- or 32-bit, uncompressed or BI_BITFIELDS, bottom-up or top-down."""
    if data[:2] == b"BM":
        (offset,) = struct.unpack_from("<I", data, 10)
        dib = 14
    else:
        dib, offset = 0, None
    (header_size,) = struct.unpack_from("<I", data, dib)
    if header_size < 40:
        raise ValueError(f"unsupported BMP info header of {header_size} bytes")
    width, height, _planes, bpp, compression = struct.unpack_from("<iiHHI", data, dib + 4)
    if bpp not in (24, 32):
        raise ValueError(f"unsupported BMP depth {bpp}")
    masks = (0xFF0000, 0xFF00, 0xFF)
    masks_size = 0
    if compression == 3:  # BI_BITFIELDS: three masks follow a 40-byte header, or sit inside a larger one
        masks = struct.unpack_from("<III", data, dib + 40)
        masks_size = 12 if header_size == 40 else 0
    elif compression != 0:
        raise ValueError(f"unsupported BMP compression {compression}")
    if offset is None:
        (colours_used,) = struct.unpack_from("<I", data, dib + 32)
        offset = dib + header_size + masks_size + colours_used * 4
    top_down = height < 0
    height = abs(height)
    stride = (width * bpp + 31) // 32 * 4
    if len(data) < offset + stride * height:
        raise ValueError("BMP pixel data is truncated")
    rows = []
    for y in range(height):
        src = y if top_down else height - 1 - y
        start = offset + src * stride
        rows.append(_unpack_channels(data[start: start + width * bpp // 8], bpp, masks))
    return Image(width, height, b"".join(rows))


def bmp_bytes(image: Image) -> bytes:
    """A 24-bit bottom-up BMP file of the picture."""
    stride = (image.width * 3 + 3) // 4 * 4
    pad = b"\0" * (stride - image.width * 3)
    size = 54 + stride * image.height
    parts = [struct.pack("<2sIHHI", b"BM", size, 0, 0, 54),
             struct.pack("<IiiHHIIiiII", 40, image.width, image.height, 1, 24, 0, stride * image.height,
                         3780, 3780, 0, 0)]
    for y in range(image.height - 1, -1, -1):
        rgb = image.row(y)
        bgr = bytearray(len(rgb))
        bgr[0::3] = rgb[2::3]
        bgr[1::3] = rgb[1::3]
        bgr[2::3] = rgb[0::3]
        parts.append(bytes(bgr) + pad)
    return b"".join(parts)


def write_bmp(path: Path | str, image: Image) -> None:
    """Write the picture as a 24-bit BMP."""
    Path(path).write_bytes(bmp_bytes(image))


def read_png(path: Path | str) -> Image:
    """Read a PNG (or anything ImageMagick reads) through a BMP conversion."""
    out = subprocess.run(["convert", str(path), "-alpha", "off", "BMP3:-"], check=True,
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE).stdout
    return read_bmp(out)


def write_png(path: Path | str, image: Image) -> None:
    """Write the picture as a 24-bit PNG."""
    subprocess.run(["convert", "BMP:-", "-type", "TrueColor", f"PNG24:{path}"], input=bmp_bytes(image),
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


PATTERN_KINDS = ("coords", "stripes")


def make_pattern(w: int, h: int, kind: str) -> Image:
    """A known picture of w x h pixels.

    "coords": each pixel's colour encodes its position (red = x mod 256, green = y mod 256,
    blue = the 256-pixel tile), so any shift, crop or scale shows as a mismatch.
    "stripes": bold diagonal bands of eight colours, different from "coords" at every pixel.
    """
    rows = []
    if kind == "coords":
        red = bytes(x & 0xFF for x in range(w))
        for y in range(h):
            row = bytearray(w * 3)
            row[0::3] = red
            row[1::3] = bytes([y & 0xFF]) * w
            row[2::3] = bytes(((x >> 8) * 16 + (y >> 8) * 3 + 1) & 0xFF for x in range(0, w))
            rows.append(bytes(row))
    elif kind == "stripes":
        colours = [(230, 25, 75), (60, 180, 75), (255, 225, 25), (0, 130, 200),
                   (245, 130, 48), (145, 30, 180), (70, 240, 240), (240, 50, 230)]
        band = 24
        period = band * len(colours)
        # One long line of bands; each row is that line shifted by its y, which makes diagonals.
        line = b"".join(bytes(colours[(i // band) % len(colours)]) for i in range(period))
        line = line * ((w + h) // period + 2)
        for y in range(h):
            start = (period - y % period) * 3
            rows.append(line[start: start + w * 3])
    else:
        raise ValueError(f"unknown pattern kind {kind!r}; one of {PATTERN_KINDS}")
    return Image(w, h, b"".join(rows))


def pattern(path: Path | str, w: int, h: int, kind: str = "coords") -> Image:
    """Write make_pattern(w, h, kind) to path as PNG and return the picture."""
    image = make_pattern(w, h, kind)
    write_png(path, image)
    return image


# ---------------------------------------------------------------------------------------------
# The session


@dataclass(frozen=True)
class Geometry:
    """A window's absolute position on the screen and its size, in pixels."""
    x: int
    y: int
    width: int
    height: int

    @property
    def centre(self) -> tuple[int, int]:
        return self.x + self.width // 2, self.y + self.height // 2

    def contains(self, x: int, y: int) -> bool:
        return self.x <= x < self.x + self.width and self.y <= y < self.y + self.height


@dataclass(frozen=True)
class Monitor:
    """One monitor of a layout, in root (X screen) coordinates, which are never negative."""
    x: int
    y: int
    width: int
    height: int
    primary: bool = False

    @property
    def geometry(self) -> Geometry:
        return Geometry(self.x, self.y, self.width, self.height)


_VIRTUAL = (8192, 4320)  # the dummy screen's largest root, in the generated config


def _layout(monitors: Sequence) -> tuple[Monitor, ...]:
    """Monitors from Monitor or (x, y, w, h[, primary]) items, checked; the first is the primary
    when none is marked."""
    layout = [m if isinstance(m, Monitor) else Monitor(*m) for m in monitors]
    if not 1 <= len(layout) <= 16:
        raise ValueError(f"the dummy driver has 16 outputs; asked for {len(layout)} monitors")
    if sum(m.primary for m in layout) > 1:
        raise ValueError("more than one primary monitor")
    if not any(m.primary for m in layout):
        layout[0] = Monitor(layout[0].x, layout[0].y, layout[0].width, layout[0].height, True)
    for m in layout:
        if m.x < 0 or m.y < 0 or m.width <= 0 or m.height <= 0:
            raise ValueError(f"{m}: root coordinates cannot be negative and sizes must be positive")
    if min(m.x for m in layout) != 0 or min(m.y for m in layout) != 0:
        raise ValueError("the layout must touch the root's left and top edges (x = 0 and y = 0)")
    if max(m.x + m.width for m in layout) > _VIRTUAL[0] or max(m.y + m.height for m in layout) > _VIRTUAL[1]:
        raise ValueError(f"the layout does not fit the server's {_VIRTUAL[0]} x {_VIRTUAL[1]} screen")
    return tuple(layout)


@dataclass(frozen=True)
class ReportedMonitor:
    """A monitor as Windows reports it (monitors.exe), in Windows virtual-desktop coordinates."""
    rect: Geometry
    work: Geometry
    dpi: int
    primary: bool


def read_monitor_report(text: str) -> tuple[Geometry, list[ReportedMonitor], Optional[tuple[int, int]]]:
    """(virtual screen, monitors, cursor position or None) from the output of monitors.exe."""
    virtual, monitors, cursor = None, [], None
    for line in text.splitlines():
        words = line.split()
        if words[:1] == ["virtual"]:
            virtual = Geometry(*map(int, words[1:5]))
        elif words[:1] == ["cursor"]:
            cursor = (int(words[1]), int(words[2]))
        elif words[:1] == ["monitor"] and len(words) >= 16:
            left, top, right, bottom = map(int, words[1:5])
            wl, wt, wr, wb = map(int, words[6:10])
            monitors.append(ReportedMonitor(Geometry(left, top, right - left, bottom - top),
                                            Geometry(wl, wt, wr - wl, wb - wt), int(words[11]), words[14] == "1"))
    if virtual is None:
        raise AssertionError(f"no virtual screen in the monitor report: {text!r}")
    return virtual, monitors, cursor


_DUMMY_CONF = """\
# Written by the e2e harness: one screen of the dummy driver, as large as any layout needs.
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 512000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual {0} {1}
  EndSubSection
EndSection
"""


_PR_SET_PDEATHSIG = 1


def _die_with_parent() -> None:
    # Runs in the child before exec: if the test process is killed (a ctest timeout),
    # the X server and the window manager must not outlive it.
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)
    except (OSError, AttributeError):
        pass
    os.setsid()


def _env_with_path(env: dict) -> dict:
    env = dict(env)
    env.setdefault("PATH", "/usr/local/bin:/usr/bin:/bin")
    return env


class Session:
    """A private X display (Xvfb, or Xorg for several monitors, + openbox) with Wine ready to
    run programs.

    Use it as a context manager. The display number is picked by the X server (-displayfd),
    so sessions of other test runs on the same machine never collide. Scenarios that share
    the Wine prefix run one at a time: a lock on the prefix is held for the whole session.
    """

    def __init__(self, width: int = 1024, height: int = 768, name: str = "session", dpi: int = 96,
                 monitors: Optional[Sequence] = None, fonts: str = "minimal"):
        """One screen of width x height, or with monitors (Monitor or (x, y, w, h[, primary])
        in root coordinates) a layout of several whose bounding box is the screen. `fonts`
        names the font environment (FONT_DIR/<fonts>.conf)."""
        self.fonts = fonts
        self.font_config = FONT_DIR / f"{fonts}.conf"
        self.prefix = wine_prefix(fonts)
        self.monitors: tuple[Monitor, ...] = _layout(monitors) if monitors else ()
        if self.monitors:
            width = max(m.x + m.width for m in self.monitors)
            height = max(m.y + m.height for m in self.monitors)
        self.width = width
        self.height = height
        self.dpi = dpi
        self.name = name
        suffix = "_".join(f"{m.width}x{m.height}+{m.x}+{m.y}" for m in self.monitors) or f"{width}x{height}"
        self.out_dir = OUT_DIR / f"{name}-{suffix}"
        self.env: dict = {}
        self.display = ""
        self._procs: list[subprocess.Popen] = []
        self._xserver: Optional[subprocess.Popen] = None
        self._wm: Optional[subprocess.Popen] = None
        self._lock_file = None
        self._tmp = None
        self._old_sigterm = None
        self._logs: list = []

    # -- lifetime ------------------------------------------------------------------------------

    def __enter__(self) -> "Session":
        self._old_sigterm = signal.signal(signal.SIGTERM, _raise_on_sigterm)
        try:
            self._start()
        except BaseException:
            self._stop()
            raise
        return self

    def __exit__(self, exc_type, exc, tb) -> None:
        if exc_type is not None and self._xserver is not None and self._xserver.poll() is None:
            with contextlib.suppress(Exception):
                self.screenshot(self.out_dir / "failure.png")
                print(f"harness: screenshot at failure: {self.out_dir / 'failure.png'}", flush=True)
        self._stop()
        signal.signal(signal.SIGTERM, self._old_sigterm or signal.SIG_DFL)

    def _start(self) -> None:
        x_tools = ("Xorg", "cvt", "xrandr") if self.monitors else ("Xvfb",)
        for tool in (*x_tools, "openbox", "xdotool", "xwininfo", "import", "convert", "hsetroot", "xclip",
                     "wine", "wineserver", "wineboot"):
            if shutil.which(tool) is None:
                raise AssertionError(f"{tool} is missing; run tools/install-deps.sh")
        if self.out_dir.exists():
            shutil.rmtree(self.out_dir, ignore_errors=True)
        self.out_dir.mkdir(parents=True, exist_ok=True)
        self._tmp = Path(tempfile.mkdtemp(prefix="pelvanto-e2e-"))
        if not self.font_config.is_file():
            raise AssertionError(f"no font environment {self.font_config}")
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        self._lock_file = open(str(self.prefix) + ".lock", "w")
        try:
            fcntl.flock(self._lock_file, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            print(f"harness: waiting for another session using {self.prefix}", flush=True)
            fcntl.flock(self._lock_file, fcntl.LOCK_EX)

        if self.monitors:
            if os.geteuid() != 0:
                raise AssertionError("several monitors need Xorg run as root (its -config from any path)")
            conf = self._tmp / "dummy.conf"
            conf.write_text(_DUMMY_CONF.format(*_VIRTUAL))
            self.display = self._start_x_server(
                ["Xorg", "-config", str(conf), "-noreset", "-nolisten", "tcp", "-sharevts", "-novtswitch",
                 "-logfile", str(self.out_dir / "xorg.log")], "xorg-output.log")
        else:
            self.display = self._start_x_server(
                ["Xvfb", "-screen", "0", f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset",
                 "-dpi", "96"], "xvfb.log")

        base = {k: v for k, v in os.environ.items() if not k.startswith(("WINE", "DISPLAY", "XAUTHORITY"))}
        self.env = _env_with_path(base)
        self.env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": str(self.prefix),
            "FONTCONFIG_FILE": str(self.font_config),
            "WINEDEBUG": os.environ.get("PELVANTO_WINEDEBUG", "-all"),
            # No Mono or Gecko installer dialogs: the programs under test need neither.
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "LANG": os.environ.get("LANG") or "C.UTF-8",
        })

        if self.monitors:
            self._lay_out_monitors()  # before openbox, which then sees the final layout
        wm_log = open(self.out_dir / "openbox.log", "w")
        self._logs.append(wm_log)
        wm_args = ["openbox", "--sm-disable"]
        if self.monitors:
            wm_args += ["--config-file", str(self._spanning_wm_config())]
        self._wm = subprocess.Popen(wm_args, env=self.env, stdout=wm_log,
                                    stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
        if not wait_until(self._wm_running, 15, 0.1):
            raise AssertionError(f"openbox did not start on {self.display}")
        # A session killed outright may have left its Wine server behind, tied to a dead display.
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=30, check=False)
        self._ensure_prefix()
        self._set_dpi()

    def _start_x_server(self, args: list[str], log_name: str) -> str:
        """Start the X server, which picks a free display number itself; return ":N"."""
        read_fd, write_fd = os.pipe()
        log = open(self.out_dir / log_name, "w")
        self._logs.append(log)
        self._xserver = subprocess.Popen([args[0], "-displayfd", str(write_fd), *args[1:]], pass_fds=(write_fd,),
                                         stdout=log, stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 20
        with os.fdopen(read_fd, "rb", buffering=0) as pipe:
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                chunk = pipe.read(16)
                if not chunk:
                    break
                number += chunk
        if not number.strip().isdigit():
            raise AssertionError(f"{args[0]} did not start; see {self.out_dir / log_name}")
        return ":" + number.decode().strip()

    def _spanning_wm_config(self) -> Path:
        """openbox's own configuration plus one rule for the program's overlay (the window
        titled exactly "Pelvanto"). Wine asks the window manager to make a window that covers
        a monitor full-screen, naming the monitors it spans in _NET_WM_FULLSCREEN_MONITORS;
        openbox does not know that property and makes it full-screen on one monitor only. The
        rule keeps the overlay out of openbox's full-screen state and at the root's top-left
        corner, where its size and place are the ones the program asked for: the whole layout."""
        # openbox places relative to one monitor, counted from 1 with the primary first: the one
        # at the root's top-left corner.
        order = sorted(self.monitors, key=lambda m: not m.primary)
        corner = next((i for i, m in enumerate(order, 1) if (m.x, m.y) == (0, 0)), 1)
        rule = ('<application title="Pelvanto" type="normal"><fullscreen>no</fullscreen>'
                '<decor>no</decor><position force="yes"><x>0</x><y>0</y>'
                f'<monitor>{corner}</monitor></position></application>')
        text = Path("/etc/xdg/openbox/rc.xml").read_text()
        conf = self._tmp / "openbox-rc.xml"
        conf.write_text(text.replace("</applications>", rule + "</applications>", 1))
        return conf

    def _lay_out_monitors(self) -> None:
        # One mode per size (cvt's timings; the dummy driver accepts any), one output per monitor,
        # all set in one xrandr call so the root never has a size the layout does not fit.
        modes: dict[tuple[int, int], str] = {}
        for m in self.monitors:
            if (m.width, m.height) in modes:
                continue
            line = next(l for l in self._run(["cvt", str(m.width), str(m.height), "60"]).splitlines()
                        if l.startswith("Modeline"))
            name = f"pelvanto-{m.width}x{m.height}"
            self._run(["xrandr", "--newmode", name, *line.split()[2:]])
            modes[(m.width, m.height)] = name
        layout = ["xrandr", "--fb", f"{self.width}x{self.height}"]
        for i, m in enumerate(self.monitors):
            self._run(["xrandr", "--addmode", f"DUMMY{i}", modes[(m.width, m.height)]])
            layout += ["--output", f"DUMMY{i}", "--mode", modes[(m.width, m.height)], "--pos", f"{m.x}x{m.y}"]
            layout += ["--primary"] if m.primary else []
        for i in range(len(self.monitors), 16):
            layout += ["--output", f"DUMMY{i}", "--off"]
        self._run(layout)
        expected = {(m.width, m.height, m.x, m.y, m.primary) for m in self.monitors}
        if not wait_until(lambda: self._x_monitors() == expected, 10, 0.1):
            raise AssertionError(f"xrandr shows {self._x_monitors()}, not the layout {expected}")

    def _x_monitors(self) -> set:
        out = self._run(["xrandr", "--listmonitors"], check=False)
        found = re.findall(r"^\s*\d+: \+(\*?)\S+ (\d+)/\d+x(\d+)/\d+\+(\d+)\+(\d+)", out, re.M)
        return {(int(w), int(h), int(x), int(y), star == "*") for star, w, h, x, y in found}

    def _set_dpi(self) -> None:
        # Every session says its DPI, so one that set another and died leaves nothing behind.
        mark = self.prefix / ".pelvanto-dpi"
        if mark.is_file() and mark.read_text().strip() == str(self.dpi):
            return
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", str(self.dpi), "/f"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=60)
        mark.write_text(f"{self.dpi}\n")

    def _wm_running(self) -> bool:
        # openbox announces itself with _NET_SUPPORTING_WM_CHECK on the root window.
        out = self._run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return "window id" in out

    def _ensure_prefix(self) -> None:
        # The mark is written only after a complete wineboot, so an interrupted one is redone.
        # It also names the font environment: a prefix made with other fonts keeps them.
        ready = self.prefix / ".pelvanto-ready"
        done = f"wineboot -i done; fonts {self.fonts}\n"
        if ready.is_file() and ready.read_text() == done:
            return
        if self.prefix.exists():
            print(f"harness: {self.prefix} was made with other fonts; making it again", flush=True)
            shutil.rmtree(self.prefix)
        print(f"harness: creating Wine prefix {self.prefix} (once)", flush=True)
        subprocess.run(["wineboot", "-i"], env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=180)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=120)
        ready.write_text(done)

    def _stop(self) -> None:
        for proc in self._procs:
            if proc.poll() is None:
                with contextlib.suppress(ProcessLookupError):
                    os.killpg(proc.pid, signal.SIGTERM)
        if self.env.get("WINEPREFIX"):
            with contextlib.suppress(Exception):
                subprocess.run(["wineserver", "-k"], env=self.env, timeout=20,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                subprocess.run(["wineserver", "-w"], env=self.env, timeout=20,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for proc in [*self._procs, self._wm, self._xserver]:
            if proc is None:
                continue
            if proc.poll() is None:
                with contextlib.suppress(ProcessLookupError):
                    proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait(5)
        for log in self._logs:
            log.close()
        self._logs.clear()
        if self._tmp is not None:
            shutil.rmtree(self._tmp, ignore_errors=True)
        if self._lock_file is not None:
            self._lock_file.close()
            self._lock_file = None

    # -- programs ------------------------------------------------------------------------------

    def start(self, exe: Path | str, *args: str) -> subprocess.Popen:
        """Start a Windows program with wine (working directory: its own folder). The returned
        process is the Windows process itself (wine execs into it), so its pid is the program's."""
        exe = Path(exe).resolve()
        log = open(self.out_dir / f"{exe.stem}.log", "a")
        self._logs.append(log)
        proc = subprocess.Popen(["wine", str(exe), *args], cwd=str(exe.parent), env=self.env,
                                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                preexec_fn=_die_with_parent)
        self._procs.append(proc)
        return proc

    def run(self, args: Sequence[str], check: bool = True, timeout: float = 30) -> str:
        """Run a command on this display (with this session's environment); return its stdout."""
        return self._run(args, check=check, timeout=timeout)

    def _run(self, args: Sequence[str], check: bool = True, timeout: float = 30,
             input_bytes: Optional[bytes] = None) -> str:
        res = subprocess.run(list(args), env=self.env, input=input_bytes, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, timeout=timeout)
        if check and res.returncode != 0:
            raise AssertionError(f"{' '.join(args)} failed ({res.returncode}): {res.stderr.decode(errors='replace')}")
        return res.stdout.decode(errors="replace")

    # -- windows -------------------------------------------------------------------------------

    def find_windows(self, name: str, visible: bool = True) -> list[int]:
        """X ids of the windows whose title matches the regular expression name."""
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name]
        out = self._run(args, check=False)
        return [int(line) for line in out.split() if line.isdigit()]

    def wait_window(self, name: str, timeout: float = 20, visible: bool = True) -> int:
        """Wait for a window whose title matches the regular expression name; return its X id."""
        found = wait_until(lambda: self.find_windows(name, visible), timeout, 0.1)
        if not found:
            raise AssertionError(f"no {'visible ' if visible else ''}window named /{name}/ within {timeout} s")
        return found[0]

    def wait_window_gone(self, name: str, timeout: float = 10) -> None:
        """Wait until no visible window's title matches name."""
        if wait_until(lambda: not self.find_windows(name), timeout, 0.1) is None:
            raise AssertionError(f"a window named /{name}/ is still visible after {timeout} s")

    def window_name(self, wid: int) -> str:
        """The window's title."""
        return self._run(["xdotool", "getwindowname", str(wid)], check=False).rstrip("\n")

    def window_geometry(self, wid: int) -> Optional[Geometry]:
        """Absolute position and size of the window (xwininfo, which is right under openbox where
        xdotool is off by the frame); None when the window is gone or not mapped."""
        out = self._run(["xwininfo", "-id", str(wid)], check=False)
        fields = dict(re.findall(r"^\s*([A-Za-z -]+):\s*(.+)$", out, re.M))
        if "Width" not in fields or fields.get("Map State") != "IsViewable":
            return None
        return Geometry(int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                        int(fields["Width"]), int(fields["Height"]))

    def frame_geometry(self, wid: int) -> Optional[Geometry]:
        """Geometry of the window together with the window manager's frame (title bar, borders):
        the top-level X window that holds it."""
        current = wid
        for _ in range(10):
            out = self._run(["xwininfo", "-children", "-id", str(current)], check=False)
            root = re.search(r"Root window id: (0x[0-9a-f]+)", out)
            parent = re.search(r"Parent window id: (0x[0-9a-f]+)", out)
            if not root or not parent:
                return None
            if parent.group(1) == root.group(1):
                return self.window_geometry(current)
            current = int(parent.group(1), 16)
        return None

    def minimize(self, wid: int) -> None:
        """Minimise the window through the window manager, as its title-bar button does."""
        self._run(["xdotool", "windowminimize", str(wid)])

    def tray_window(self, frame: bool = False) -> Optional[Geometry]:
        """Geometry of Wine's "Wine System Tray" window (notification-area icons), None when gone;
        with frame=True, including its window-manager frame. Icons sit in a row from the left,
        each in a square cell as high as the window. The tray stays above every other window,
        the full-screen overlay included."""
        for wid in self.find_windows("^Wine System Tray$"):
            g = self.frame_geometry(wid) if frame else self.window_geometry(wid)
            if g is not None and g.width > 0:
                return g
        return None

    def tray_icon_centre(self, index: int = 0) -> tuple[int, int]:
        """Screen point at the middle of the index-th icon in Wine's tray window."""
        g = wait_until(self.tray_window, 10)
        if g is None:
            raise AssertionError("no Wine System Tray window")
        size = g.height
        return g.x + size * index + size // 2, g.y + size // 2

    # -- input ---------------------------------------------------------------------------------

    def move(self, x: int, y: int) -> None:
        """Move the pointer to the absolute screen point (x, y)."""
        self._run(["xdotool", "mousemove", "--sync", str(x), str(y)])

    def click(self, x: int, y: int, button: int = 1) -> None:
        """Move to (x, y) and click the button (1 left, 2 middle, 3 right)."""
        self._run(["xdotool", "mousemove", "--sync", str(x), str(y), "sleep", "0.05",
                   "click", str(button)])

    def double_click(self, x: int, y: int, button: int = 1) -> None:
        """Move to (x, y) and double-click."""
        self._run(["xdotool", "mousemove", "--sync", str(x), str(y), "sleep", "0.05",
                   "click", "--repeat", "2", "--delay", "80", str(button)])

    def drag(self, x0: int, y0: int, x1: int, y1: int, steps: int = 10, button: int = 1) -> None:
        """Press at (x0, y0), move in steps to (x1, y1), release there."""
        cmd = ["xdotool", "mousemove", "--sync", str(x0), str(y0), "sleep", "0.05", "mousedown", str(button)]
        steps = max(1, steps)
        for i in range(1, steps + 1):
            cmd += ["mousemove", "--sync", str(x0 + (x1 - x0) * i // steps), str(y0 + (y1 - y0) * i // steps),
                    "sleep", "0.02"]
        cmd += ["mouseup", str(button)]
        self._run(cmd)

    def key(self, *keys: str) -> None:
        """Press keys by X name, e.g. key("Return"), key("ctrl+v")."""
        self._run(["xdotool", "key", "--clearmodifiers", *keys])

    def type_text(self, text: str) -> None:
        """Type text into the focused window."""
        self._run(["xdotool", "type", "--delay", "30", text])

    # -- screen --------------------------------------------------------------------------------

    def screenshot(self, path: Path | str) -> Path:
        """Save the whole screen (without the pointer) as PNG at path."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        self._run(["import", "-window", "root", str(path)], timeout=60)
        return path

    def screenshot_pixels(self, save_as: Optional[str] = None, region: Optional[Geometry] = None) -> Image:
        """The whole screen (or just region) as an Image; with save_as, also kept as PNG under
        the session's out dir."""
        bmp = self._tmp / "shot.bmp"
        crop = ["-crop", f"{region.width}x{region.height}+{region.x}+{region.y}", "+repage"] if region else []
        self._run(["import", "-window", "root", *crop, f"BMP3:{bmp}"], timeout=60)
        image = read_bmp(bmp.read_bytes())
        if save_as:
            write_png(self.out_dir / save_as, image)
        return image

    def wait_colour(self, x: int, y: int, rgb: tuple[int, int, int], timeout: float = 10) -> bool:
        """Wait until the screen pixel at (x, y) has exactly the colour rgb; False on timeout."""
        box = Geometry(x, y, 1, 1)
        return bool(wait_until(lambda: self.screenshot_pixels(region=box).pixel(0, 0) == rgb, timeout, 0.05))

    def save_crop(self, image: Image, box: Geometry, path: Path | str) -> Path:
        """Save the part of image inside box (clipped to the picture) as PNG at path."""
        x0, y0 = max(0, box.x), max(0, box.y)
        x1, y1 = min(image.width, box.x + box.width), min(image.height, box.y + box.height)
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        write_png(path, image.crop(x0, y0, x1 - x0, y1 - y0))
        return path

    def set_root_pattern(self, png: Path | str) -> None:
        """Show a picture of the screen's size on the root window, pixel-exact (with several
        monitors, over the whole root: -center and a plain -tile work per monitor)."""
        self._run(["hsetroot", "-root", "-tile", str(png)] if self.monitors else ["hsetroot", "-center", str(png)])

    def show_pattern(self, kind: str = "coords") -> Image:
        """Paint make_pattern(screen size, kind) on the root window and return it."""
        png = self._tmp / f"pattern-{kind}.png"
        image = pattern(png, self.width, self.height, kind)
        self.set_root_pattern(png)
        return image

    # -- monitors ------------------------------------------------------------------------------

    @property
    def primary(self) -> Monitor:
        """The primary monitor (on one screen: the screen)."""
        return next((m for m in self.monitors if m.primary), Monitor(0, 0, self.width, self.height, True))

    @property
    def virtual_origin(self) -> tuple[int, int]:
        """Windows coordinates of the root's top-left corner (SM_X/YVIRTUALSCREEN): the primary
        is at Windows (0, 0)."""
        return -self.primary.x, -self.primary.y

    def to_windows(self, x: int, y: int) -> tuple[int, int]:
        """The Windows virtual-desktop point of root point (x, y)."""
        vx, vy = self.virtual_origin
        return x + vx, y + vy

    def to_root(self, x: int, y: int) -> tuple[int, int]:
        """The root point (screenshots, xdotool) of Windows point (x, y)."""
        vx, vy = self.virtual_origin
        return x - vx, y - vy

    @property
    def x_server_pid(self) -> int:
        """Process id of this session's X server (Xvfb or Xorg), e.g. for its CPU time."""
        if self._xserver is None:
            raise AssertionError("the session has not started")
        return self._xserver.pid

    # -- clipboard -----------------------------------------------------------------------------

    def _xclip(self, target: str) -> Optional[bytes]:
        """Reads one clipboard target. An X request that lands just as the owner empties the
        clipboard may never be answered, so each try is short and a few are made."""
        for _ in range(3):
            try:
                res = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", target], env=self.env,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=2)
            except subprocess.TimeoutExpired:
                continue
            return res.stdout if res.returncode == 0 else None
        return None

    def clipboard_targets(self) -> list[str]:
        """The X targets the clipboard owner offers (empty when nobody owns it)."""
        out = (self._xclip("TARGETS") or b"").decode(errors="replace")
        return [line.strip() for line in out.splitlines() if line.strip()]

    def clipboard_bmp(self) -> Optional[Image]:
        """The clipboard's picture (target image/bmp) or None when there is none."""
        data = self._xclip("image/bmp")
        if data is None or len(data) < 40:
            return None
        return read_bmp(data)


def _raise_on_sigterm(signum, frame):  # noqa: ARG001 - signal handler signature
    raise SystemExit(f"terminated by signal {signum}")
