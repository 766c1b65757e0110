// The unread-bytes report (-u): which bytes of each record kind no decoder read.
//
// A `Coverage` belongs to one decode. The image view carries a pointer to it (nullptr when the
// report is off), so that every read through an `Image` or a `Record` marks the bytes it read in
// one flag per file byte, whatever decoder made it. The record walk registers every record it
// builds; decoders give the records their kind names (the element name of the table row, or the
// name the decoder writes), and take dumped records out of the report. After the decode,
// `add_to` adds the records up per kind: a record's own bytes are its bytes less those of the
// records that lie inside it (its children, which are kinds of their own).
//
// An `UnreadReport` is the sum over one or more files: per kind {id, name}, the number of records
// and, per offset from the record start, how many records hold the byte, how many read it, and
// whether its value is the same in all of them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bgl/image.h"

namespace terrova {

class UnreadReport {
 public:
  struct ByteStats {
    uint32_t present = 0;  // records that hold the byte as their own
    uint32_t read = 0;     // of those, records in which a decoder read it
    uint8_t first = 0;     // its value in the first record
    bool varies = false;   // not the same value in every record that holds it
  };
  struct KindStats {
    uint32_t records = 0;
    std::vector<ByteStats> bytes;  // by offset from the record start
  };
  using Key = std::pair<uint16_t, std::string>;  // the record id and the kind name

  // Adds one record's own bytes: `own[i]` tells whether byte i belongs to it (not to a child),
  // `read[i]` whether it was read, `values` the bytes themselves.
  void add_record(const Key& kind, const uint8_t* values, const uint8_t* read, const uint8_t* own,
                  uint32_t size);
  // Adds another report (another file) to this one.
  void merge(const UnreadReport& other);

  // One line per kind that has bytes no record of it had read, in the order of id and name:
  // "0x3E Runway: 14 records; never read: +44..+47 (varies), +60..+63 (always 0)".
  std::vector<std::string> lines() const;

  const std::map<Key, KindStats>& kinds() const { return kinds_; }

 private:
  std::map<Key, KindStats> kinds_;
};

class Coverage {
 public:
  // The flags cover the whole image the decode reads.
  explicit Coverage(const Image& image);

  void mark(uint64_t offset, uint64_t length);
  // Registers a record that the walk built; returns its slot for `name` and `skip`.
  uint32_t add_record(uint64_t offset, uint32_t size, uint16_t id);
  // The kind name of the record in `slot`: a string that outlives the decode (a table's text).
  void name(uint32_t slot, const char* kind_name);
  // Takes the record out of the report: dumped whole, too small for its decoder, or left out by
  // the partial-decoding circle.
  void skip(uint32_t slot);
  // The section type of the records that follow, for the name of records no decoder named.
  void set_section(uint32_t type) { section_ = type; }

  // Adds every record of the decode that was not skipped to `report`.
  void add_to(UnreadReport& report) const;

 private:
  struct Entry {
    uint32_t offset;
    uint32_t size;
    uint16_t id;
    bool skipped;
    uint32_t section;
    const char* name;
  };
  Image image_;
  std::vector<uint8_t> read_;  // one flag per byte of the image
  std::vector<Entry> records_;
  uint32_t section_ = 0;
};

}  // namespace terrova
