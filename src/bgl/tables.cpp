#include "bgl/tables.h"

#include <cstring>
#include <utility>

namespace terrova {

int compare_keys(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);  // memcmp compares unsigned bytes
  if (c != 0) return c;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool StringTable::find(std::string_view key, int& index) const {
  int lo = 0;
  int hi = count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = compare_keys(entries_[static_cast<size_t>(mid)].key, key);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != 0) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

int StringTable::add(std::string_view key, uint32_t value, std::string name) {
  int index = count();
  if (sorted_) {
    bool found = find(key, index);
    if (found && duplicates_ == 1) return -1;
  }
  insert_at(index, key, value, std::move(name));
  return index;
}

void StringTable::insert_at(int index, std::string_view key, uint32_t value, std::string name) {
  if (count() == capacity_) {
    // Growth steps of the table: 4, 8, 12, 16, 20, 28, ... 68, 85, 106, ...
    int step = capacity_ > 64 ? capacity_ / 4 : capacity_ > 16 ? 8 : 4;
    capacity_ += step;
    entries_.reserve(static_cast<size_t>(capacity_));
  }
  StringTableEntry entry;
  entry.value = value;
  entry.key.assign(key.data(), key.size());
  entry.name = std::move(name);
  entries_.insert(entries_.begin() + index, std::move(entry));
}

void StringTable::clear() {
  entries_.clear();
  entries_.shrink_to_fit();
  capacity_ = 0;
}

}  // namespace terrova
