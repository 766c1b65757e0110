#include "bgl/tables.h"

#include <algorithm>
#include <cmath>
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
  StringTableEntry entry;
  entry.value = value;
  entry.key.assign(key.data(), key.size());
  entry.name = std::move(name);
  table.entries_.insert(table.entries_.begin() + index, std::move(entry));
}

void table_clear(StringTable& table) { table.entries_.clear(); }

namespace {

constexpr double kCellsPerDegree = 4;

// The cell of a position: quarter degrees of latitude and of longitude, each band kept inside its
// bits for any value a damaged record gives.
uint32_t cell_band(double degrees, double offset, uint32_t limit) {
  const double band = std::floor(degrees * kCellsPerDegree) + offset;
  if (!(band >= 0)) return 0;
  if (band >= limit) return limit - 1;
  return static_cast<uint32_t>(band);
}

uint32_t cell_of(double lat, double lon) {
  return cell_band(lat, 1024, 2048) << 16 | cell_band(lon, 2048, 4096);
}

}  // namespace

void SignIndex::update(std::span<const DeferredSign> signs) {
  if (built_ && built_for_ == signs.size()) return;
  entries_.clear();
  for (size_t i = 0; i < signs.size(); ++i) {
    if (signs[i].pending) {
      entries_.push_back({cell_of(signs[i].lat, signs[i].lon), static_cast<uint32_t>(i)});
    }
  }
  std::sort(entries_.begin(), entries_.end());
  next_.resize(entries_.size() + 1);
  for (size_t i = 0; i < next_.size(); ++i) next_[i] = static_cast<uint32_t>(i);
  slot_of_.assign(signs.size(), UINT32_MAX);
  for (size_t i = 0; i < entries_.size(); ++i) {
    slot_of_[entries_[i].position] = static_cast<uint32_t>(i);
  }
  built_ = true;
  built_for_ = signs.size();
}

uint32_t SignIndex::next_pending(uint32_t i) {
  uint32_t root = i;
  while (next_[root] != root) root = next_[root];
  // Every link on the way now points straight to the first pending entry.
  while (next_[i] != root) {
    const uint32_t up = next_[i];
    next_[i] = root;
    i = up;
  }
  return root;
}

std::span<const uint32_t> SignIndex::pending_near(double lat, double lon, double half) {
  found_.clear();
  const uint32_t lat_lo = cell_band(lat - half, 1024, 2048);
  const uint32_t lat_hi = cell_band(lat + half, 1024, 2048);
  const uint32_t lon_lo = cell_band(lon - half, 2048, 4096);
  const uint32_t lon_hi = cell_band(lon + half, 2048, 4096);
  const uint32_t end = static_cast<uint32_t>(entries_.size());
  for (uint32_t la = lat_lo; la <= lat_hi; ++la) {
    // The cells of one latitude band are consecutive keys.
    const Entry first{la << 16 | lon_lo, 0};
    const Entry last{la << 16 | lon_hi, UINT32_MAX};
    const uint32_t lo = static_cast<uint32_t>(
        std::lower_bound(entries_.begin(), entries_.end(), first) - entries_.begin());
    const uint32_t hi = static_cast<uint32_t>(
        std::upper_bound(entries_.begin(), entries_.end(), last) - entries_.begin());
    for (uint32_t i = next_pending(lo); i < hi && i < end; i = next_pending(i + 1)) {
      found_.push_back(entries_[i].position);
    }
  }
  std::sort(found_.begin(), found_.end());
  return found_;
}

void SignIndex::take(uint32_t position) {
  if (position >= slot_of_.size()) return;
  const uint32_t slot = slot_of_[position];
  if (slot != UINT32_MAX) next_[slot] = slot + 1;
}

}  // namespace terrova
