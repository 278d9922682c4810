#pragma once

#include "report_page.h"

#include <QWidget>

#include <string>

class QLabel;
class QPlainTextEdit;

// The report page as a window: the layout that is printed, never shown. The
// report builder writes its boxes and heading; printing paints the page from
// them at the positions the builder left. Geometry is kept in twips.
class FrmReport : public QWidget {
    Q_OBJECT
public:
    FrmReport();

    QPlainTextEdit* txtMainReport;
    QPlainTextEdit* Texts;
    QLabel* Label6;

    // The boxes show LF line ends; the texts as built, CR LF and all, are
    // kept beside them.
    void SetTable(const std::string& text);
    void SetMaterials(const std::string& text);
    void SetHeading(const std::string& text);
    const std::string& table() const { return table_; }
    const std::string& materials() const { return materials_; }
    QString heading() const;

    int tableTop() const { return tableTop_; }
    int tableHeight() const { return tableHeight_; }
    double tableFontPoints() const;
    int materialsTop() const { return materialsTop_; }
    int materialsHeight() const { return materialsHeight_; }
    int pageHeight() const { return pageHeight_; }
    void SetTableHeight(int twips);
    void SetMaterialsTop(int twips);
    void SetMaterialsHeight(int twips);
    void SetPageHeight(int twips);

    // What the page shows now.
    report::ReportPage Page() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void placeBoxes();

    std::string table_;
    std::string materials_;
    int tableTop_ = report::LegendHeight;
    int tableHeight_ = 4935;
    int materialsTop_ = 12840;
    int materialsHeight_ = 6375;
    int pageHeight_ = 110520;
};
