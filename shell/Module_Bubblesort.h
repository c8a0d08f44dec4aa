#pragma once
// The bubble sort the recent-files list relies on: descending, texts by character codes.
#include <utility>
#include <vector>

namespace Module_Bubblesort {

// Passes from the first element, each one element shorter, while the previous pass swapped.
template <class T>
void Bubble_Sort(std::vector<T>& items) {
    if (items.size() < 2) return;
    size_t last = items.size() - 2;  // the last index compared with its successor
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 0; i <= last; ++i) {
            if (items[i] < items[i + 1]) {
                std::swap(items[i], items[i + 1]);
                swapped = true;
            }
        }
        if (last == 0) break;
        --last;
    }
}

}  // namespace Module_Bubblesort
