#include "valued_cover.h"

#include "glpk_guard.h"

#include <glpk.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <functional>
#include <utility>

namespace cutting::detail {

namespace {

// Sums of a few hundred products of values: their rounding errors stay far
// below this, and a bar this close to the limit is listed anyway.
constexpr double Eps = 1e-9;
// The table of bounds is given up beyond this many entries (32 MB), the list
// beyond this many steps of listing it, and the integer program beyond this
// many bars on the list: a few thousand columns keep its branch and cut to a
// few tenths of a second, more rarely finish in time.
constexpr long long MostTable = 1LL << 22;
constexpr long long MostSteps = 1LL << 23;
constexpr size_t MostBars = 2000;
// The share of the size bound in the values the bars are listed by (see
// ValuedCover): enough to give pieces that the values leave at nothing a
// worth, so that adding them to a bar is not free.
constexpr double SizeShare = 0.01;
// The work of the first run of the branch and cut (see ValuedCover::Search).
constexpr long long FirstRun = WorkOf(std::chrono::milliseconds(250));
// Work counted for a node of the branch and cut beyond its simplex steps.
constexpr long long NodeWork = 20000;

// Every bar whose worth at `value` is at least `need`, each handed to `keep`
// with the length it leaves free. A depth-first walk over the sizes, longest
// first, cut short where even the most valuable rest of the bar cannot bring
// it to `need`.
class ValuedList {
public:
    using Item = BarList::Item;
    using Keep = std::function<bool(const std::vector<Item>&, long long waste)>;

    ValuedList(const Instance& in, const std::vector<double>& value, double need)
        : in_(in), value_(value), need_(need), m_(in.size.size()),
          width_(static_cast<size_t>(in.capacity) + 1) {}

    // False when the table or the listing would take too much, when stopped
    // first, or when `keep` returns false.
    bool Run(const Keep& keep, const Stop& stop) {
        if (!ValuedCover::Fits(in_))
            return false;
        // best_[t * width + r]: the most the sizes from t on are worth in a
        // length r, within their demand.
        best_.assign((m_ + 1) * width_, 0.0);
        for (size_t t = m_; t-- > 0;) {
            const double* next = &best_[(t + 1) * width_];
            double* row = &best_[t * width_];
            const auto s = static_cast<size_t>(in_.size[t]);
            const auto most = static_cast<size_t>(in_.demand[t]);
            for (size_t r = 0; r < width_; ++r) {
                double b = next[r];
                for (size_t k = 1; k <= most && k * s <= r; ++k)
                    b = std::max(b, static_cast<double>(k) * value_[t] + next[r - k * s]);
                row[r] = b;
            }
            stop.Spend(static_cast<long long>(width_));
        }
        if (stop.Now())
            return false;
        steps_ = MostSteps;
        keep_ = &keep;
        const bool done = Enumerate(0, static_cast<size_t>(in_.capacity), 0.0);
        stop.Spend(MostSteps - steps_);
        return done && !stop.Now();
    }

private:
    bool Enumerate(size_t from, size_t room, double worth) {
        if (--steps_ < 0)
            return false;
        if (worth >= need_ && !items_.empty() && !(*keep_)(items_, static_cast<long long>(room)))
            return false;
        for (size_t t = from; t < m_; ++t) {
            if (worth + best_[t * width_ + room] < need_)
                break; // fewer sizes are worth no more
            const auto s = static_cast<size_t>(in_.size[t]);
            for (int k = 1; k <= in_.demand[t] && static_cast<size_t>(k) * s <= room; ++k) {
                const size_t left = room - static_cast<size_t>(k) * s;
                const double w = worth + k * value_[t];
                if (w + best_[(t + 1) * width_ + left] < need_)
                    continue;
                items_.push_back({static_cast<int>(t), k});
                const bool ok = Enumerate(t + 1, left, w);
                items_.pop_back();
                if (!ok)
                    return false;
            }
        }
        return true;
    }

