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

bool table_find(const StringTable& table, std::string_view key, int& index) {
  int lo = 0;
  int hi = table.count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = compare_keys(table[mid].key, key);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (table.duplicates_ != 0) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

int table_add(StringTable& table, std::string_view key, uint32_t value, std::string name) {
  int index = table.count();
  if (table.sorted_) {
    bool found = table_find(table, key, index);
    if (found && table.duplicates_ == 1) return -1;
  }
  table_insert_at(table, index, key, value, std::move(name));
  return index;
}

void table_insert_at(StringTable& table, int index, std::string_view key, uint32_t value,
                     std::string name) {
  if (table.count() == table.capacity_) {
    // Growth steps of the table: 4, 8, 12, 16, 20, 28, ... 68, 85, 106, ...
    int& capacity = table.capacity_;
    int step = capacity > 64 ? capacity / 4 : capacity > 16 ? 8 : 4;
    capacity += step;
    table.entries_.reserve(static_cast<size_t>(capacity));
  }
  StringTableEntry entry;
  entry.value = value;
  entry.key.assign(key.data(), key.size());
  entry.name = std::move(name);
  table.entries_.insert(table.entries_.begin() + index, std::move(entry));
}

void table_clear(StringTable& table) {
  table.entries_.clear();
  table.entries_.shrink_to_fit();
  table.capacity_ = 0;
}

}  // namespace terrova
