"""Printing as a user meets it on a machine without a printer: the report and
the cutting plan are offered as PDF files through the save dialog, and the
files hold what the program built."""

import os
import subprocess

import harness
from harness import check

SAVE_TITLE = "Принтер не установлен — сохранить в файл PDF"


def enter_three_openings(s):
    s.replace_text("txtCount", "3")
    s.replace_text("txtWidth", "1600")
    s.replace_text("txtHeight", "1500")
    for box in ("txtZTop", "txtZDown", "txtZLeft"):
        s.replace_text(box, "10")
    s.click("cmdToAll")
    s.click("cmdOK")
    s.replace_text("txtONumber", "42")
    s.click("cmdCreate")


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


def prints_the_report_to_a_pdf_file(s):
    enter_three_openings(s)
    s.click("cmdPrint")
    text = save_through_the_dialog(s, os.path.join(s.folder, "report.pdf"))
    check("Заказ #42" in text, "no order heading in the PDF")
    check(text.count("Решетка №") == 3, "not three cut lists in the PDF")
    check("Длина = 1580 мм. Количество = 2" in text, "no horizontal bars in the PDF")
    check("Длина = 1466 мм. Количество = 12" in text, "no vertical bars in the PDF")
    check(s.alive(), "the program ended")


def prints_the_cutting_plan_to_a_pdf_file(s):
    enter_three_openings(s)
    s.click("cmdOptimize")
    window = s.wait_window("Раскрой")
    # "Печать" of the plan window, 9720, 6660, 1560 x 375 twips.
    s.click_at(harness.px(9720 + 780), harness.px(6660 + 187), window)
    text = save_through_the_dialog(s, os.path.join(s.folder, "plan.pdf"))
    check("11750" in text, "no stock length in the plan")
    check("оптимально" in text, "the plan is not marked optimal")
    check("1466" in text and "1580" in text, "the pieces are missing from the plan")


if __name__ == "__main__":
    harness.main([prints_the_report_to_a_pdf_file, prints_the_cutting_plan_to_a_pdf_file])
