#pragma once

// The positions 0 .. n-1 of a queue, as a Fenwick tree counting which are still free: take(k)
// finds and takes the free position with k free positions before it in O(log n).

#include <cstddef>
#include <cstdint>
#include <vector>

class FreePositions {
public:
    explicit FreePositions(std::size_t n) : tree(n + 1, 0) {
        for (std::size_t i = 1; i <= n; ++i) {
            tree[i] += 1;
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= n) {
                tree[parent] += tree[i];
            }
        }
        while (highestStep * 2 <= n) {
            highestStep *= 2;
        }
    }

    // Takes the free position with k free positions before it (k must be below the number free).
    std::size_t take(std::size_t k) {
        std::size_t position = 0;
        std::size_t remaining = k + 1;
        for (std::size_t step = highestStep; step > 0; step /= 2) {
            if (position + step < tree.size() && tree[position + step] < remaining) {
                position += step;
                remaining -= tree[position];
            }
        }
        for (std::size_t i = position + 1; i < tree.size(); i += i & (~i + 1)) {
            tree[i] -= 1;
        }
        return position;
    }

private:
    std::vector<std::uint32_t> tree;
    std::size_t highestStep = 1;
};
