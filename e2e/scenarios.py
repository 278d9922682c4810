"""What only a real X server shows: a message box raised while typing, the
drawing surviving being covered, and printing to PDF through the save dialog.

    scenarios.py PROGRAM SCENARIO
"""

import os
import subprocess
import sys

import harness
from harness import check

SAVE_TITLE = "Принтер не установлен — сохранить в файл PDF"


def enter_opening(s, width, height, gap):
    s.replace_text("txtWidth", str(width))
    s.replace_text("txtHeight", str(height))
    for box in ("txtZTop", "txtZDown", "txtZLeft"):
        s.replace_text(box, str(gap))


def answers_a_six_digit_width_with_a_message(s):
    s.replace_text("txtWidth", "12345")
    s.type("6")
    s.dismiss("Ошибка")
    check(s.read_text("txtWidth") == "123456", "the typed text was not kept")


def keeps_the_drawing_when_uncovered(s):
    enter_opening(s, 1000, 1500, 10)  # B 980, H 1480: the height binds
    s.click("cmdOK")
    s.settle()
    # The outer frame's top left and bottom right corners inside the picture's
    # two-pixel border (the window tests place the drawing exactly).
    left, top, _, _ = harness.control_rect("Picture1")
    corners = [(left + 70, top + 12), (left + 159, top + 144)]
    check(all(s.dark_pixels(corners)), "the frame is not drawn")

    s.click("cmdChange")
    dialog = s.wait_window("Корректировка")
    wx, wy, _, _ = s.geometry()
    s.xdotool("windowmove", "--sync", dialog, str(wx + left + 40), str(wy + top + 10))
    s.settle()
    s.xdotool("windowmove", "--sync", dialog, str(wx + 760), str(wy + 40))
    s.settle()
    check(all(s.dark_pixels(corners)), "the drawing was lost after being covered")


def save_through_the_dialog(s, path):
    dialog = s.wait_window(SAVE_TITLE)
    s.xdotool("windowfocus", "--sync", dialog)
    # The file name box has the focus: replace the suggested name.
    s.key("ctrl+a")
    s.type(path)
    s.key("Return")
    s.wait_no_window(SAVE_TITLE)
    check(os.path.exists(path), "no PDF file was written")
    return subprocess.run(["pdftotext", "-layout", path, "-"], check=True,
                          capture_output=True).stdout.decode()


def prints_the_report_to_pdf(s):
    enter_opening(s, 1600, 1500, 10)
    s.click("cmdOK")
    s.replace_text("txtONumber", "42")
    s.click("cmdCreate")
    s.click("cmdPrint")
    text = save_through_the_dialog(s, os.path.join(s.folder, "report.pdf"))
    check("Заказ #42" in text, "no order heading in the PDF")
    check("Длина = 1466 мм. Количество = 12" in text, "no vertical bars in the PDF")


if __name__ == "__main__":
    scenario = globals()[sys.argv[2]]
    try:
        with harness.Session(sys.argv[1]) as session:
            scenario(session)
            check(session.alive(), "the program ended")
    except harness.Failure as e:
        print("FAIL", sys.argv[2], "-", e)
        sys.exit(1)
    print("PASS", sys.argv[2])
