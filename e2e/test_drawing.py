"""The grille drawing and the correction dialog as a user meets them: the
drawn frame of a typed opening, the drawing after the window was covered, a
correction through the dialog's scroll bar, and the greeting behind the order
frame's image."""

import math
import subprocess

import harness
from harness import check

PICTURE_W, PICTURE_H = 3375, 2295  # twips
MARGIN = 300
BORDER = 2  # the picture's sunken border, in pixels


def nearest(twips):
    return int(math.floor(twips / harness.TWIPS_PER_PIXEL + 0.5))


def frame_corners(B, H, q):
    """Window pixels of the outer frame's top left and bottom right corners."""
    if B / H > PICTURE_W / PICTURE_H:
        k = (PICTURE_W - MARGIN) / B
        x0, y0 = MARGIN / 2, (PICTURE_H - H * k) / 2
    else:
        k = (PICTURE_H - MARGIN) / H
        x0, y0 = (PICTURE_W - B * k) / 2, MARGIN / 2
    left, top, _, _ = harness.control_rect("Picture1")
    ox, oy = left + BORDER, top + BORDER
    return ((ox + nearest(x0), oy + nearest(y0)),
            (ox + nearest(x0 + B * k), oy + nearest(y0 + H * k - q * k)))


def screenshot(s):
    # import writes 16-bit samples unless told otherwise; Image reads 8-bit.
    data = subprocess.run(["import", "-window", s.window, "-depth", "8", "ppm:-"], env=s.env,
                          check=True, capture_output=True, timeout=s.timeout).stdout
    return harness.Image(data)


def check_frame(s, B, H, q, what):
    image = screenshot(s)
    (x1, y1), (x2, y2) = frame_corners(B, H, q)
    for x, y in ((x1, y1), (x2, y1), (x1, y2), (x2, y2), ((x1 + x2) // 2, y1)):
        check(image.is_dark(x, y), "%s: no frame at (%d, %d)" % (what, x, y))
    for x, y in ((x1 - 1, y1 - 1), (x2 + 1, y2 + 1), (x1 - 1, (y1 + y2) // 2)):
        check(not image.is_dark(x, y), "%s: drawn outside the frame at (%d, %d)" % (what, x, y))


def enter_and_calculate(s, width, height, gap):
    s.replace_text("txtWidth", str(width))
    s.replace_text("txtHeight", str(height))
    for box in ("txtZTop", "txtZDown", "txtZLeft"):
        s.replace_text(box, str(gap))
    s.click("cmdOK")
    s.settle()


def draws_the_frame_where_the_geometry_puts_it(s):
    enter_and_calculate(s, 1000, 1500, 10)  # B 980, H 1480: the height binds
    check_frame(s, 980, 1480, 14, "tall grille")
    enter_and_calculate(s, 3000, 1000, 0)  # B 3000, H 1000: the width binds
    check_frame(s, 3000, 1000, 14, "wide grille")


def keeps_the_drawing_when_uncovered_and_corrects_through_the_dialog(s):
    enter_and_calculate(s, 1000, 1500, 10)
    s.click("cmdChange")
    dialog = s.wait_window("Корректировка")
    wx, wy, _, _ = s.geometry()
    left, top, width, height = harness.control_rect("Picture1")
    # Cover the picture with the dialog, then move the dialog away.
    s.xdotool("windowmove", "--sync", dialog, str(wx + left + 40), str(wy + top + 10))
    s.settle()
    s.xdotool("windowmove", "--sync", dialog, str(wx + 760), str(wy + 40))
    s.settle()
    check_frame(s, 980, 1480, 14, "after being covered")

    # One click on the side gap's right arrow: side gap 11, B 978.
    x, y, w, h = (8 + 8, 48, 185, 17)  # HScroll1 in the dialog, pixels
    s.click_at(x + w - 4, y + h // 2, window=dialog)
    s.settle()
    check(s.read_text("txtPWidth") == "978", "the correction did not reach the panel")
    check_frame(s, 978, 1480, 14, "after the correction")


def greets_behind_the_image(s):
    s.click("Image1")
    s.dismiss("KX")
    check(s.alive(), "the program ended")


if __name__ == "__main__":
    harness.main([draws_the_frame_where_the_geometry_puts_it,
                  keeps_the_drawing_when_uncovered_and_corrects_through_the_dialog,
                  greets_behind_the_image])
