# SPDX-License-Identifier: GPL-3.0-or-later
"""Screen captures and real input on an X display, for the end-to-end test.

Captures come from xwd (x11-apps) and are decoded here; input goes through
xdotool, which uses the XTEST extension, so the program sees the same events
as from a mouse and a keyboard. Only the standard library is used.
"""

import struct
import subprocess
import time
import zlib


class Failure(Exception):
    """A check that did not hold; the message says what was expected."""


def run(*args, timeout=15):
    result = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    if result.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(args), result.returncode, result.stderr.strip()))
    return result.stdout


def wait_for(what, probe, timeout=10.0, interval=0.05):
    """Polls probe() until it returns something other than None or False."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value is not None and value is not False:
            return value
        if time.monotonic() > deadline:
            raise Failure("gave up after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class Shot:
    """An RGB image: a capture of the screen or a part of it."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb  # bytes, 3 per pixel, row after row

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise Failure("pixel (%d, %d) lies outside the %dx%d capture" % (x, y, self.width, self.height))
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def crop(self, x, y, width, height):
        rows = []
        for row in range(y, y + height):
            start = 3 * (row * self.width + x)
            rows.append(self.rgb[start:start + 3 * width])
        return Shot(width, height, b"".join(rows))

    def save_png(self, path):
        raw = bytearray()
        for row in range(self.height):
            raw.append(0)  # filter: none
            raw += self.rgb[3 * row * self.width:3 * (row + 1) * self.width]

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)  # 8-bit RGB
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def _mask_shift(mask):
    shift = 0
    while mask and not mask & 1:
        mask >>= 1
        shift += 1
    return shift, mask


def decode_xwd(data):
    """Decodes a TrueColor ZPixmap dump of 24 or 32 bits per pixel."""
    fields = struct.unpack(">25I", data[:100])
    (header_size, _version, pixmap_format, _depth, width, height, _xoffset, byte_order, _unit, _bit_order,
     _pad, bits_per_pixel, bytes_per_line, _visual_class, red_mask, green_mask, blue_mask, _bits_per_rgb,
     _entries, ncolors) = fields[:20]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        raise Failure("xwd gave an image format this test does not read (format %d, %d bits per pixel)"
                      % (pixmap_format, bits_per_pixel))
    start = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    pixels = data[start:start + bytes_per_line * height]
    if (step, byte_order, red_mask, green_mask, blue_mask) == (4, 0, 0xFF0000, 0xFF00, 0xFF):
        # The usual case: B, G, R, X bytes. Taken apart by slicing, which is fast.
        rows = bytearray()
        for row in range(height):
            line = pixels[row * bytes_per_line:row * bytes_per_line + 4 * width]
            rgb = bytearray(3 * width)
            rgb[0::3] = line[2::4]
            rgb[1::3] = line[1::4]
            rgb[2::3] = line[0::4]
            rows += rgb
        return Shot(width, height, bytes(rows))
    order = "little" if byte_order == 0 else "big"
    channels = [_mask_shift(m) for m in (red_mask, green_mask, blue_mask)]
    rgb = bytearray(3 * width * height)
    cache = {}
    out = 0
    for row in range(height):
        line = pixels[row * bytes_per_line:row * bytes_per_line + width * step]
        for col in range(0, width * step, step):
            raw = line[col:col + step]
            colour = cache.get(raw)
            if colour is None:
                value = int.from_bytes(raw, order)
                colour = bytes(((value >> s) & m) * 255 // m for s, m in channels)
                cache[raw] = colour
            rgb[out:out + 3] = colour
            out += 3
    return Shot(width, height, bytes(rgb))


def capture(x=None, y=None, width=None, height=None):
    """The screen, or the given part of it, as it is now."""
    data = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, timeout=15, check=True).stdout
    shot = decode_xwd(data)
    if x is None:
        return shot
    return shot.crop(x, y, width, height)


def find_window(title, timeout=10.0):
    """The id of the visible top-level window with exactly this title."""
    pattern = "^" + "".join("\\" + c if c in ".^$*+?()[]{}|\\" else c for c in title) + "$"

    def probe():
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                                capture_output=True, text=True, timeout=15)
        ids = result.stdout.split()
        return ids[0] if ids else None

    return wait_for('the window "%s"' % title, probe, timeout)


def window_gone(title):
    pattern = "^" + "".join("\\" + c if c in ".^$*+?()[]{}|\\" else c for c in title) + "$"
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                            capture_output=True, text=True, timeout=15)
    return not result.stdout.split()


def geometry(window):
    """(x, y, width, height) of a window on the screen."""
    values = {}
    for line in run("xdotool", "getwindowgeometry", "--shell", window).splitlines():
        key, _, value = line.partition("=")
        values[key] = int(value) if value.lstrip("-").isdigit() else value
    return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]


def focus(window):
    run("xdotool", "windowfocus", "--sync", window)


def click(x, y, button=1):
    """Clicks at a screen point, then parks the pointer, so that no tooltip
    opens where the next click goes."""
    run("xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button))
    park()


def park():
    """Moves the pointer to the screen's bottom right corner, away from the
    centred window."""
    width, height = (int(v) for v in run("xdotool", "getdisplaygeometry").split())
    run("xdotool", "mousemove", "--sync", str(width - 2), str(height - 2))


def move(x, y):
    run("xdotool", "mousemove", "--sync", str(x), str(y))


def keys(*names, delay=60):
    run("xdotool", "key", "--delay", str(delay), *names)


def type_text(text, delay=40):
    run("xdotool", "type", "--delay", str(delay), text)
