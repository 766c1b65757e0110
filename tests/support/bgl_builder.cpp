#include "bgl_builder.h"

#include <cmath>
#include <cstring>
#include <fstream>

namespace terrova::testkit {
namespace {

uint32_t base38_digit(char c) {
  if (c == '.') return 0;
  if (c == '/') return 1;
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0') + 2;
  if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(c - 'A') + 12;
  return 0;
}

uint32_t region_digit(char c) {
  if (c == ' ') return 0;
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0') + 2;
  if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(c - 'A') + 12;
  return 0;
}

}  // namespace

int32_t pack_latitude(double degrees) {
  return static_cast<int32_t>(std::llround((90.0 - degrees) / 3.3527612686157227e-07));
}

int32_t pack_longitude(double degrees) {
  return static_cast<int32_t>(std::llround((degrees + 180.0) / 4.470348358154297e-07));
}

uint32_t pack_raw_ident(std::string_view text) {
  uint32_t n = 0;
  for (char c : text) n = n * 38 + base38_digit(c);
  return n;
}

uint32_t pack_ident(std::string_view text, uint32_t low_bits) {
  return (pack_raw_ident(text) << 5) | (low_bits & 31);
}

uint32_t pack_region(std::string_view text) {
  if (text.size() == 1) return region_digit(text[0]);
  if (text.size() != 2) return 0;
  return region_digit(text[0]) * 38 + region_digit(text[1]);
}

Bytes& Bytes::u8(uint32_t v) {
  data.push_back(static_cast<uint8_t>(v));
  return *this;
}

Bytes& Bytes::u16(uint32_t v) {
  u8(v & 0xFF);
  return u8((v >> 8) & 0xFF);
}

Bytes& Bytes::u32(uint32_t v) {
  u16(v & 0xFFFF);
  return u16(v >> 16);
}

Bytes& Bytes::i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }

Bytes& Bytes::f32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return u32(bits);
}

Bytes& Bytes::zeros(size_t n) {
  data.insert(data.end(), n, 0);
  return *this;
}

Bytes& Bytes::text(std::string_view s) {
  data.insert(data.end(), s.begin(), s.end());
  return *this;
}

Bytes& Bytes::cstr(std::string_view s) { return text(s).u8(0); }

Bytes& Bytes::raw(const Bytes& other) { return raw(other.data); }

Bytes& Bytes::raw(const std::vector<uint8_t>& other) {
  data.insert(data.end(), other.begin(), other.end());
  return *this;
}

Bytes& Bytes::begin(uint32_t id) {
  open_.push_back({data.size(), true});
  return u16(id).u32(0);
}

Bytes& Bytes::begin_u16(uint32_t id) {
  open_.push_back({data.size(), false});
  return u16(id).u16(0);
}

Bytes& Bytes::end() {
  Open o = open_.back();
  return end_with_size(static_cast<uint32_t>(data.size() - o.start));
}

Bytes& Bytes::end_with_size(uint32_t size) {
  Open o = open_.back();
  open_.pop_back();
  if (o.wide) {
    put_u32(o.start + 2, size);
  } else {
    put_u16(o.start + 2, size);
  }
  return *this;
}

void Bytes::put_u16(size_t at, uint32_t v) {
  data[at] = static_cast<uint8_t>(v);
  data[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Bytes::put_u32(size_t at, uint32_t v) {
  put_u16(at, v & 0xFFFF);
  put_u16(at + 2, v >> 16);
}

Section& Section::add(const Bytes& records, uint32_t record_count, uint32_t lat_info) {
  Subsection s;
  s.lat_info = lat_info;
  s.record_count = record_count;
  s.data = records;
  subsections.push_back(std::move(s));
  return *this;
}

Section& BglBuilder::section(uint32_t type, uint32_t unknown1) {
  Section s;
  s.type = type;
  s.unknown1 = unknown1;
  sections_.push_back(std::move(s));
  return sections_.back();
}

std::vector<uint8_t> BglBuilder::build(Layout* layout) const {
  Layout places;
  const uint32_t n = static_cast<uint32_t>(sections_.size());
  // Tables first: the section table, then each section's subsection table and index.
  uint32_t at = 56 + 20 * n;
  for (const Section& s : sections_) {
    Layout::SectionPlace place;
    place.subsection_table = at;
    at += static_cast<uint32_t>(16 * s.subsections.size() + 8 * s.index.size());
    places.sections.push_back(place);
  }
  // Then the record runs.
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    for (const Subsection& sub : s.subsections) {
      places.sections[i].data.push_back(at);
      at += static_cast<uint32_t>(sub.data.size());
    }
    for (const Bytes& record : s.indexed_records) {
      places.sections[i].records.push_back(at);
      at += static_cast<uint32_t>(record.size());
    }
  }

  Bytes file;
  file.u32(0x19920201).u32(56).u32(0).u32(0).u32(0x08051803);
  file.u32(section_count_override.value_or(n));
  file.zeros(56 - file.size());
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    file.u32(s.type).u32(s.unknown1).u32(static_cast<uint32_t>(s.subsections.size()));
    file.u32(places.sections[i].subsection_table);
    file.u32(static_cast<uint32_t>(16 * s.subsections.size() + 8 * s.index.size()));
  }
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    for (size_t j = 0; j < s.subsections.size(); ++j) {
      const Subsection& sub = s.subsections[j];
      file.u32(sub.lat_info).u32(sub.record_count).u32(places.sections[i].data[j]);
      file.u32(sub.data_size.value_or(static_cast<uint32_t>(sub.data.size())));
    }
    for (size_t listed : s.index) {
      file.u32(places.sections[i].records[listed]);
      file.u32(static_cast<uint32_t>(s.indexed_records[listed].size()));
    }
  }
  for (const Section& s : sections_) {
    for (const Subsection& sub : s.subsections) file.raw(sub.data);
    for (const Bytes& record : s.indexed_records) file.raw(record);
  }
  if (layout != nullptr) *layout = places;
  return file.data;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

}  // namespace terrova::testkit
