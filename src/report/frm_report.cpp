#include "frm_report.h"

#include "forms/widgets/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

QPlainTextEdit* MakeBox(QWidget* parent, const char* name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(report::BoxFont(9));
    box->setTabStopDistance(report::TabStopDistance(box->font()));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

} // namespace

FrmReport::FrmReport() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmReport"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    txtMainReport = MakeBox(this, "txtMainReport");
    Texts = MakeBox(this, "Texts");
    Label6 = new QLabel(this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setFont(report::HeadingFont());
    SetHeading({});
    placeBoxes();
}

void FrmReport::SetTable(const std::string& text) {
    table_ = text;
    txtMainReport->setPlainText(QString::fromStdString(text));
}

void FrmReport::SetMaterials(const std::string& text) {
    materials_ = text;
    Texts->setPlainText(QString::fromStdString(text));
}

void FrmReport::SetHeading(const std::string& text) {
    Label6->setText(QString::fromStdString(text));
    Label6->adjustSize();
    // Sized to its caption, the heading grows to the left so that it stays on
    // the page.
    Label6->move(std::max(0, Px(report::HeadingRight) - Label6->width()), Px(report::HeadingTop));
}

QString FrmReport::heading() const {
    return Label6->text();
}

double FrmReport::tableFontPoints() const {
    return txtMainReport->font().pointSizeF();
}

void FrmReport::SetTableHeight(int twips) {
    tableHeight_ = twips;
    placeBoxes();
}

void FrmReport::SetMaterialsTop(int twips) {
    materialsTop_ = twips;
    placeBoxes();
}

void FrmReport::SetMaterialsHeight(int twips) {
    materialsHeight_ = twips;
    placeBoxes();
}

void FrmReport::SetPageHeight(int twips) {
    pageHeight_ = twips;
    placeBoxes();
}

void FrmReport::placeBoxes() {
    Place(txtMainReport, report::BoxLeft, tableTop_, report::BoxWidth, tableHeight_);
    Place(Texts, report::BoxLeft, materialsTop_, report::BoxWidth, materialsHeight_);
    setFixedSize(Px(report::PageWidth), Px(pageHeight_));
}

report::ReportPage FrmReport::Page() const {
    report::ReportPage page;
    page.heading = heading();
    // The boxes hold what is printed, but their line ends are LF only.
    page.table = txtMainReport->toPlainText();
    page.materials = Texts->toPlainText();
    page.fontPoints = tableFontPoints();
    page.tableTop = tableTop_;
    page.tableHeight = tableHeight_;
    page.materialsTop = materialsTop_;
    page.materialsHeight = materialsHeight_;
    page.height = pageHeight_;
    return page;
}

void FrmReport::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.scale(1.0 / TwipsPerPixel, 1.0 / TwipsPerPixel);
    report::PaintLegend(painter);
}
