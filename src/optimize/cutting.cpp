#include "cutting.h"

#include "input.h"
#include "plan.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"
#include "optimize/solvers/mixed.h"
#include "optimize/solvers/single.h"
#include "optimize/solvers/solution.h"

#include <algorithm>
#include <map>
#include <string>

namespace cutting {

namespace {

// What writing the plan out takes after the solver stops, for each piece
// and size (checking the best packing, grouping its bars, handing out the
// pieces), with a wide margin.
constexpr double PlanSecondsPerPiece = 2e-6;

// Tells the caller's progress callback about improvements, each once.
class Reporter {
public:
    Reporter(const Control& control, Clock::time_point start) : control_(control), start_(start) {}

    void operator()(int bars, long long length, int lowerBound, long long lowerBoundLength) {
        if (!control_.progress)
            return;
        if (told_ && bars == last_.bars && length == last_.boughtLength &&
            lowerBound == last_.lowerBound && lowerBoundLength == last_.lowerBoundLength)
            return;
        told_ = true;
        last_ = {bars, length, lowerBound, lowerBoundLength,
                 std::chrono::duration<double>(Clock::now() - start_).count()};
        control_.progress(last_);
    }

private:
    const Control& control_;
    Clock::time_point start_;
    Progress last_;
    bool told_ = false;
};

// The pieces as the solver sees them: one size a length, longest first,
// each with one saw cut; `lengths` are the piece lengths of the sizes.
struct Pieces {
    detail::Instance in;
    std::vector<int> lengths;
    long long count = 0;
};

Pieces PiecesBySize(const std::vector<CutItem>& items, int kerf) {
    std::map<int, int, std::greater<>> demand;
    Pieces pieces;
    for (const CutItem& item : items) {
        demand[item.length] += item.count;
        pieces.count += item.count;
    }
    for (const auto& [length, count] : demand) {
        pieces.lengths.push_back(length);
        pieces.in.size.push_back(length + kerf);
        pieces.in.demand.push_back(count);
    }
    return pieces;
}

// Checking the best packing and writing the plan out take time after the
// solver stops: the solver stops that much earlier, up to a quarter of the
// limit.
Stop SolverStop(const Pieces& pieces, double timeLimit, Clock::time_point start,
                const Control& control) {
    const auto budget = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(timeLimit, 0.0)));
    const auto work = static_cast<double>(pieces.count + std::ssize(pieces.lengths));
    const auto reserve =
        std::min(budget / 4, std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(work * PlanSecondsPerPiece)));
    return Stop(start + budget - reserve, control.cancel);
}

// The kinds of bar of an order with several: the offcuts on hand, each
// distinct length once and only those some piece fits, then the stock
// lengths, counts of one length added up.
detail::MixedProblem MixedProblemOf(const Settings& settings, detail::Instance in,
                                    std::vector<detail::KindInfo>& kinds) {
    detail::MixedProblem problem;
    problem.kerf = settings.kerf;
    problem.minUseful = settings.minUseful;
    std::map<int, int, std::greater<>> onHand;
    for (const Offcut& o : settings.offcuts)
        onHand[o.length] += o.count;
    for (const auto& [length, count] : onHand)
        if (count > 0 && length + settings.kerf >= in.size.back()) {
            problem.kinds.push_back({length + settings.kerf, 0, count});
            kinds.push_back({length, length, true});
        }
    std::map<int, int, std::greater<>> stocks;
    for (const StockBar& b : settings.stocks.empty()
                                 ? std::vector<StockBar>{{settings.stock, Unlimited}}
                                 : settings.stocks) {
        auto [at, fresh] = stocks.insert({b.length, b.count});
        if (!fresh && at->second != Unlimited)
            at->second = b.count == Unlimited ? Unlimited : at->second + b.count;
    }
    for (const auto& [length, count] : stocks)
        if (count != 0) {
            const int usable = length - 2 * settings.trim;
            problem.kinds.push_back({usable + settings.kerf, length, count});
            kinds.push_back({length, usable, false});
        }
    in.capacity = 0;
    for (const detail::Kind& kind : problem.kinds)
        in.capacity = std::max(in.capacity, kind.capacity);
    problem.in = std::move(in);
    return problem;
}

// One stock length of any number and no offcuts: every bar costs the same.
bool OneLengthOfAnyNumber(const Settings& settings) {
    const bool oneOfAny = settings.stocks.empty() ||
                          (settings.stocks.size() == 1 && settings.stocks[0].count == Unlimited);
    return oneOfAny && std::none_of(settings.offcuts.begin(), settings.offcuts.end(),
                                    [](const Offcut& o) { return o.count > 0; });
}

} // namespace

const char* KindName(PieceKind kind) {
    return kind == PieceKind::Horizontal ? "горизонтальный" : "вертикальный";
}

Result PlanCutting(const std::vector<CutItem>& items, const Settings& settings) {
    return PlanCutting(items, settings, Control{});
}

Result PlanCutting(const std::vector<CutItem>& items, const Settings& settings,
                   const Control& control) {
    const auto start = Clock::now();
    Result result;
    result.error = CheckInput(items, settings);
    if (!result.error.empty())
        return result;
    const Parameters parameters = control.parameters ? *control.parameters : Parameters{};
    Reporter reporter(control, start);
    const detail::Report report = std::ref(reporter);
    Pieces pieces = PiecesBySize(items, settings.kerf);
    const Stop stop = SolverStop(pieces, settings.timeLimit, start, control);

    if (OneLengthOfAnyNumber(settings)) {
        const int stock = settings.stocks.empty() ? settings.stock : settings.stocks[0].length;
        const int usable = stock - 2 * settings.trim;
        pieces.in.capacity = usable + settings.kerf;
        const detail::Solution solution =
            detail::SolveSingle(pieces.in, stock, settings.timeLimit, stop, report, parameters);
        result.plan = MakePlan(items, settings, pieces.lengths, {{stock, usable, false}}, solution);
        result.ok = true;
        return result;
    }
    std::vector<detail::KindInfo> kinds;
    const detail::MixedProblem problem = MixedProblemOf(settings, std::move(pieces.in), kinds);
    const detail::Solution solution =
        detail::SolveMixed(problem, settings.timeLimit, stop, report, parameters);
    if (solution.bars.empty()) {
        result.error =
            solution.undecided
                ? "Раскрой остановлен раньше, чем найден хотя бы один план: на счётных "
                  "заготовках детали размещаются с трудом. Добавьте плети или снимите "
                  "ограничение их количества."
                : "Не удалось разместить все детали на имеющихся заготовках: добавьте плети "
                  "или снимите ограничение их количества.";
        return result;
    }
    result.plan = MakePlan(items, settings, pieces.lengths, kinds, solution);
    result.ok = true;
    return result;
}

} // namespace cutting
