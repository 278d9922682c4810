#include "anchored.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/glpk_guard.h"
#include "optimize/lp/pricing.h"

#include <algorithm>

namespace cutting::detail {

namespace {

// Beyond this many pairs of medium sizes a round of pricing costs too much.
constexpr size_t MostAnchors = size_t{1} << 15;
// Anchorings tried for one count of bars: each costs a relaxation.
constexpr size_t MostAnchorings = 8;
// Sizes beyond which the branch and price is not tried: on orders of a few
// hundred sizes it settles what it can in a few tenths of a second, on
// larger ones its relaxation alone would take the share it is given.
constexpr int MostTypes = 400;
// Columns of the relaxation that cost a simplex iteration as much as a row.
constexpr int ColumnsARow = 8;

} // namespace

std::vector<Anchoring> Anchorings(const Instance& in) {
    const long long c = in.capacity;
    const size_t m = in.size.size();
    auto firstBelow = [&](long long x) {
        return static_cast<size_t>(
            std::partition_point(in.size.begin(), in.size.end(), [x](int s) { return s >= x; }) -
            in.size.begin());
    };
    std::vector<long long> count(m + 1, 0); // pieces of the sizes before each
    for (size_t t = 0; t < m; ++t)
        count[t + 1] = count[t] + in.demand[t];
    std::vector<Anchoring> all;
    for (size_t t = 0; t < m && 2LL * in.size[t] > c; ++t) {
        const long long shortestMedium = std::max(c - in.size[t] + 1, c / 3 + 1);
        Anchoring a{t + 1, std::max(t + 1, firstBelow(shortestMedium)), 0};
        a.bars = count[a.longEnd] + (count[a.mediumEnd] - count[a.longEnd] + 1) / 2;
        all.push_back(a);
    }
    std::reverse(all.begin(), all.end());
    return all;
}

AnchoredLp::AnchoredLp(const Instance& in, const Anchoring& a, int bars) : in_(in), bars_(bars) {
    const long long c = in.capacity;
    long long medium = 0;
    for (size_t t = a.longEnd; t < a.mediumEnd; ++t)
        medium += in.demand[t];
    for (size_t t = 0; t < a.longEnd; ++t)
        anchors_.push_back({static_cast<int>(c - in.size[t]), t, None});
    for (size_t t = a.longEnd; t < a.mediumEnd; ++t) {
        // With an even count of medium pieces every such bar holds two.
        if (medium % 2 == 1)
            anchors_.push_back({static_cast<int>(c - in.size[t]), t, None});
        for (size_t u = t; u < a.mediumEnd; ++u)
            if ((u > t || in.demand[t] >= 2) && in.size[t] + in.size[u] <= c)
                anchors_.push_back({static_cast<int>(c - in.size[t] - in.size[u]), t, u});
        if (anchors_.size() > MostAnchors)
            return; // no problem made: nothing is proved
    }
    std::vector<int> left(in.size.size(), 0);
    std::copy(in.demand.begin() + static_cast<std::ptrdiff_t>(a.mediumEnd), in.demand.end(),
              left.begin() + static_cast<std::ptrdiff_t>(a.mediumEnd));
    short_ = RemainderOf(in, left);
    short_.in.capacity = 0;
    for (const Anchor& anchor : anchors_)
        short_.in.capacity = std::max(short_.in.capacity, anchor.capacity);
    if (!Pricing::Fits(short_.in))
        return;
    const int m = in.Types();
    auto build = [&] {
        problem_.lp = glp_create_prob();
        glp_set_obj_dir(problem_.lp, GLP_MIN);
        glp_add_rows(problem_.lp, m + 1);
        for (int r = 1; r <= m; ++r)
            glp_set_row_bnds(problem_.lp, r, GLP_LO, in.demand[static_cast<size_t>(r - 1)], 0.0);
        glp_set_row_bnds(problem_.lp, m + 1, GLP_UP, 0.0, bars);
    };
    if (!Guarded(build))
        problem_.lp = nullptr;
    for (int r = 1; r <= m + 1; ++r)
        AddArtificial(r, r == m + 1 ? -1.0 : 1.0);
}

int AnchoredLp::AddArtificial(int row, double coef) {
    int col = 0;
    Run([&](glp_prob* lp) {
        col = glp_add_cols(lp, 1);
        const int index[] = {0, row};
        const double value[] = {0.0, coef};
        glp_set_mat_col(lp, col, 1, index, value);
        glp_set_col_bnds(lp, col, GLP_LO, 0.0, 0.0);
        glp_set_obj_coef(lp, col, 1.0);
    });
    return col;
}

double AnchoredLp::Coefficient(const Branch& b, const Column& c) {
    if (b.anchor != c.anchor)
        return 0.0;
    return b.type == None ? 1.0 : c.bar[b.type];
}

void AnchoredLp::AddColumn(size_t anchor, Bar bar) {
    Column column{anchor, std::move(bar), 0};
    std::vector<int> index{0};
    std::vector<double> coef{0.0};
    for (size_t t = 0; t < column.bar.size(); ++t)
        if (column.bar[t] > 0) {
            index.push_back(static_cast<int>(t) + 1);
            coef.push_back(column.bar[t]);
        }
    index.push_back(in_.Types() + 1);
    coef.push_back(1.0);
    for (const Branch& b : branches_)
        if (const double v = Coefficient(b, column); v != 0.0) {
            index.push_back(b.row);
            coef.push_back(v);
        }
    Run([&](glp_prob* lp) {
        column.col = glp_add_cols(lp, 1);
        glp_set_mat_col(lp, column.col, static_cast<int>(index.size()) - 1, index.data(),
                        coef.data());
        glp_set_col_bnds(lp, column.col, GLP_LO, 0.0, 0.0);
        glp_set_obj_coef(lp, column.col, 0.0);
    });
    columns_.push_back(std::move(column));
}

bool AnchoredLp::Simplex(const Stop& stop) {
    // A new branch keeps the last basis dual feasible, new columns keep it
    // primal feasible.
    const int method = dual_ ? GLP_DUALP : GLP_PRIMAL;
    dual_ = false;
    bool optimal = false;
    const bool ran = Run([&](glp_prob* lp) {
        // An iteration here prices thousands of columns over a few hundred
        // rows: it costs as much as that many more rows would.
        const int rows = glp_get_num_rows(lp) + glp_get_num_cols(lp) / ColumnsARow;
        optimal = SimplexInSlices(lp, method, SimplexSlice(in_.Types() + 1), rows, stop) ==
                  SimplexEnd::Optimal;
    });
    return ran && optimal;
}

bool AnchoredBoundRules(const Instance& in, int bars, const Stop& stop) {
    size_t tried = 0;
    for (const Anchoring& a : Anchorings(in)) {
        if (a.bars > bars)
            return true;
        if (a.bars < bars || in.Types() > MostTypes || stop.Now() || tried == MostAnchorings)
            continue;
        ++tried;
        AnchoredLp lp(in, a, bars);
        if (lp.RulesOut(stop))
            return true;
    }
    return false;
}

} // namespace cutting::detail
