// The record as the unit of decoding.
//
// Every record and sub-record of the format starts with a u16 id and a size; a `Record` is one of
// them: its id, its declared size, its file offset (for comments and warnings) and a view of the
// image narrowed to its bytes. Reads are relative to the record start, and a read past the end of
// the record gives zero, as a read past the image does, so a decoder that is handed a record
// cannot read its neighbour by accident.
//
// `RecordWalk` is the one walk that builds records: from a position inside a parent view it reads
// each header, checks once that the record holds its header and ends inside the parent, and
// advances by the declared size. A record that fails the check ends the walk with the warning
// comment of a damaged structure. Table-driven walks look each record's id up in a table of
// {id, element name, smallest size the decoder reads, decode} rows (`find_record_kind`), and
// `record_holds` reports a record too small for its row.
//
// With the unread-bytes report on, the walk registers each record it builds with the decode's
// `Coverage` (coverage.h); `name_kind` gives it its kind name and `leave_out_of_report` takes it
// out (a dumped record). Both cost one null test when the report is off.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "bgl/context.h"
#include "bgl/image.h"

namespace terrova {

class Record {
 public:
  Record() = default;
  // The `size` bytes at file offset `offset` of `parent`, cut at the end of the parent. The id is
  // the u16 at the record start.
  Record(const Image& parent, uint64_t offset, uint32_t size)
      : view_(parent.narrow(offset, size)),
        offset_(static_cast<uint32_t>(offset)),
        size_(size),
        id_(view_.u16(offset)) {}

  uint16_t id() const { return id_; }
  // The declared size, header included.
  uint32_t size() const { return size_; }
  // The file offset of the first byte, for comments and warnings.
  uint32_t offset() const { return offset_; }
  // The file offset of the byte at `at` of the record.
  uint64_t file_offset(uint64_t at) const { return uint64_t{offset_} + at; }
  // The view narrowed to the record, addressed by file offsets.
  const Image& view() const { return view_; }

  // True when the `length` bytes at `at` lie inside the record.
  bool holds(uint64_t at, uint64_t length) const {
    return view_.contains(uint64_t{offset_} + at, length);
  }

  uint8_t u8(uint64_t at) const { return view_.u8(uint64_t{offset_} + at); }
  uint16_t u16(uint64_t at) const { return view_.u16(uint64_t{offset_} + at); }
  uint32_t u32(uint64_t at) const { return view_.u32(uint64_t{offset_} + at); }
  int32_t i32(uint64_t at) const { return view_.i32(uint64_t{offset_} + at); }
  float f32(uint64_t at) const { return view_.f32(uint64_t{offset_} + at); }
  // The bytes at `at` up to the first zero byte, at most `max_length`, never past the record.
  std::string_view text(uint64_t at, uint64_t max_length) const {
    return view_.text(uint64_t{offset_} + at, max_length);
  }
  // The bytes at `at`, `length` of them, cut at the end of the record.
  std::string_view bytes(uint64_t at, uint64_t length) const {
    return view_.bytes(uint64_t{offset_} + at, length);
  }

  // The `length` bytes from `at` as a record of their own that keeps this record's id: the kind
  // data of a scenery object, the objects of a tower sub-record. Cut at the end of this record.
  // Names and leaves out the record the part belongs to.
  Record part(uint64_t at, uint64_t length) const {
    Record r;
    r.view_ = view_.narrow(uint64_t{offset_} + at, length);
    r.offset_ = static_cast<uint32_t>(uint64_t{offset_} + at);
    r.size_ = r.view_.size();
    r.id_ = id_;
    r.slot_ = slot_;
    return r;
  }

  // The kind name of the record in the unread-bytes report: its table row's element name, or the
  // name its decoder writes. `kind_name` outlives the decode (a table's or a literal's text).
  void name_kind(const char* kind_name) const {
    if (Coverage* coverage = view_.coverage()) [[unlikely]]
      name_record(coverage, slot_, kind_name);
  }
  // Leaves the record out of the unread-bytes report: it was dumped whole, is too small for its
  // decoder, or lies outside the partial-decoding circle.
  void leave_out_of_report() const {
    if (Coverage* coverage = view_.coverage()) [[unlikely]]
      skip_record(coverage, slot_);
  }
  // Registers the record built by the walk with the view's collector.
  void register_coverage() {
    if (Coverage* coverage = view_.coverage()) [[unlikely]]
      slot_ = add_record(coverage, offset_, size_, id_);
  }

