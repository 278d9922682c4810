"""Drives the built program in a real X server as a user would.

A Session starts its own Xvfb (display chosen by the server itself), copies the
program into a fresh folder (so the order files it writes land there), starts
it and waits for the main window. Controls are found by their place in the
window's twip layout, clicked and typed into with xdotool; texts are read back
through the clipboard (select all, copy), and pixels through ImageMagick.
"""

import os
import re
import shutil
import subprocess
import tempfile
import time

MAIN_TITLE = "Расчёт параметров решетчатых изделий (Ларвинк)"
TWIPS_PER_PIXEL = 15

# The main window's layout table: name, kind, parent, caption, then left, top,
# width and height in twips, read from the program's own source.
LAYOUT = os.path.join(os.path.dirname(__file__), "..", "src", "main_window", "main_window.cpp")
ROW = re.compile(r'^\s*\{"(\w+)",\s*\w+,\s*(?:"(\w+)"|nullptr),.*?,\s*(\d+),\s*(\d+),'
                 r'\s*(\d+),\s*(\d+)')


def layout():
    rows = {}
    with open(LAYOUT, encoding="utf-8") as source:
        for line in source:
            row = ROW.match(line)
            if row:
                name, parent, *box = row.groups()
                rows[name] = (parent, *map(int, box))
    return rows


CONTROLS = layout()


def px(twips):
    return (twips + TWIPS_PER_PIXEL // 2) // TWIPS_PER_PIXEL


def control_rect(name):
    """(x, y, width, height) of a control in window pixels."""
    parent, left, top, width, height = CONTROLS[name]
    fx, fy = CONTROLS[parent][1:3] if parent else (0, 0)
    return (px(fx) + px(left), px(fy) + px(top), px(width), px(height))


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(condition, what, timeout=20):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise Failure("timed out waiting for " + what)


class Session:
    def __init__(self, program, timeout=20):
        self.folder = tempfile.mkdtemp(prefix="reshetki-e2e-")
        self.program = os.path.join(self.folder, "reshetki")
        shutil.copy2(program, self.program)
        self.timeout = timeout
        self.xvfb, self.display = self._start_xvfb()
        self.env = dict(os.environ, DISPLAY=self.display, XDG_RUNTIME_DIR=self.folder)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.process = subprocess.Popen([self.program], cwd=self.folder, env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = self.wait_window(MAIN_TITLE)

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-noreset",
             "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_fd, 16)
            check(chunk, "Xvfb did not start")
            number += chunk
        os.close(read_fd)
        return xvfb, ":" + number.decode().strip()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for p in (self.process, self.xvfb):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(self.folder, ignore_errors=True)

    def alive(self):
        return self.process.poll() is None

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, capture_output=True,
                              timeout=self.timeout).stdout.decode()

    def find_windows(self, title):
        """Visible windows whose title is exactly `title`."""
        pattern = "^%s$" % "".join("\\" + c if c in ".[]()*+?{}|^$\\" else c for c in title)
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                             env=self.env, capture_output=True, timeout=self.timeout)
        return out.stdout.decode().split()

    def wait_window(self, title):
        check(self.alive(), "the program ended")
        window = wait_until(lambda: self.find_windows(title), "a window titled %r" % title)[0]
        time.sleep(0.3)
        return window

    def wait_no_window(self, title):
        wait_until(lambda: not self.find_windows(title), "window %r to go" % title)

    def dismiss(self, title):
        """Answers the message box titled `title` with Return, as a user would."""
        box = self.wait_window(title)
        self.xdotool("windowfocus", "--sync", box)
        self.key("Return")
        self.wait_no_window(title)

    def geometry(self, window=None):
        out = self.xdotool("getwindowgeometry", "--shell", window or self.window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))

    def settle(self, seconds=0.3):
        time.sleep(seconds)

    def click(self, control):
        x, y, w, h = control_rect(control)
        self.xdotool("mousemove", "--window", self.window, str(x + w // 2), str(y + h // 2))
        self.xdotool("click", "1")
        self.settle(0.15)

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
        self.type(text)

    def read_text(self, control):
        """The text of a box as a user gets it: select all, copy, paste elsewhere."""
        self.click(control)
        self.key("ctrl+a", "ctrl+c")
        self.settle(0.2)
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                              capture_output=True, timeout=self.timeout).stdout.decode()

    def dark_pixels(self, points, window=None):
        """Which of the given window pixels are dark, from a screenshot."""
        data = subprocess.run(["import", "-window", window or self.window, "-depth", "8",
                               "rgb:-"], env=self.env, check=True, capture_output=True,
                              timeout=self.timeout).stdout
        width = self.geometry(window)[2]
        return [max(data[3 * (y * width + x):3 * (y * width + x) + 3]) < 96 for x, y in points]
