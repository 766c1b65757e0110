// Builds BGL files for tests from readable calls: records and sub-records with their sizes filled
// in, subsections and sections laid out with their tables, and the file header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terrova::testkit {

// Packed values as the records hold them.
int32_t pack_latitude(double degrees);
int32_t pack_longitude(double degrees);
// An identifier word with the text in bits 5-31 and `low_bits` below.
uint32_t pack_ident(std::string_view text, uint32_t low_bits = 0);
// A plain base-38 identifier word (runway ILS identifiers).
uint32_t pack_raw_ident(std::string_view text);
// A region word ("K1", "LE", ...).
uint32_t pack_region(std::string_view text);

// Little-endian byte assembler. `begin` opens a record (u16 id and a u32 size that `end` fills in
// with the size of everything written up to it); records nest.
class Bytes {
 public:
  Bytes& u8(uint32_t v);
  Bytes& u16(uint32_t v);
  Bytes& u32(uint32_t v);
  Bytes& i32(int32_t v);
  Bytes& f32(float v);
  Bytes& zeros(size_t n);
  Bytes& text(std::string_view s);  // without a terminator
  Bytes& cstr(std::string_view s);  // with a zero byte
  Bytes& raw(const Bytes& other);
  Bytes& raw(const std::vector<uint8_t>& other);
  Bytes& lat(double degrees) { return i32(pack_latitude(degrees)); }
  Bytes& lon(double degrees) { return i32(pack_longitude(degrees)); }

  Bytes& begin(uint32_t id);      // u16 id, u32 size
  Bytes& begin_u16(uint32_t id);  // u16 id, u16 size (scenery objects)
  Bytes& end();
  // Closes the innermost record but stores `size` in its size field instead of its real size.
  Bytes& end_with_size(uint32_t size);

  void put_u16(size_t at, uint32_t v);
  void put_u32(size_t at, uint32_t v);

  size_t size() const { return data.size(); }
  std::vector<uint8_t> data;

 private:
  struct Open {
    size_t start;
    bool wide;
  };
  std::vector<Open> open_;
};

struct Subsection {
  uint32_t lat_info = 0;
  uint32_t record_count = 0;
  Bytes data;
  std::optional<uint32_t> data_size;  // overrides the real size of `data`
};

// Sections 32 and 35 list their records in an index after the subsection table: each listing
// names a record of `indexed_records` by its position.
struct Section {
  uint32_t type = 0;
  uint32_t unknown1 = 1;
  std::vector<Subsection> subsections;
  std::vector<Bytes> indexed_records;
  std::vector<size_t> index;

  Section& add(const Bytes& records, uint32_t record_count, uint32_t lat_info = 0);
};

struct Layout {
  struct SectionPlace {
    uint32_t subsection_table = 0;
    std::vector<uint32_t> data;     // file offset of each subsection's data
    std::vector<uint32_t> records;  // file offset of each indexed record
  };
  std::vector<SectionPlace> sections;  // in the order they were added
};

class BglBuilder {
 public:
  Section& section(uint32_t type, uint32_t unknown1 = 1);
  // Builds the file; sections are stored in the order they were added.
  std::vector<uint8_t> build(Layout* layout = nullptr) const;
  // Stores `count` in the header instead of the number of sections.
  std::optional<uint32_t> section_count_override;

 private:
  std::vector<Section> sections_;
};

// Writes bytes to a file; false on failure.
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace terrova::testkit
