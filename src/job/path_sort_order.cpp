#include "job/path_sort_order.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numeric>
#include <tuple>

#include "job/path_sort_compare.h"

namespace {

constexpr size_t NoPosition = std::numeric_limits<size_t>::max();
constexpr size_t ExactRunDigits = 19;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct DigitRun {
    size_t start;
    std::string_view significant; // without leading zeros
    size_t length;
};

} // namespace

SelectionOrder::SelectionOrder(std::vector<std::string> Keys, bool Forward)
    : keys_(std::move(Keys)), forward_(Forward) {
    if (keys_.size() > 1 && ComparisonIsConsistent()) BuildRanks();
}

bool SelectionOrder::ComparisonIsConsistent() const {
    // An empty key neither beats nor is beaten by any other key.
    const auto empty =
        std::count_if(keys_.begin(), keys_.end(), [](const std::string& k) { return k.empty(); });
    if (empty != 0 && static_cast<size_t>(empty) != keys_.size()) return false;
    std::vector<DigitRun> runs;
    for (const std::string& key : keys_) {
        for (size_t k = 0; k < key.size();) {
            if (!IsDigit(key[k])) {
                ++k;
                continue;
            }
            size_t end = k;
            while (end < key.size() && IsDigit(key[end]))
                ++end;
            std::string_view run(key.data() + k, end - k);
            const std::string_view significant =
                run.substr(std::min(run.find_first_not_of('0'), run.size()));
            if (significant.size() > ExactRunDigits) return false;
            runs.push_back({k, significant, run.size()});
            k = end;
        }
    }
    auto byStartAndValue = [](const DigitRun& a, const DigitRun& b) {
        return std::make_tuple(a.start, a.significant.size(), a.significant) <
               std::make_tuple(b.start, b.significant.size(), b.significant);
    };
    std::sort(runs.begin(), runs.end(), byStartAndValue);
    for (size_t i = 1; i < runs.size(); ++i) {
        const DigitRun& a = runs[i - 1];
        const DigitRun& b = runs[i];
        if (a.start == b.start && a.significant == b.significant && a.length != b.length)
            return false;
    }
    return true;
}

void SelectionOrder::BuildRanks() {
    const size_t count = keys_.size();
    std::vector<size_t> byKey(count);
    std::iota(byKey.begin(), byKey.end(), 0);
    // x comes before y when x, as a candidate, would beat y as the current best.
    auto before = [this](size_t x, size_t y) {
        return CandidateWins(keys_[y], keys_[x], forward_);
    };
    std::stable_sort(byKey.begin(), byKey.end(), before);
    ranks_.assign(count, 0);
    size_t rank = 0;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && before(byKey[i - 1], byKey[i])) ++rank;
        ranks_[byKey[i]] = rank;
    }
    keys_.clear();
    keys_.shrink_to_fit();

    leaves_ = 1;
    while (leaves_ < count)
        leaves_ *= 2;
    rankTree_.assign(2 * leaves_, NoPosition);
    for (size_t position = 0; position < count; ++position)
        rankTree_[leaves_ + position] = position;
    for (size_t node = leaves_ - 1; node >= 1; --node) {
        const size_t left = rankTree_[2 * node];
        const size_t right = rankTree_[2 * node + 1];
        rankTree_[node] =
            right == NoPosition || (left != NoPosition && ranks_[left] <= ranks_[right]) ? left
                                                                                         : right;
    }
}

void SelectionOrder::SetLeaf(size_t position, size_t value) {
    size_t node = leaves_ + position;
    rankTree_[node] = value;
    for (node /= 2; node >= 1; node /= 2) {
        const size_t left = rankTree_[2 * node];
        const size_t right = rankTree_[2 * node + 1];
        auto better = [this](size_t a, size_t b) {
            // the smaller rank; between equal ranks the earlier position
            if (a == NoPosition) return b;
            if (b == NoPosition) return a;
            return ranks_[b] < ranks_[a] || (ranks_[b] == ranks_[a] && b < a) ? b : a;
        };
        rankTree_[node] = better(left, right);
    }
}

size_t SelectionOrder::SelectAndExchange(size_t I) {
    if (!UsesRanks()) {
        size_t best = I;
        for (size_t j = I + 1; j < keys_.size(); ++j)
            if (CandidateWins(keys_[best], keys_[j], forward_)) best = j;
        if (best != I) std::swap(keys_[I], keys_[best]);
        return best;
    }
    const size_t best = rankTree_[1];
    if (best != I) {
        // The entry at I moves to best's place; the chosen one is settled at I.
        std::swap(ranks_[I], ranks_[best]);
        SetLeaf(best, best);
    }
    SetLeaf(I, NoPosition);
    return best;
}
