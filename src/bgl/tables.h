// String tables and the lists that decoders leave for one another.
//
// The name-list section fills the city, state, country and region tables, and the airport decoder
// reads them by position; the scenery-object, waypoint and navaid decoders set records aside that
// the airport decoder writes later. Everything here is only ever added to during a run.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bgl/deferred.h"

namespace terrova {

struct StringTableEntry {
  uint32_t value = 0;  // chosen by the inserter: a file offset into the image
  std::string key;
  std::string name;  // an owned text value (library-object names)
};

// A growable array of (value, key) entries, kept in ascending byte order of the keys when
// `sorted` is set. Positions 0 .. count-1 are what the decoders use as name indices.
class StringTable {
 public:
  StringTable() = default;
  StringTable(bool sorted, int duplicates) : sorted_(sorted), duplicates_(duplicates) {}

  // Binary search. Returns true when the key is present; `index` always receives a position:
  // with duplicates 0 the first entry not below the key, otherwise the first equal entry met (or
  // the insertion point).
  friend bool table_find(const StringTable& table, std::string_view key, int& index);
  // Stores the entry and returns its position, or -1 when a sorted table that rejects
  // duplicates already holds the key.
  friend int table_add(StringTable& table, std::string_view key, uint32_t value, std::string name);
  friend void table_insert_at(StringTable& table, int index, std::string_view key, uint32_t value,
                              std::string name);
  friend void table_clear(StringTable& table);

  int count() const { return static_cast<int>(entries_.size()); }
  bool sorted() const { return sorted_; }
  const StringTableEntry& operator[](int index) const {
    return entries_[static_cast<size_t>(index)];
  }

 private:
  std::vector<StringTableEntry> entries_;
  bool sorted_ = false;
  int duplicates_ = 0;
};

bool table_find(const StringTable& table, std::string_view key, int& index);
int table_add(StringTable& table, std::string_view key, uint32_t value, std::string name = {});
void table_insert_at(StringTable& table, int index, std::string_view key, uint32_t value,
                     std::string name = {});
void table_clear(StringTable& table);

// Byte-wise key order: unsigned byte values, a proper prefix first.
int compare_keys(std::string_view a, std::string_view b);

// The positions of a list's entries by a 32-bit key, each key's positions in list order. Airports
// look their ILS records, terminal waypoints and name entries up by identifier here instead of
// scanning every list once per airport or runway; the result is the same as the scan's.
class KeyIndex {
 public:
  // Builds the index over `count` entries unless it was built for that many; `key_of(i)` gives
  // the key of entry i.
  template <class KeyOf>
  void update(size_t count, KeyOf key_of) {
    if (built_ && count == built_for_) return;
    entries_.clear();
    entries_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      entries_.push_back({key_of(i), static_cast<uint32_t>(i)});
    }
    std::sort(entries_.begin(), entries_.end());  // by key, then by position
    built_ = true;
    built_for_ = count;
  }
  // Forgets the index, for a list whose entries were replaced.
  void invalidate() { built_ = false; }

  struct Entry {
    uint32_t key;
    uint32_t position;
    bool operator<(const Entry& other) const {
      return key != other.key ? key < other.key : position < other.position;
    }
  };
  // The entries with this key, in list order.
  std::span<const Entry> find(uint32_t key) const {
    auto lo = std::lower_bound(entries_.begin(), entries_.end(), Entry{key, 0});
    auto hi = std::upper_bound(lo, entries_.end(), Entry{key, UINT32_MAX});
    return {lo, hi};
  }

 private:
  std::vector<Entry> entries_;
  size_t built_for_ = 0;
  bool built_ = false;
};

// The pending taxiway-sign records by cell of a quarter-degree grid over their reference points.
// An airport visits the cells around it and finds the records that are still pending there in
// list order; a record that an airport takes is passed over by every later visit at no cost, so
// the work of a claim follows the records near the airport, not all the records seen so far.
class SignIndex {
 public:
  // Builds the index over the pending records unless it was built for that many records.
  void update(std::span<const DeferredSign> signs);
  // The positions of the pending records whose cell meets the window of `half` degrees around
  // (lat, lon), in list order. The span lives until the next call.
  std::span<const uint32_t> pending_near(double lat, double lon, double half);
  // Marks the record at list position `position` as taken.
  void take(uint32_t position);

 private:
  struct Entry {
    uint32_t cell;
    uint32_t position;
    bool operator<(const Entry& other) const {
      return cell != other.cell ? cell < other.cell : position < other.position;
    }
  };
  // The first entry at or after i that is still pending (entries.size() when none).
  uint32_t next_pending(uint32_t i);

  std::vector<Entry> entries_;
  std::vector<uint32_t> next_;     // skip links over taken entries
  std::vector<uint32_t> slot_of_;  // list position -> entry index
  std::vector<uint32_t> found_;    // the result of the last `pending_near`
  size_t built_for_ = 0;
  bool built_ = false;
};

// One ident entry of the name list (20 bytes in the file), kept byte for byte.
struct AirportIdentEntry {
  unsigned char bytes[20];
};

// The tables and lists shared by the decoders of one run.
struct SharedTables {
  StringTable airport_names{false, 0};
  StringTable city_names{true, 1};
  StringTable state_names{true, 1};
  StringTable country_names{true, 1};
  StringTable region_names{true, 1};
  std::vector<AirportIdentEntry> airport_ident_entries;
  std::vector<IlsEntry> deferred_navaids;
  std::vector<DeferredSign> deferred_signs;
  std::vector<SignEntry> sign_entries;
  std::vector<TerminalWaypoint> deferred_waypoints;
  std::vector<NavaidDeletion> navaid_deletions;

  // Lookups over the lists above, built by the airport decoder when it first needs them.
  KeyIndex ident_entries_by_airport;
  KeyIndex navaids_by_ident;
  KeyIndex waypoints_by_airport;
  KeyIndex deletions_by_airport;
  SignIndex signs_by_cell;
};

}  // namespace terrova
