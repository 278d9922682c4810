"""Drives the built program in a real X server as a user would.

A Session starts its own Xvfb (display chosen by the server itself), copies the
program into a fresh folder (so the order files it writes land there), starts
it and waits for the main window. Controls are found by their place in the
window's twip layout, clicked and typed into with xdotool; texts are read back
through the clipboard (select all, copy), and pixels through ImageMagick.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

MAIN_TITLE = "Расчёт параметров решетчатых изделий (Ларвинк)"
TWIPS_PER_PIXEL = 15

# Frame corners in the main window, in twips.
FRAMES = {
    "window": (0, 0),
    "fraOrder": (120, 120),
    "frmParam": (6120, 0),
    "fraGrating": (120, 2520),
    "frmOut": (7440, 2520),
    "fraSux": (7440, 5640),
}

# Controls: frame, left, top, width, height in twips.
CONTROLS = {
    "txtCount": ("frmParam", 1440, 240, 495, 285),
    "vsrCount": ("frmParam", 1920, 240, 255, 285),
    "txtNumber": ("frmParam", 1440, 600, 495, 285),
    "vsrNumber": ("frmParam", 1920, 600, 255, 285),
    "cmdToAll": ("frmParam", 2040, 960, 135, 135),
    "txtWidth": ("frmParam", 1440, 1560, 735, 285),
    "txtHeight": ("frmParam", 1440, 1920, 735, 285),
    "txtZTop": ("frmParam", 3840, 240, 735, 285),
    "txtZDown": ("frmParam", 3840, 600, 735, 285),
    "txtZLeft": ("frmParam", 3840, 960, 735, 285),
    "txtQuadro": ("frmParam", 3840, 1560, 735, 285),
    "cmdOK": ("frmParam", 2880, 1920, 1695, 375),
    "txtPNumber": ("frmOut", 2520, 240, 495, 285),
    "vsrPNumber": ("frmOut", 3000, 240, 255, 285),
    "txtPWidth": ("frmOut", 2520, 600, 735, 285),
    "txtPHeight": ("frmOut", 2520, 960, 735, 285),
    "txtPStep": ("frmOut", 2520, 1320, 735, 285),
    "txtPStepCount": ("frmOut", 2520, 1680, 735, 285),
    "txtPAdd": ("frmOut", 2520, 2040, 735, 285),
    "cmdChange": ("frmOut", 1560, 2520, 1695, 375),
    "txtONumber": ("fraOrder", 1320, 240, 975, 285),
    "cmdONew": ("fraOrder", 1320, 960, 975, 375),
    "cmdOOpen": ("fraOrder", 1320, 1335, 975, 375),
    "cmdOSave": ("fraOrder", 1320, 1710, 975, 375),
    "Image1": ("fraOrder", 0, 2040, 255, 255),
    "Picture1": ("window", 2640, 120, 3375, 2295),
    "cmdCreate": ("window", 240, 6600, 1695, 375),
    "cmdPrint": ("window", 2040, 6600, 1695, 375),
    "txtLen": ("fraSux", 2520, 240, 735, 285),
    "cmdShow": ("fraSux", 1560, 600, 1695, 375),
    "cmdOptimize": ("fraSux", 1560, 975, 1695, 375),
}


def px(twips):
    return (twips + TWIPS_PER_PIXEL // 2) // TWIPS_PER_PIXEL


def control_rect(name):
    """(x, y, width, height) of a control in window pixels."""
    frame, left, top, width, height = CONTROLS[name]
    fx, fy = FRAMES[frame]
    return (px(fx) + px(left), px(fy) + px(top), px(width), px(height))


def control_center(name):
    x, y, w, h = control_rect(name)
    return (x + w // 2, y + h // 2)


def _regex(text):
    """A POSIX extended regular expression that matches text literally."""
    return "".join("\\" + c if c in ".[]()*+?{}|^$\\" else c for c in text)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Image:
    """An RGB picture read from a PPM (P6)."""

    def __init__(self, data):
        parts = []
        pos = 0
        while len(parts) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            parts.append(data[pos:end])
            pos = end
        pos += 1
        check(parts[0] == b"P6", "not a PPM picture")
        self.width, self.height = int(parts[1]), int(parts[2])
        self.pixels = data[pos:]

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def is_dark(self, x, y, limit=96):
        return max(self.pixel(x, y)) < limit


class Session:
    def __init__(self, program, timeout=20):
        self.folder = tempfile.mkdtemp(prefix="reshetki-e2e-")
        self.program = os.path.join(self.folder, "reshetki")
        shutil.copy2(program, self.program)
        self.timeout = timeout
        self._start_xvfb()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env["XDG_RUNTIME_DIR"] = self.folder
        self.process = subprocess.Popen([self.program], cwd=self.folder, env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.window = self.wait_window(MAIN_TITLE)

    # --- set-up -----------------------------------------------------------
    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-noreset",
             "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.time() + self.timeout
        while not number.endswith(b"\n"):
            check(time.time() < deadline, "Xvfb did not start")
            chunk = os.read(read_fd, 16)
            check(chunk, "Xvfb did not start")
            number += chunk
        os.close(read_fd)
        self.display = ":" + number.decode().strip()

    def close(self):
        for p in (getattr(self, "process", None), getattr(self, "xvfb", None)):
            if p and p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- X helpers --------------------------------------------------------
    def run(self, *args, **kwargs):
        return subprocess.run(list(args), env=self.env, check=True, capture_output=True,
                              timeout=self.timeout, **kwargs).stdout.decode()

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def find_windows(self, title):
        """Visible windows whose title is exactly `title`."""
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % _regex(title)],
                             env=self.env, capture_output=True, timeout=self.timeout)
        return [w for w in out.stdout.decode().split() if w]

    def wait_window(self, title, timeout=None):
        deadline = time.time() + (timeout or self.timeout)
        while time.time() < deadline:
            check(self.alive(), "the program ended: " + self.stderr_text())
            windows = self.find_windows(title)
            if windows:
                time.sleep(0.3)
                return windows[0]
            time.sleep(0.1)
        raise Failure("no window titled %r" % title)

    def wait_no_window(self, title, timeout=None):
        deadline = time.time() + (timeout or self.timeout)
        while time.time() < deadline:
            if not self.find_windows(title):
                return
            time.sleep(0.1)
        raise Failure("window %r is still there" % title)

    def dismiss(self, title, key="Return"):
        """Answers the message box titled `title` with a key, as a user would."""
        box = self.wait_window(title)
        x, y, width, height = self.geometry(box)
        self.xdotool("mousemove", "--window", box, str(width // 2), str(height // 2))
        self.xdotool("windowfocus", "--sync", box)
        self.key(key)
        self.wait_no_window(title)

    def alive(self):
        return self.process.poll() is None

    def stderr_text(self):
        if self.alive():
            return ""
        return self.process.stderr.read().decode(errors="replace")

    def geometry(self, window=None):
        out = self.xdotool("getwindowgeometry", "--shell", window or self.window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))

    def settle(self, seconds=0.3):
        time.sleep(seconds)

    # --- acting as a user -------------------------------------------------
    def click_at(self, x, y, window=None):
        self.xdotool("mousemove", "--window", window or self.window, str(x), str(y))
        self.xdotool("click", "1")
        self.settle(0.15)

    def click(self, control):
        self.click_at(*control_center(control))

    def key(self, *keys):
        self.xdotool("key", "--delay", "30", *keys)
        self.settle(0.15)

    def type(self, text):
        self.xdotool("type", "--delay", "40", text)
        self.settle(0.2)

    def replace_text(self, control, text):
        """Click into a box, select all its text and type the new text over it."""
        self.click(control)
        self.key("ctrl+a")
        if text:
            self.type(text)
        else:
            self.key("BackSpace")

    def read_text(self, control):
        """The text of a box as a user gets it: select all, copy, paste elsewhere."""
        self.click(control)
        self.key("ctrl+a")
        self.key("ctrl+c")
        self.settle(0.2)
        out = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                             capture_output=True, timeout=self.timeout)
        return out.stdout.decode()

    def screenshot(self, window=None):
        data = subprocess.run(["import", "-window", window or self.window, "-depth", "8", "ppm:-"],
                              env=self.env, check=True, capture_output=True,
                              timeout=self.timeout).stdout
        return Image(data)


def main(scenarios):
    """Runs each scenario with a fresh session; prints a closing count line."""
    program = sys.argv[1]
    passed = failed = 0
    for scenario in scenarios:
        name = scenario.__name__
        try:
            with Session(program) as session:
                scenario(session)
            passed += 1
            print("PASS", name, flush=True)
        except Exception as e:  # a failed scenario must not stop the others
            failed += 1
            print("FAIL", name, "-", repr(e), flush=True)
    print("%d passed, %d failed" % (passed, failed))
    sys.exit(1 if failed else 0)
