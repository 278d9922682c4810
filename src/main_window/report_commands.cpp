// The report commands: "Создать отчёт", "Показать" and "Печать отчёта".

#include "main_window.h"

#include "printing/page_printer.h"
#include "report/report_build.h"
#include "views/report/material_window.h"
#include "views/report/report_page.h"
#include "views/report/report_page_window.h"
#include "widgets/messenger.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QStringList ToQt(const report::ListRow& row) {
    QStringList cells;
    for (const std::string& cell : row)
        cells << QString::fromStdString(cell);
    return cells;
}

// Puts each piece of a report on screen as soon as the build has it.
class OnScreen final : public report::BuildSteps {
public:
    OnScreen(QTreeWidget& list, MaterialWindow& materials, ReportPageWindow& page,
             std::vector<model::CutList>& cuts)
        : list_(list), materials_(materials), page_(page), cuts_(cuts) {}

    void Listed(const report::ListRow& row) override {
        list_.addTopLevelItem(new QTreeWidgetItem(ToQt(row)));
    }
    void MaterialsSoFar(const std::string& text, const std::vector<model::CutList>& cuts) override {
        materials_.SetText(text);
        cuts_ = cuts;
    }
    void Heading(const std::string& text) override { page_.SetHeading(text); }
    void TableSoFar(const std::string& text) override { page_.SetTable(text); }
    void PageMaterialsSoFar(const std::string& text) override { page_.SetMaterials(text); }

private:
    QTreeWidget& list_;
    MaterialWindow& materials_;
    ReportPageWindow& page_;
    std::vector<model::CutList>& cuts_;
};

} // namespace

void MainWindow::BuildReport() {
    ReportPageWindow& page = reportPage_.Get();
    MaterialWindow& materials = materials_.Get();
    printReportButton_->setEnabled(true);
    materials.SetText({});
    page.SetMaterials({});
    grilleList_->clear();
    builtCuts_.clear();
    builtBarSize_ = order_.GrilleCount > 0 ? order_.GrilleAt(1).q : order_.Quadro;
    builtOrderNumber_ = orderNumberBox_->text();

    // An overflow in a cut list ends the build with everything before it in
    // place.
    OnScreen onScreen(*grilleList_, materials, page, builtCuts_);
    const report::Report built =
        report::BuildReport(order_, orderNumberBox_->text().toStdString(), &onScreen);
    page.SetLayout(built.layout);
    showMaterialsButton_->setEnabled(true);
    optimizeButton_->setEnabled(true);
}

void MainWindow::ShowMaterials() {
    materials_.Show();
}

void MainWindow::PrintReport() {
    // The page is printed as it is now; nothing is rebuilt.
    PrintOrSavePdf(this, messenger_, report::PrintJobOf(reportPage_.Get().Page()));
}
