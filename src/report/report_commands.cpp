#include "forms/main/frm_main.h"
#include "frm_report.h"
#include "frm_sux.h"
#include "page_printer.h"
#include "report_text.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>

namespace {

// The secondary windows have no owner; they go when the main window goes.
template <class Window> Window* CreateOwnedBy(QObject* main) {
    auto* window = new Window();
    QObject::connect(main, &QObject::destroyed, window, [window] { delete window; });
    return window;
}

QStringList ToQt(const report::ListRow& row) {
    QStringList cells;
    for (const std::string& cell : row)
        cells << QString::fromStdString(cell);
    return cells;
}

// "Заказ #12/3" is offered as "Заказ 12_3.pdf" in the documents folder.
QString SuggestedPdfName(const QString& heading) {
    QString name = heading;
    name.remove(QLatin1Char('#'));
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(name.trimmed() + QStringLiteral(".pdf"));
}

} // namespace

FrmReport& FrmMain::reportWindow() {
    if (!report_)
        report_ = CreateOwnedBy<FrmReport>(this);
    return *report_;
}

FrmSux& FrmMain::suxWindow() {
    if (!sux_)
        sux_ = CreateOwnedBy<FrmSux>(this);
    return *sux_;
}

void FrmMain::cmdCreate_Click() {
    FrmReport& page = reportWindow();
    FrmSux& sux = suxWindow();
    const model::Order& order = order_;

    cmdPrint->setEnabled(true);
    sux.SetText({});
    page.SetMaterials({});
    lstReport1->clear();

    // Each box is written as soon as its piece is ready: an overflow in a cut
    // list ends the build with everything before it in place.
    std::string materials;
    const int firstCount = order.GrilleCount;
    for (int i = 1; i <= firstCount; ++i) {
        lstReport1->addTopLevelItem(
            new QTreeWidgetItem(ToQt(report::ListRowOf(i, order.OpeningAt(i), order.GrilleAt(i)))));
        materials += report::MaterialBlock(i, order.GrilleAt(i));
        sux.SetText(materials);
    }

    page.SetHeading(report::OrderHeading(txtONumber->text().toStdString()));
    std::string table = report::TableHeader();
    page.SetTable(table);
    table += report::TableSeparator();
    page.SetTable(table);

    double total = 0;
    materials.clear();
    const int secondCount = order.GrilleCount;
    for (int i = 1; i <= secondCount; ++i) {
        table += report::TableRow(i, order.OpeningAt(i), order.GrilleAt(i));
        page.SetTable(table);
        total += order.GrilleAt(i).S;
        materials += report::MaterialBlock(i, order.GrilleAt(i));
        page.SetMaterials(materials);
    }
    table += report::TableTotal(total);
    page.SetTable(table);

    const int tableHeight = report::TableHeight(order.GrilleCount, page.tableFontPoints());
    page.SetTableHeight(tableHeight);
    page.SetMaterialsTop(page.tableTop() + tableHeight + report::BoxGap);
    page.SetMaterialsHeight(
        report::MaterialsHeight(tableHeight, report::LineCount(materials), page.tableFontPoints()));
    page.SetPageHeight(page.materialsTop() + page.materialsHeight() + report::BoxGap);
    cmdShow->setEnabled(true);
    cmdOptimize->setEnabled(true);
}

void FrmMain::cmdShow_Click() {
    FrmSux& sux = suxWindow();
    sux.show();
    sux.raise();
    sux.activateWindow();
}

void FrmMain::cmdPrint_Click() {
    const FrmReport& page = reportWindow();
    PrintJob job;
    job.title = page.heading();
    job.suggestedFileName = SuggestedPdfName(page.heading());
    job.size = QSizeF(report::PageWidth, page.pageHeight());
    // The page is printed as it is now; nothing is rebuilt.
    const report::ReportPage content = page.Page();
    job.paint = [content](QPainter& painter, const QRectF& visible) {
        report::PaintReportPage(painter, content, visible);
    };
    job.breaks = report::PageBreaks(content);
    PrintOrSavePdf(this, messenger(), job);
}
