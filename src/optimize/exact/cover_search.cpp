#include "cover_search.h"

#include "bar_list.h"
#include "exact_cover.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

namespace cutting::detail {

namespace {

// The search is tried when at most this many pieces are left over once every
// bar holds the fewest pieces any bar can (see ExactCover).
constexpr long long MostExcess = 2;

} // namespace

struct CoverSearch::State {
    BarList list;
    std::unique_ptr<ExactCover> cover;
};

CoverSearch::CoverSearch(const Instance& in, int bars) : in_(in), bars_(bars) {}
CoverSearch::~CoverSearch() = default;

Packing CoverSearch::Run(const Stop& stop, bool& exhausted) {
    exhausted = false;
    stopped_ = false;
    if (state_ != nullptr)
        return Go(stop, exhausted);
    if (settled_)
        return {};
    settled_ = true; // unless a search is left to take up
    const long long slack = static_cast<long long>(bars_) * in_.capacity - in_.TotalSize();
    if (bars_ <= 0 || slack < 0) {
        exhausted = true;
        return {};
    }
    // With room for a whole bar to spare, fewer bars would do: not a packing
    // of nearly full bars.
    if (slack >= in_.capacity)
        return {};
    // No bar holds more pieces than the shortest ones that fit.
    int most = 0;
    long long room = in_.capacity;
    for (size_t t = in_.size.size(); t-- > 0;)
        for (int k = 0; k < in_.demand[t] && room >= in_.size[t]; ++k) {
            room -= in_.size[t];
            ++most;
        }
    // The bars of the fewest pieces that fill a bar to within the slack.
    BarList list;
    int fewest = 0;
    long long steps = ExactCover::MostSteps;
    for (int pieces = 1; pieces <= most && fewest == 0; ++pieces) {
        if (stop.Now()) {
            settled_ = false; // listed again when taken up
            stopped_ = true;
            return {};
        }
        if (!list.AddLevel(in_, slack, pieces, ExactCover::MostBars, steps))
            return {};
        if (list.Size() > 0)
            fewest = pieces;
    }
    const long long excess = in_.Pieces() - static_cast<long long>(fewest) * bars_;
    if (fewest == 0 || excess < 0) {
        exhausted = true; // the bars cannot all be filled closely enough
        return {};
    }
    // Many pieces beyond the fewest leave most of the work to bars that are
    // not on the list: the other searches do that better.
    if (excess > MostExcess)
        return {};
    state_ = std::make_unique<State>();
    state_->list = std::move(list);
    state_->cover = std::make_unique<ExactCover>(in_, state_->list, bars_, slack, fewest);
    return Go(stop, exhausted);
}

Packing CoverSearch::Go(const Stop& stop, bool& exhausted) {
    Packing found = state_->cover->Run(stop, exhausted);
    stopped_ = state_->cover->Stopped();
    if (!stopped_)
        state_.reset(); // settled: what it kept for later is not needed
    return found;
}

Packing CoverPacking(const Instance& in, int bars, const Stop& stop, bool& exhausted) {
    CoverSearch search(in, bars);
    return search.Run(stop, exhausted);
}

} // namespace cutting::detail