    const Instance& in_;
    const std::vector<double>& value_;
    double need_;
    size_t m_, width_;
    std::vector<double> best_;
    long long steps_ = 0;
    const Keep* keep_ = nullptr;
    std::vector<Item> items_;
};

// Adds the columns of the integer program: how many of each listed bar, the
// demand covered exactly, at most `bars` bars.
void Build(glp_prob* mip, const Instance& in, const BarList& list, int bars) {
    const auto m = static_cast<int>(in.size.size());
    glp_set_obj_dir(mip, GLP_MIN);
    glp_add_rows(mip, m + 1);
    for (int t = 0; t < m; ++t) {
        const double d = in.demand[static_cast<size_t>(t)];
        glp_set_row_bnds(mip, t + 1, GLP_FX, d, d);
    }
    glp_set_row_bnds(mip, m + 1, GLP_UP, 0.0, bars);
    glp_add_cols(mip, static_cast<int>(list.Size()));
    std::vector<int> index;
    std::vector<double> coef;
    for (size_t b = 0; b < list.Size(); ++b) {
        index.assign(1, 0);
        coef.assign(1, 0.0);
        int most = bars;
        for (const auto* it = list.Begin(b); it != list.End(b); ++it) {
            index.push_back(it->type + 1);
            coef.push_back(it->count);
            most = std::min(most, in.demand[static_cast<size_t>(it->type)] / it->count);
        }
        index.push_back(m + 1);
        coef.push_back(1.0);
        const int col = static_cast<int>(b) + 1;
        glp_set_mat_col(mip, col, static_cast<int>(index.size()) - 1, index.data(), coef.data());
        glp_set_col_kind(mip, col, GLP_IV);
        glp_set_col_bnds(mip, col, GLP_DB, 0.0, most);
        glp_set_obj_coef(mip, col, 1.0);
    }
}

bool Read(glp_prob* mip, const Instance& in, const BarList& list, int bars, Packing& packing) {
    packing.clear();
    for (size_t b = 0; b < list.Size(); ++b) {
        const double level = glp_mip_col_val(mip, static_cast<int>(b) + 1);
        const auto copies = static_cast<long long>(std::llround(level));
        if (copies <= 0)
            continue;
        if (copies > bars)
            return false;
        Bar bar(in.size.size(), 0);
        for (const auto* it = list.Begin(b); it != list.End(b); ++it)
            bar[static_cast<size_t>(it->type)] = it->count;
        packing.insert(packing.end(), static_cast<size_t>(copies), bar);
    }
    return !packing.empty();
}

// Counts the branch and cut's simplex steps and nodes as work, and ends it
// once its stop says so.
struct Progress {
    const Stop* stop;
    int iterations = 0;
    int nodes = 0;

