#include "report_build.h"

namespace report {
namespace {

// Stands in when nobody watches the build.
class Unwatched final : public BuildSteps {};

} // namespace

Report BuildReport(const model::Order& order, std::string_view orderNumber, BuildSteps* steps) {
    Unwatched unwatched;
    BuildSteps& step = steps ? *steps : unwatched;
    Report report;

    const int listed = order.GrilleCount;
    for (int i = 1; i <= listed; ++i) {
        report.rows.push_back(ListRowOf(i, order.OpeningAt(i), order.GrilleAt(i)));
        step.Listed(report.rows.back());
        report.materials += MaterialBlock(i, order.GrilleAt(i));
        report.cuts.push_back(model::CutListOf(order.GrilleAt(i)));
        step.MaterialsSoFar(report.materials, report.cuts);
    }

    report.heading = OrderHeading(orderNumber);
    step.Heading(report.heading);
    report.table = TableHeader();
    step.TableSoFar(report.table);
    report.table += TableSeparator();
    step.TableSoFar(report.table);

    // The page gets its own copy of the cut lists, block by block.
    std::string pageMaterials;
    double total = 0;
    const int tabled = order.GrilleCount;
    for (int i = 1; i <= tabled; ++i) {
        report.table += TableRow(i, order.OpeningAt(i), order.GrilleAt(i));
        step.TableSoFar(report.table);
        total += order.GrilleAt(i).S;
        pageMaterials += MaterialBlock(i, order.GrilleAt(i));
        step.PageMaterialsSoFar(pageMaterials);
    }
    report.table += TableTotal(total);
    step.TableSoFar(report.table);

    report.layout = LayoutFor(order.GrilleCount, pageMaterials, BoxFontPoints);
    return report;
}

} // namespace report
