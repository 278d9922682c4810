#include "report_page_window.h"

#include "widgets/controls.h"
#include "widgets/layout_table.h"
#include "widgets/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

// The boxes' places follow the report's layout (PlaceBoxes); the heading is
// sized to its text and grows to the left (SetHeading).
const ControlRow PageControls[] = {
    {"txtMainReport", ControlKind::Made, nullptr, nullptr, 0, 0, 0, 0},
    {"Texts", ControlKind::Made, nullptr, nullptr, 0, 0, 0, 0},
    {"Label6", ControlKind::Label, nullptr, "", 0, 0, 0, 0},
};

QPlainTextEdit* MakePageBox(QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setFont(report::BoxFont(report::BoxFontPoints));
    box->setTabStopDistance(report::TabStopDistance(box->font()));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

} // namespace

ReportPageWindow::ReportPageWindow() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmReport"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    const Controls controls(this, PageControls,
                            {{"txtMainReport", MakePageBox}, {"Texts", MakePageBox}});
    tableBox_ = controls.Get<QPlainTextEdit>("txtMainReport");
    cutListsBox_ = controls.Get<QPlainTextEdit>("Texts");
    headingLabel_ = controls.Get<QLabel>("Label6");
    headingLabel_->setFont(report::HeadingFont());
    SetHeading({});
    PlaceBoxes();
}

void ReportPageWindow::SetTable(const std::string& text) {
    table_ = text;
    tableBox_->setPlainText(QString::fromStdString(text));
}

void ReportPageWindow::SetMaterials(const std::string& text) {
    materials_ = text;
    cutListsBox_->setPlainText(QString::fromStdString(text));
}

void ReportPageWindow::SetHeading(const std::string& text) {
    headingLabel_->setText(QString::fromStdString(text));
    headingLabel_->adjustSize();
    // Sized to its caption, the heading grows to the left so that it stays on
    // the page.
    headingLabel_->move(std::max(0, Px(report::HeadingRight) - headingLabel_->width()),
                        Px(report::HeadingTop));
}

QString ReportPageWindow::Heading() const {
    return headingLabel_->text();
}

void ReportPageWindow::SetLayout(const report::PageLayout& layout) {
    layout_ = layout;
    PlaceBoxes();
}

void ReportPageWindow::PlaceBoxes() {
    Place(tableBox_, report::BoxLeft, layout_.tableTop, report::BoxWidth, layout_.tableHeight);
    Place(cutListsBox_, report::BoxLeft, layout_.materialsTop, report::BoxWidth,
          layout_.materialsHeight);
    setFixedSize(Px(report::PageWidth), Px(layout_.height));
}

report::ReportPage ReportPageWindow::Page() const {
    report::ReportPage page;
    page.heading = Heading();
    // The boxes hold what is printed, but their line ends are LF only.
    page.table = tableBox_->toPlainText();
    page.materials = cutListsBox_->toPlainText();
    page.fontPoints = tableBox_->font().pointSizeF();
    page.layout = layout_;
    return page;
}

void ReportPageWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.scale(1.0 / TwipsPerPixel, 1.0 / TwipsPerPixel);
    report::PaintLegend(painter);
}
