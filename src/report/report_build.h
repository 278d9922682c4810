#pragma once

// One build of the whole report from the order: the list of grilles, the
// report table, the cut lists and the heading, and the page they fill.

#include "model/cut_list.h"
#include "model/order.h"
#include "page_layout.h"
#include "report_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace report {

struct Report {
    std::vector<ListRow> rows;
    std::string table;
    std::string materials;
    std::string heading;
    // The cut list of each grille, as its material block gives it.
    std::vector<model::CutList> cuts;
    PageLayout layout;
};

// Told of every piece of a build the moment it is ready, so that a build an
// overflow stops leaves everything before it in place on screen.
class BuildSteps {
public:
    // First pass over the grilles: the list, and the material window's text
    // with the cut lists it shows.
    virtual void Listed(const ListRow& row) { (void)row; }
    virtual void MaterialsSoFar(const std::string& text, const std::vector<model::CutList>& cuts) {
        (void)text;
        (void)cuts;
    }
    // Second pass: the page's heading, table and cut lists.
    virtual void Heading(const std::string& text) { (void)text; }
    virtual void TableSoFar(const std::string& text) { (void)text; }
    virtual void PageMaterialsSoFar(const std::string& text) { (void)text; }

protected:
    ~BuildSteps() = default;
};

// Builds the report for grilles 1..GrilleCount. The grille count is read once
// for each pass; an overflow in a cut list or a count beyond the tables
// raises the run-time error where it happens.
Report BuildReport(const model::Order& order, std::string_view orderNumber,
                   BuildSteps* steps = nullptr);

} // namespace report
