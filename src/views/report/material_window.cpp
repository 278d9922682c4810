#include "material_window.h"

#include "report_page.h"
#include "widgets/controls.h"
#include "widgets/layout_table.h"
#include "widgets/twips.h"

#include <QPlainTextEdit>

namespace {

const ControlRow Layout[] = {
    {"txtSux", ControlKind::Made, nullptr, nullptr, 0, 0, 5175, 3735},
};

QPlainTextEdit* MakeCutListsBox(QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setAccessibleName(QStringLiteral("Расход материалов"));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabStopDistance(report::TabStopDistance(box->font()));
    return box;
}

} // namespace

MaterialWindow::MaterialWindow()
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmSux"));
    setWindowTitle(QStringLiteral("Расход материалов"));
    setFixedSize(Px(5190), Px(3750));

    cutListsBox_ =
        Controls(this, Layout, {{"txtSux", MakeCutListsBox}}).Get<QPlainTextEdit>("txtSux");
}

void MaterialWindow::SetText(const std::string& text) {
    cutListsBox_->setPlainText(QString::fromStdString(text));
}
