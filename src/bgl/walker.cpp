#include "bgl/walker.h"

#include <algorithm>
#include <vector>

#include "bgl/coverage.h"
#include "bgl/header.h"

namespace terrova {
namespace {

constexpr uint32_t kSectionEntrySize = 20;
constexpr uint32_t kSubsectionEntrySize = 16;

// Section order: higher types first. (Types are compared as unsigned values, so that the order
// stays a strict one for any bytes a damaged table holds.)
bool compare_sections(const SectionEntry& a, const SectionEntry& b) { return a.type > b.type; }

const SectionKind* find_kind(std::span<const SectionKind> kinds, uint32_t type) {
  for (const SectionKind& kind : kinds) {
    if (kind.type == type) return &kind;
  }
  return nullptr;
}

void walk_subsections(DecodeContext& ctx, const SectionEntry& section, const SectionKind* kind) {
  const Image& image = ctx.image;
  for (uint32_t i = 0; i < section.subsection_count; ++i) {
    uint64_t entry = uint64_t{section.subsection_table_offset} + uint64_t{i} * kSubsectionEntrySize;
    if (!image.contains(entry, kSubsectionEntrySize)) {
      ctx.report_malformed(entry);
      return;
    }
    const uint32_t lat_info = image.u32(entry);
    SubsectionRun run{image.u32(entry + 4), image.u32(entry + 8), image.u32(entry + 12)};
    if (!ctx.options.terse) {
      ctx.out.format("<!--\n\tLatInfo: 0x%0.8X, offset: 0x%0.8X, length: 0x%0.8X, count: %d\n-->\n",
                     lat_info, run.data_offset, run.data_size, run.record_count);
    }
    if (kind != nullptr && kind->decode_subsection != nullptr) {
      if (kind->single_record) run.record_count = 1;
      kind->decode_subsection(ctx, run);
    }
  }
}

// The number of section entries that the walk reads: a section count that reaches past the file
// keeps only the entries that lie inside it.
uint32_t readable_section_count(const Image& image) {
  const uint64_t room =
      image.size() > kHeaderSize ? (image.size() - kHeaderSize) / kSectionEntrySize : 0;
  return static_cast<uint32_t>(std::min<uint64_t>(image.u32(20), room));
}

}  // namespace

bool has_decoded_section(const Image& image, std::span<const SectionKind> kinds,
                         std::span<const SectionContent> contents) {
  const uint32_t count = readable_section_count(image);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = kHeaderSize + uint64_t{i} * kSectionEntrySize;
    const SectionKind* kind = find_kind(kinds, image.u32(at));
    if (kind == nullptr ||
        (kind->decode_subsection == nullptr && kind->decode_section == nullptr)) {
      continue;
    }
    const SectionContent* content = nullptr;
    for (const SectionContent& c : contents) {
      if (c.type == kind->type) content = &c;
    }
    if (content == nullptr) return true;
    const SectionEntry section{image.u32(at), image.u32(at + 4), image.u32(at + 8),
                               image.u32(at + 12), image.u32(at + 16)};
    if (content->writes_elements(image, section)) return true;
  }
  return false;
}

bool has_record_in_sections(const Image& file, uint32_t type, bool (*matches)(uint16_t id)) {
  constexpr uint32_t kRecordHeaderSize = 6;
  // The look reads nothing for the unread-bytes report: the walk reads what it decodes.
  const Image image = file.with_coverage(nullptr);
  const uint32_t count = readable_section_count(image);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = kHeaderSize + uint64_t{i} * kSectionEntrySize;
    if (image.u32(at) != type) continue;
    const uint32_t subsections = image.u32(at + 8);
    const uint64_t table = image.u32(at + 12);
    for (uint32_t n = 0; n < subsections; ++n) {
      const uint64_t entry = table + uint64_t{n} * kSubsectionEntrySize;
      if (!image.contains(entry, kSubsectionEntrySize)) break;
      const Image run = image.narrow(image.u32(entry + 8), image.u32(entry + 12));
      for (uint64_t pos = run.begin(); run.contains(pos, kRecordHeaderSize);) {
        if (matches(run.u16(pos))) return true;
        const uint32_t size = run.u32(pos + 2);
        if (size < kRecordHeaderSize) break;
        pos += size;
      }
    }
  }
  return false;
}

void walk_sections(DecodeContext& ctx, std::span<const SectionKind> kinds) {
  const Image& image = ctx.image;
  const uint32_t declared = image.u32(20);
  const uint32_t count = readable_section_count(image);
  if (count < declared) ctx.report_malformed(kHeaderSize);

  std::vector<SectionEntry> sections(count);
  for (uint32_t i = 0; i < count; ++i) {
    uint64_t at = kHeaderSize + uint64_t{i} * kSectionEntrySize;
    sections[i] = SectionEntry{image.u32(at), image.u32(at + 4), image.u32(at + 8),
                               image.u32(at + 12), image.u32(at + 16)};
  }
  // Descending type; sections of equal type keep their file order.
  std::stable_sort(sections.begin(), sections.end(), compare_sections);

  for (const SectionEntry& section : sections) {
    if (!ctx.options.terse) {
      ctx.out.format(
          "<!--\n\tObject type: 0x%0.8X\n\toffset: 0x%0.8X\n\tgroup count: %d\n\tunknown1: "
          "0x%0.8X\n\ttable size: 0x%0.8X\n-->\n",
          section.type, section.subsection_table_offset, section.subsection_count, section.unknown1,
          section.subsection_table_size);
    }
    if (Coverage* coverage = image.coverage()) coverage->set_section(section.type);
    const SectionKind* kind = find_kind(kinds, section.type);
    if (kind != nullptr && kind->decode_section != nullptr) {
      kind->decode_section(ctx, section);
      continue;
    }
    if (section.subsection_table_offset >= image.size()) continue;
    walk_subsections(ctx, section, kind);
  }
}

}  // namespace terrova
