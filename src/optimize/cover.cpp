#include "exact_cover.h"

namespace cutting::detail {

namespace {

// The search is tried when at most this many pieces are left over once every
// bar holds the fewest pieces any bar can (see ExactCover).
constexpr long long MostExcess = 2;

} // namespace

Packing ExactCover::RunLonger(bool& exhausted) {
    if (!lp_) {
        std::vector<double> score(longer_.Size(), 0.0);
        for (size_t b = 0; b < longer_.Size(); ++b)
            for (const auto* it = longer_.Begin(b); it != longer_.End(b); ++it)
                score[b] += it->count / (1.0 + alive_[static_cast<size_t>(it->type)]);
        order_.resize(longer_.Size());
        std::iota(order_.begin(), order_.end(), size_t{0});
        std::stable_sort(order_.begin(), order_.end(),
                         [&](size_t a, size_t b) { return score[a] > score[b]; });
        verdict_.assign(longer_.Size(), Open);
        lp_ = std::make_unique<CoverLp>(list_, m_);
    }
    for (;; ++round_, next_ = 0) {
        const size_t taken = std::min(order_.size(), FirstRound << std::min<size_t>(round_, 40));
        const long long nodes = RestartNodes << std::min<size_t>(round_, 20);
        // Taken up again after a stop, the round goes on where it was.
        bool open = std::any_of(order_.begin(), order_.begin() + static_cast<std::ptrdiff_t>(next_),
                                [&](size_t b) { return verdict_[b] != Out; });
        if (nodes_ >= MostLongerNodes)
            return {};
        for (size_t k = next_; k < order_.size(); ++k) {
            const size_t b = order_[k];
            if (verdict_[b] == Out)
                continue;
            open = true;
            if (k >= taken)
                break;
            if (stop_->Now())
                return Interrupted(k);
            Use(longer_, b, 1);
            bool found = false;
            nodes_ += RelaxationNodes;
            if (!lp_->MayCover(rem_, blocked_, *stop_, level_)) {
                verdict_[b] = Out;
                proofLonger_ = false; // floating point, not a proof
            } else if (!stop_->Now()) {
                verdict_[b] = Relaxed;
                timedOut_ = false;
                proof_ = true;
                nodeLimit_ = nodes_ + nodes;
                found = Node();
                if (!found && !timedOut_) {
                    verdict_[b] = Out;
                    proofLonger_ = proofLonger_ && proof_;
                }
            }
            if (found) {
                Packing packing = Result();
                packing.push_back(Content(longer_, b));
                exhausted = true;
                return packing;
            }
            Use(longer_, b, -1);
            if (verdict_[b] != Out && stop_->Now())
                return Interrupted(k); // this bar's search was cut short
        }
        if (!open) {
            exhausted = proofLonger_;
            return {};
        }
    }
}

struct CoverSearch::State {
    BarList list;
    std::unique_ptr<ExactCover> cover;
};

CoverSearch::CoverSearch(const Instance& in, int bars) : in_(in), bars_(bars) {}
CoverSearch::~CoverSearch() = default;

Packing CoverSearch::Run(const Stop& stop, bool& exhausted) {
    exhausted = false;
    stopped_ = false;
    if (state_ != nullptr && state_->cover != nullptr)
        return Go(stop, exhausted);
    if (state_ != nullptr)
        return {}; // settled before any search
    state_ = std::make_unique<State>();
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
    BarList& list = state_->list;
    int fewest = 0;
    long long steps = ExactCover::MostSteps;
    for (int pieces = 1; pieces <= most && fewest == 0; ++pieces) {
        if (stop.Now()) {
            state_.reset(); // listed again when taken up
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
    state_->cover = std::make_unique<ExactCover>(in_, list, bars_, slack, fewest);
    return Go(stop, exhausted);
}

Packing CoverSearch::Go(const Stop& stop, bool& exhausted) {
    Packing found = state_->cover->Run(stop, exhausted);
    stopped_ = state_->cover->Stopped();
    if (!stopped_) // settled: what it kept for later is not needed
        *state_ = State{};
    return found;
}

Packing CoverPacking(const Instance& in, int bars, const Stop& stop, bool& exhausted) {
    CoverSearch search(in, bars);
    return search.Run(stop, exhausted);
}

} // namespace cutting::detail
