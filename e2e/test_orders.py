"""Orders as a user handles them: two openings calculated and saved under an
order number, the file's bytes, "Новый" and "Открыть" bringing the values
back, and an order that does not exist."""

import os
import struct
import time

import harness
from harness import check


def spin_up(s, spinner, times=1):
    x, y, w, h = harness.control_rect(spinner)
    for _ in range(times):
        s.click_at(x + w // 2, y + 3)


def enter_opening(s, width, height, top, bottom, side):
    for box, value in (("txtWidth", width), ("txtHeight", height), ("txtZTop", top),
                       ("txtZDown", bottom), ("txtZLeft", side)):
        s.replace_text(box, str(value))


def wait_file(path, timeout=10):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if os.path.exists(path):
            return
        time.sleep(0.1)
    raise harness.Failure("no file %s" % path)


def panel(s):
    return [s.read_text(box) for box in ("txtPWidth", "txtPHeight", "txtPStep",
                                         "txtPStepCount", "txtPAdd")]


def grille(B, H, t, n, b, q, double_belt, S):
    return struct.pack("<7hd", B, H, t, n, b, q, double_belt, S)


def saves_and_opens_an_order(s):
    spin_up(s, "vsrCount")
    check(s.read_text("txtCount") == "2", "count is not 2")
    enter_opening(s, 1020, 1550, 20, 30, 10)
    spin_up(s, "vsrNumber")
    check(s.read_text("txtNumber") == "2", "opening number is not 2")
    enter_opening(s, 800, 1200, 0, 0, 5)
    s.click("cmdOK")
    s.settle()
    check(panel(s) == ["1000", "1500", "164", "6", "-13"], "grille 1 is %r" % panel(s))

    s.replace_text("txtONumber", "007")
    s.click("cmdOSave")
    path = os.path.join(s.folder, "007.kxo")
    wait_file(path)
    s.settle()
    with open(path, "rb") as f:
        data = f.read()
    expected = (struct.pack("<h", 2)
                + struct.pack("<5h", 1020, 1550, 20, 30, 10)
                + struct.pack("<5h", 800, 1200, 0, 0, 5)
                + grille(1000, 1500, 164, 6, -13, 14, 0, (1500 / 1000) * (1000 / 1000))
                + grille(790, 1200, 164, 4, 46, 14, 0, (1200 / 1000) * (790 / 1000)))
    check(data == expected, "the file holds %s" % data.hex(" "))

    s.click("cmdONew")
    s.settle()
    check(panel(s) == ["0"] * 5, "after a new order the panel shows %r" % panel(s))
    check(s.read_text("txtWidth") == "0", "after a new order the opening is not cleared")

    s.click("cmdOOpen")
    s.settle()
    check(panel(s) == ["1000", "1500", "164", "6", "-13"], "opened grille 1 is %r" % panel(s))
    spin_up(s, "vsrPNumber")
    check(s.read_text("txtPNumber") == "2", "grille number is not 2")
    check(panel(s) == ["790", "1200", "164", "4", "46"], "opened grille 2 is %r" % panel(s))
    check(s.read_text("txtWidth") == "800", "the opening panel does not show opening 2")
    with open(path, "rb") as f:
        check(f.read() == expected, "opening the order changed its file")


def refuses_an_order_that_does_not_exist(s):
    s.replace_text("txtONumber", "404")
    s.click("cmdOOpen")
    s.dismiss("Ошибка")
    check(s.alive(), "the program ended")
    check(not os.path.exists(os.path.join(s.folder, "404.kxo")), "opening created a file")
    check(s.read_text("txtPWidth") == "", "the grille panel changed")


if __name__ == "__main__":
    harness.main([saves_and_opens_an_order, refuses_an_order_that_does_not_exist])