    static void Callback(glp_tree* tree, void* info) {
        auto* self = static_cast<Progress*>(info);
        glp_prob* problem = glp_ios_get_prob(tree);
        const int iterations = glp_get_it_cnt(problem);
        int active = 0, nodes = 0, total = 0;
        glp_ios_tree_size(tree, &active, &nodes, &total);
        self->stop->Spend(SimplexWork(iterations - self->iterations, glp_get_num_rows(problem)) +
                          NodeWork * (total - self->nodes));
        self->iterations = iterations;
        self->nodes = total;
        if (self->stop->Now())
            glp_ios_terminate(tree);
    }
};

} // namespace

ValuedCover::ValuedCover(const Instance& in, std::vector<double> value, int bars)
    : in_(in), value_(std::move(value)), bars_(bars) {
    // In a packing into `bars` bars the bars fall short of worth 1 by
    // `slack_` together, and leave `free_` of their length unused together:
    // no bar falls short by more, or leaves more free.
    double worth = 0.0;
    for (size_t i = 0; i < value_.size() && i < in.demand.size(); ++i)
        worth += in.demand[i] * value_[i];
    slack_ = bars - worth;
    free_ = static_cast<long long>(bars) * in.capacity - in.TotalSize();
    none_ = bars <= 0 || slack_ < -Eps || free_ < 0;
}

bool ValuedCover::Fits(const Instance& in) {
    return (static_cast<long long>(in.size.size()) + 1) * (in.capacity + 1LL) <= MostTable;
}

bool ValuedCover::List(const Stop& stop) {
    if (none_)
        return true;
    if (value_.size() != in_.size.size())
        return false;
    // Both limits hold for any mix of the values with those in proportion to
    // the sizes, at which no bar is worth more than 1 either. Listing by a
    // mix that leans to the values gives pieces the values leave at nothing
    // a little worth, so that a bar with room for more of them is not listed
    // again with each.
    std::vector<double> mixed(value_.size());
    for (size_t i = 0; i < value_.size(); ++i)
        mixed[i] = (1.0 - SizeShare) * value_[i] +
                   SizeShare * static_cast<double>(in_.size[i]) / in_.capacity;
    const double mixedSlack =
        (1.0 - SizeShare) * slack_ + SizeShare * static_cast<double>(free_) / in_.capacity;
    auto keep = [&](const std::vector<BarList::Item>& items, long long waste) {
        double w = 0.0;
        for (const auto& item : items)
            w += item.count * value_[static_cast<size_t>(item.type)];
        if (1.0 - w <= slack_ + Eps && waste <= free_)
            list_.Append(items, waste);
        return list_.Size() <= MostBars;
    };
    if (!ValuedList(in_, mixed, 1.0 - mixedSlack - Eps).Run(keep, stop))
        return false;
    none_ = list_.Size() == 0;
    return true;
}

ValuedCover::Outcome ValuedCover::Search(const Stop& stop, Packing& packing) {
    if (none_)
        return Outcome::None;
    // How long the branch and cut takes swings by ten times and more from
    // one rule of branching to another, and which rule is quick differs from
    // one problem to the next: the rules take turns, each run afresh with a
    // budget of work that doubles every round.
    static constexpr int Rules[] = {GLP_BR_LFV, GLP_BR_MFV};
    for (; !stop.Now(); ++round_) {
        Outcome outcome = Outcome::Open;
        // GLPK failed: this search ends, a later one starts it afresh.
        if (!Run(Rules[round_ % 2], stop.Within(FirstRun << std::min(round_ / 2, 20)), packing,
                 outcome))
            return Outcome::Open;
        if (outcome != Outcome::Open) {
            none_ = outcome == Outcome::None;
            return outcome;
        }
    }
    return Outcome::Open;
}

bool ValuedCover::Run(int rule, const Stop& stop, Packing& packing, Outcome& outcome) {
    outcome = Outcome::Open;
    Progress progress{&stop};
    glp_prob* mip = nullptr;
    auto solve = [&] {
        mip = glp_create_prob();
        Build(mip, in_, list_, bars_);
        glp_iocp parm;
        glp_init_iocp(&parm);
        parm.msg_lev = GLP_MSG_OFF;
        parm.presolve = GLP_ON;
        // Cover and clique cuts; the others cost more than they save here.
        parm.cov_cuts = GLP_ON;
        parm.clq_cuts = GLP_ON;
        parm.br_tech = rule;
        parm.cb_func = &Progress::Callback;
        parm.cb_info = &progress;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(stop.Deadline() - Clock::now());
        if (left.count() > 0 && !stop.Now()) {
            parm.tm_lim = static_cast<int>(std::min<long long>(left.count(), INT_MAX));
            const int result = glp_intopt(mip, &parm);
            const int status = glp_mip_status(mip);
            // The presolver finds no fractional cover, or the search none with
            // whole bars.
            if (result == GLP_ENOPFS || (result == 0 && status == GLP_NOFEAS))
                outcome = Outcome::None;
            else if ((result == 0 || result == GLP_ETMLIM || result == GLP_ESTOP) &&
                     (status == GLP_OPT || status == GLP_FEAS) &&
                     Read(mip, in_, list_, bars_, packing))
                outcome = Outcome::Found;
        }
        glp_delete_prob(mip);
    };
    const GlpkShare share;
    if (Guarded(solve))
        return true;
    outcome = Outcome::Open;
    return false;
}

} // namespace cutting::detail
