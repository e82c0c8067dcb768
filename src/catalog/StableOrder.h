// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace twl {

// Sorts items[first..] stably by `less`: the order that an exchange sort of
// neighbours (exchanging only pairs strictly out of order) ends in, found in
// O(n log n). When `tracked` is given and points into the sorted range, it
// follows its item to the item's new position.
template <typename Item, typename Less>
void StableSortFrom(std::vector<Item>& items, std::size_t first, Less less, std::int16_t* tracked)
{
    if (first + 1 >= items.size()) {
        return; // nothing or one item: already in order
    }
    std::vector<std::size_t> order(items.size() - first);
    std::iota(order.begin(), order.end(), first);
    std::stable_sort(order.begin(), order.end(), [&items, &less](std::size_t a, std::size_t b) {
        return less(items[a], items[b]);
    });

    std::vector<Item> sorted;
    sorted.reserve(order.size());
    for (std::size_t from : order) {
        sorted.push_back(std::move(items[from]));
    }
    if (tracked != nullptr && *tracked >= 0 && static_cast<std::size_t>(*tracked) >= first &&
        static_cast<std::size_t>(*tracked) < items.size()) {
        auto found = std::find(order.begin(), order.end(), static_cast<std::size_t>(*tracked));
        *tracked =
            static_cast<std::int16_t>(first + static_cast<std::size_t>(found - order.begin()));
    }
    std::move(sorted.begin(), sorted.end(), items.begin() + static_cast<std::ptrdiff_t>(first));
}

// Exchanges two items; `tracked` follows the item it pointed at.
template <typename Item>
void ExchangeTracking(std::vector<Item>& items, std::size_t a, std::size_t b, std::int16_t* tracked)
{
    std::swap(items[a], items[b]);
    if (tracked == nullptr) {
        return;
    }
    if (*tracked == static_cast<std::int16_t>(a)) {
        *tracked = static_cast<std::int16_t>(b);
    } else if (*tracked == static_cast<std::int16_t>(b)) {
        *tracked = static_cast<std::int16_t>(a);
    }
}

} // namespace twl