 private:
  static void name_record(Coverage* coverage, uint32_t slot, const char* kind_name);
  static void skip_record(Coverage* coverage, uint32_t slot);
  static uint32_t add_record(Coverage* coverage, uint32_t offset, uint32_t size, uint16_t id);

  Image view_;
  uint32_t offset_ = 0;
  uint32_t size_ = 0;
  uint16_t id_ = 0;
  uint32_t slot_ = UINT32_MAX;  // its entry in the report's collector; none for records not walked
};

// Where a walk reads each record's size.
enum class SizeField : uint8_t {
  kU32,  // u32 at +2: the records of sections and airport sub-records
  kU16,  // u16 at +2: scenery objects
};

// Walks consecutive records inside a parent view.
class RecordWalk {
 public:
  // Records from file offset `from` up to the end of `parent`.
  RecordWalk(DecodeContext& ctx, const Image& parent, uint64_t from,
             SizeField size_field = SizeField::kU32)
      : ctx_(&ctx),
        parent_(parent),
        position_(from),
        limit_(parent.end()),
        size_field_(size_field) {}
  // The records of `parent` from its byte `at`.
  RecordWalk(DecodeContext& ctx, const Record& parent, uint64_t at,
             SizeField size_field = SizeField::kU32)
      : RecordWalk(ctx, parent.view(), parent.file_offset(at), size_field) {}

  // Records start only below `limit` (a file offset), though they may end anywhere inside the
  // parent: runs whose last record may reach past the run's data size.
  RecordWalk& starting_below(uint64_t limit) {
    limit_ = limit;
    return *this;
  }

  // True while a record may start before the end of the parent (or the limit).
  bool more() const { return !stopped_ && position_ < limit_; }
  // The id of the next record, or nothing when fewer than 2 bytes are left.
  bool peek_id(uint16_t& id) const {
    if (!more() || !parent_.contains(position_, 2)) return false;
    id = parent_.u16(position_);
    return true;
  }
  // Builds the next record and advances past it. False at the end of the parent, and when the
  // record cannot hold `min_size` bytes (at least its 6-byte header) or runs past the parent:
  // the damage is then reported and the walk ends.
  bool next(Record& record, uint32_t min_size = 6) { return next(record, min_size, size_field_); }
  // The same with the size read as `size_field` says for this record alone.
  bool next(Record& record, uint32_t min_size, SizeField size_field);
  // Goes on from file offset `position` instead of the end of the last record: for the walks
  // that follow what a decoder says it read rather than the size field.
  void resume_at(uint64_t position) { position_ = position; }

  uint64_t position() const { return position_; }

 private:
  DecodeContext* ctx_;
  Image parent_;
  uint64_t position_;
  uint64_t limit_;
  SizeField size_field_;
  bool stopped_ = false;
};

// Builds the record of `size` bytes at file offset `offset` when it holds `min_size` bytes (at
// least its 6-byte header) and lies inside `parent`; otherwise reports the damage and returns
// false. For records found through an index rather than a walk.
bool record_at(DecodeContext& ctx, const Image& parent, uint64_t offset, uint64_t size,
               uint64_t min_size, Record& record);

// The first row of `kinds` whose id is `id` (rows are searched from the top), or nullptr.
template <class Kind>
const Kind* find_record_kind(std::span<const Kind> kinds, uint32_t id) {
  for (const Kind& kind : kinds) {
    if (kind.id == id) return &kind;
  }
  return nullptr;
}

// True when the record holds the `min_size` bytes its decoder reads; otherwise the damage is
// reported and the decoder writes nothing for it.
bool record_holds(DecodeContext& ctx, const Record& record, uint64_t min_size);

}  // namespace terrova
