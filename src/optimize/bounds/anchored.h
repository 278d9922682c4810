#pragma once

// The bound of bars told apart by their long pieces (AnchoredBoundRules,
// below): the anchorings of an order and the branch and price over each.

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/glpk_guard.h"
#include "optimize/lp/pricing.h"
#include "optimize/lp/safe_bound.h"

#include <glpk.h>

#include <limits>
#include <unordered_set>
#include <utility>
#include <vector>

namespace cutting::detail {

// A way to tell the bars of any packing into a given number of bars apart by
// their longest pieces. Sizes [0, longEnd) are longer than half a bar, so no
// two share one. Sizes [longEnd, mediumEnd) fit beside none of them, and no
// three of them fit one bar. The long pieces and half the medium ones,
// rounded up, need `bars` bars; when that is all there are, every bar holds
// one long piece or one or two medium ones, and the rest are short pieces.
struct Anchoring {
    size_t longEnd = 0;
    size_t mediumEnd = 0;
    long long bars = 0;
};

// Every anchoring, the one with the most long sizes first: its bars are told
// apart most finely.
std::vector<Anchoring> Anchorings(const Instance& in);

// The relaxation of a packing into the anchoring's bars, each bar holding its
// long or medium pieces and short ones beside them, with a branch and price
// over it: one row per size (at least the demand), one for the bars (at most
// their number), a row for each branch, an artificial column of cost 1 in each
// so that it always has a solution, and bar contents of cost 0. Where the
// optimum is above 0 no packing is left; the duals prove it whatever GLPK's
// rounding, as they are made whole numbers and checked exactly against the
// best bar itself (see Price() and safe_bound.h).
// A branch splits on how many pieces of a short size go beside one kind of
// anchor altogether, or how many bars a pair of medium sizes makes: whole in
// any packing, fractional in the relaxation.
class AnchoredLp {
public:
    AnchoredLp(const Instance& in, const Anchoring& a, int bars);

    // True when the branch and price proves that no packing into the bars
    // exists; false when one may, or it stopped, or GLPK failed.
    bool RulesOut(const Stop& stop) { return problem_.lp != nullptr && Search(stop, 0); }

private:
    static constexpr size_t None = std::numeric_limits<size_t>::max();
    struct Anchor {
        int capacity;  // left beside its long or medium pieces
        size_t first;  // size of its long or medium piece
        size_t second; // of its other medium piece, or None
    };
    struct Column {
        size_t anchor;
        Bar bar;
        int col;
    };
    struct Branch {
        size_t anchor;
        size_t type; // a short size, or None for the anchor's bars
        int row;
        int artificial;
        bool up; // at least `bound`, else at most
        double bound;
    };
    enum class Outcome { RuledOut, Open, Unknown };
    // The duals made whole numbers, what they prove the rows are worth, and
    // the worth a new bar must exceed; `value` is the rows' worth as GLPK
    // has it, for choosing where to branch.
    struct Proof {
        std::vector<long long> dual;
        Wide needed = 0;
        long long improves = 0;
        double value = 0.0;
    };

    template <class F> bool Run(F&& f) { return problem_.Run(std::forward<F>(f)); }
    bool Search(const Stop& stop, int depth);
    // The most fractional flow of the solution: pieces of a short size beside
    // an anchor, or an anchor's bars; false when every flow is whole or GLPK
    // failed.
    bool MostFractional(std::pair<size_t, size_t>& split, double& value);
    void Purge();
    Outcome Generate(const Stop& stop);
    Proof MakeProof(std::vector<double> dual) const;
    int Price(const std::vector<long long>& dual, long long improves, const Stop& stop,
              long long& best);
    bool Simplex(const Stop& stop);
    int AddArtificial(int row, double coef);
    void AddColumn(size_t anchor, Bar bar);
    static double Coefficient(const Branch& b, const Column& c);

    const Instance& in_;
    int bars_;
    Remainder short_; // the short sizes, on a bar as long as the most any anchor leaves
    std::vector<Anchor> anchors_;
    std::vector<Column> columns_;
    std::vector<Branch> branches_;
    std::vector<int> spent_; // artificial columns of branches taken back, held at 0
    GlpkProblem problem_;    // null once GLPK failed
    bool dual_ = false;      // the next simplex follows a change of the rows
    std::unordered_set<Bar, CountsHash> known_;
    Pricing pricing_;
};

// True when no packing into `bars` bars exists because the pieces longer
// than half a bar, and half of those that fit beside none of them, need every
// bar, and the short pieces cannot then fill the bars around them even in the
// relaxation (anchored.cpp). False when that does not rule them out, or it
// was stopped first.
bool AnchoredBoundRules(const Instance& in, int bars, const Stop& stop);

} // namespace cutting::detail
