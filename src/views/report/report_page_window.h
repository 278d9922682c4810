#pragma once

#include "report_page.h"

#include <QWidget>

#include <string>

class QLabel;
class QPlainTextEdit;

// The report page as a window: the layout that is printed, never shown. A
// report build writes its boxes and heading; printing paints the page from
// them at the positions the build left.
class ReportPageWindow : public QWidget {
    Q_OBJECT
public:
    ReportPageWindow();

    // The boxes show LF line ends; the texts as built, CR LF and all, are
    // kept beside them.
    void SetTable(const std::string& text);
    void SetMaterials(const std::string& text);
    void SetHeading(const std::string& text);
    const std::string& Table() const { return table_; }
    const std::string& Materials() const { return materials_; }
    QString Heading() const;

    const report::PageLayout& Layout() const { return layout_; }
    void SetLayout(const report::PageLayout& layout);

    // What the page shows now.
    report::ReportPage Page() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PlaceBoxes();

    QPlainTextEdit* tableBox_;
    QPlainTextEdit* cutListsBox_;
    QLabel* headingLabel_;
    std::string table_;
    std::string materials_;
    report::PageLayout layout_;
};
