#pragma once

// Counts by record id for a pass over many answers: ids below DENSE_LIMIT (every id a real
// collection hands out) index an array, larger ones (a damaged file) go to a map, so no stored
// id can make the array huge.

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

template <typename Count>
class IdCounts {
public:
    static constexpr std::uint32_t DENSE_LIMIT = 1u << 20;

    Count& operator[](std::uint32_t id) {
        if (id >= DENSE_LIMIT) {
            return sparse[id];
        }
        if (id >= dense.size()) {
            dense.resize(std::max<std::size_t>(id + 1, dense.size() * 2));
            used.resize(dense.size(), false);
        }
        used[id] = true;
        return dense[id];
    }

    // Calls f(id, count) for every id counted, ascending.
    template <typename F>
    void forEach(F&& f) const {
        for (std::size_t id = 0; id < dense.size(); ++id) {
            if (used[id]) {
                f(static_cast<std::uint32_t>(id), dense[id]);
            }
        }
        for (const auto& [id, count] : sparse) {
            f(id, count);
        }
    }

private:
    std::vector<Count> dense;
    std::vector<bool> used;
    std::map<std::uint32_t, Count> sparse;
};
