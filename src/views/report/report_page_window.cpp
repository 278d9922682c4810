#include "report_page_window.h"

#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

QPlainTextEdit* MakePageBox(QWidget* parent, const char* name) {
    QPlainTextEdit* box = MakeTextArea(parent, name);
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

    txtMainReport = MakePageBox(this, "txtMainReport");
    Texts = MakePageBox(this, "Texts");
    Label6 = Named(new QLabel(this), "Label6");
    Label6->setFont(report::HeadingFont());
    SetHeading({});
    PlaceBoxes();
}

void ReportPageWindow::SetTable(const std::string& text) {
    table_ = text;
    txtMainReport->setPlainText(QString::fromStdString(text));
}

void ReportPageWindow::SetMaterials(const std::string& text) {
    materials_ = text;
    Texts->setPlainText(QString::fromStdString(text));
}

void ReportPageWindow::SetHeading(const std::string& text) {
    Label6->setText(QString::fromStdString(text));
    Label6->adjustSize();
    // Sized to its caption, the heading grows to the left so that it stays on
    // the page.
    Label6->move(std::max(0, Px(report::HeadingRight) - Label6->width()), Px(report::HeadingTop));
}

QString ReportPageWindow::Heading() const {
    return Label6->text();
}

void ReportPageWindow::SetLayout(const report::PageLayout& layout) {
    layout_ = layout;
    PlaceBoxes();
}

void ReportPageWindow::PlaceBoxes() {
    Place(txtMainReport, report::BoxLeft, layout_.tableTop, report::BoxWidth, layout_.tableHeight);
    Place(Texts, report::BoxLeft, layout_.materialsTop, report::BoxWidth, layout_.materialsHeight);
    setFixedSize(Px(report::PageWidth), Px(layout_.height));
}

report::ReportPage ReportPageWindow::Page() const {
    report::ReportPage page;
    page.heading = Heading();
    // The boxes hold what is printed, but their line ends are LF only.
    page.table = txtMainReport->toPlainText();
    page.materials = Texts->toPlainText();
    page.fontPoints = txtMainReport->font().pointSizeF();
    page.layout = layout_;
    return page;
}

void ReportPageWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.scale(1.0 / TwipsPerPixel, 1.0 / TwipsPerPixel);
    report::PaintLegend(painter);
}
