#include "material_window.h"

#include "report_page.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QPlainTextEdit>

MaterialWindow::MaterialWindow()
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmSux"));
    setWindowTitle(QStringLiteral("Расход материалов"));
    setFixedSize(Px(5190), Px(3750));

    txtSux = MakeTextArea(this, "txtSux");
    txtSux->setAccessibleName(QStringLiteral("Расход материалов"));
    txtSux->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtSux->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtSux->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtSux->setTabStopDistance(report::TabStopDistance(txtSux->font()));
    Place(txtSux, 0, 0, 5175, 3735);
}

void MaterialWindow::SetText(const std::string& text) {
    txtSux->setPlainText(QString::fromStdString(text));
}
