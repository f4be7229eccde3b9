#pragma once
// Items listed per key, each list in the order the items came. One counting pass sorts them
// by key, so that no list is a block of its own and the lists are read straight through.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

template <typename Item>
struct KeyedLists {
  std::vector<uint32_t> start;  // the list of key k is items[start[k] .. start[k + 1])
  std::vector<Item> items;

  // Lists item(s) under key(s) < keys for every s of `from`.
  template <typename Source, typename KeyOf, typename ItemOf>
  KeyedLists(size_t keys, const std::vector<Source>& from, KeyOf key, ItemOf item)
      : start(keys + 1, 0), items(from.size()) {
    for (const Source& s : from) ++start[size_t(key(s)) + 1];
    for (size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    std::vector<uint32_t> next(start.begin(), start.end() - 1);
    for (const Source& s : from) items[next[size_t(key(s))]++] = item(s);
  }
};

}  // namespace velmora
