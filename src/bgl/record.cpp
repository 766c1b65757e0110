#include "bgl/record.h"

#include <algorithm>

#include "bgl/coverage.h"

namespace terrova {
namespace {

// The one check of a record: it holds `least` bytes and lies inside its parent. Otherwise the
// damage is reported.
bool build_record(DecodeContext& ctx, const Image& parent, uint64_t offset, uint64_t size,
                  uint64_t least, Record& record) {
  if (size < least || !parent.contains(offset, size)) {
    ctx.report_malformed(offset);
    return false;
  }
  record = Record(parent, offset, static_cast<uint32_t>(size));
  record.register_coverage();
  return true;
}

}  // namespace

bool RecordWalk::next(Record& record, uint32_t min_size, SizeField size_field) {
  if (!more()) return false;
  // A header that does not fit gives a size of 0, which fails the check.
  const uint64_t header = size_field == SizeField::kU32 ? 6 : 4;
  uint32_t size = 0;
  if (parent_.contains(position_, header)) {
    size = size_field == SizeField::kU32 ? parent_.u32(position_ + 2) : parent_.u16(position_ + 2);
  }
  if (!build_record(*ctx_, parent_, position_, size, std::max<uint64_t>(header, min_size),
                    record)) {
    stopped_ = true;
    return false;
  }
  position_ += size;
  return true;
}

bool record_at(DecodeContext& ctx, const Image& parent, uint64_t offset, uint64_t size,
               uint64_t min_size, Record& record) {
  return build_record(ctx, parent, offset, size, std::max<uint64_t>(6, min_size), record);
}

bool record_holds(DecodeContext& ctx, const Record& record, uint64_t min_size) {
  if (record.size() >= min_size) return true;
  ctx.report_malformed(record.offset());
  record.leave_out_of_report();
  return false;
}

void Record::name_record(Coverage* coverage, uint32_t slot, const char* kind_name) {
  coverage->name(slot, kind_name);
}

void Record::skip_record(Coverage* coverage, uint32_t slot) { coverage->skip(slot); }

uint32_t Record::add_record(Coverage* coverage, uint32_t offset, uint32_t size, uint16_t id) {
  return coverage->add_record(offset, size, id);
}

}  // namespace terrova
