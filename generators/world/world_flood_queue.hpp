#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// The queue of a priority flood: places by height, lowest first, and in the
// order they came among places of one height. A flood takes out heights that
// never fall (a place joins at the height it is reached at or above), so
// the heights sort into fine buckets, taken in turn: each place costs a
// constant, not a heap's logarithm, which matters on a whole big world.
// Heights closer than a bucket count as one, which orders them as they
// came.
class FloodQueue {
public:
    // Heights from 0 to `highest`.
    explicit FloodQueue(double highest, int buckets = 1 << 16)
        : scale_(buckets / std::max(highest, 1e-9)), buckets_(static_cast<std::size_t>(buckets) + 1) {}

    void push(double height, int place) {
        const auto b = static_cast<std::size_t>(std::clamp(std::floor(height * scale_), 0.0,
                                                           static_cast<double>(buckets_.size() - 1)));
        // A place below the one just taken joins it (it fills up to there).
        buckets_[std::max(b, at_)].push_back(place);
        ++size_;
    }
    bool empty() const { return size_ == 0; }
    // The lowest place, first come among those as low.
    int pop() {
        while (next_ >= buckets_[at_].size()) {
            buckets_[at_].clear(), buckets_[at_].shrink_to_fit();
            next_ = 0, ++at_;
        }
        --size_;
        return buckets_[at_][next_++];
    }

private:
    double scale_;
    std::vector<std::vector<int>> buckets_;
    std::size_t at_ = 0, next_ = 0, size_ = 0;
};
