#include "bgl/record.h"

namespace terrova {

bool RecordWalk::next(Record& record, uint32_t min_size, SizeField size_field) {
  if (!more()) return false;
  // A header that does not fit gives a size of 0, which fails the check below.
  const uint64_t header = size_field == SizeField::kU32 ? 6 : 4;
  uint32_t size = 0;
  if (parent_.contains(position_, header)) {
    size = size_field == SizeField::kU32 ? parent_.u32(position_ + 2) : parent_.u16(position_ + 2);
  }
  if (size < header || size < min_size || !parent_.contains(position_, size)) {
    ctx_->report_malformed(position_);
    stopped_ = true;
    return false;
  }
  record = Record(parent_, position_, size);
  position_ += size;
  return true;
}

bool record_at(DecodeContext& ctx, const Image& parent, uint64_t offset, uint64_t size,
               uint64_t min_size, Record& record) {
  if (size < 6 || size < min_size || !parent.contains(offset, size)) {
    ctx.report_malformed(offset);
    return false;
  }
  record = Record(parent, offset, static_cast<uint32_t>(size));
  return true;
}

bool record_holds(DecodeContext& ctx, const Record& record, uint64_t min_size) {
  if (record.size() >= min_size) return true;
  ctx.report_malformed(record.offset());
  return false;
}

}  // namespace terrova
