"""The main window as a user meets it: its size, typing an opening, "ОК",
and a width too large for the program."""

import harness
from harness import check


def opens_at_its_fixed_size(s):
    x, y, width, height = s.geometry()
    check((width, height) == (728, 480), "window is %dx%d" % (width, height))
    check(s.read_text("txtCount") == "1", "count does not start at 1")
    check(s.read_text("txtQuadro") == "14", "bar size does not start at 14")


def calculates_a_typed_opening(s):
    s.replace_text("txtWidth", "1000")
    s.replace_text("txtHeight", "1500")
    for box in ("txtZTop", "txtZDown", "txtZLeft"):
        s.replace_text(box, "10")
    s.click("cmdOK")
    s.settle()
    check(s.read_text("txtPWidth") == "980", "grille width is not 980")
    check(s.read_text("txtPHeight") == "1480", "grille height is not 1480")
    check(s.read_text("txtPStep") == "164", "step is not 164")
    check(s.read_text("txtPStepCount") == "5", "step count is not 5")
    check(s.read_text("txtPAdd") == "59", "insert width is not 59")


def answers_a_six_digit_width_with_a_message(s):
    s.replace_text("txtWidth", "12345")
    s.type("6")
    s.dismiss("Ошибка")
    check(s.alive(), "the program ended")
    check(s.read_text("txtWidth") == "123456", "the typed text was not kept")
    # The program goes on working: the last good value was stored.
    s.replace_text("txtHeight", "1500")
    s.click("cmdOK")
    s.settle()
    check(s.read_text("txtPWidth") == "12345", "the stored width is not the last good one")


def the_count_spinner_stops_at_sixty(s):
    x, y, w, h = harness.control_rect("vsrCount")
    for _ in range(65):
        s.click_at(x + w // 2, y + 3)
    check(s.read_text("txtCount") == "60", "count spinner did not stop at 60")


if __name__ == "__main__":
    harness.main([opens_at_its_fixed_size, calculates_a_typed_opening,
                  answers_a_six_digit_width_with_a_message, the_count_spinner_stops_at_sixty])
