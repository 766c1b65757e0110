// The compressed vertex form of a polygon entry (after its two form bytes):
//   +0  u32  x, +4 u32 y of the first vertex, in steps of the packed form's grid (checked: the
//            floor of every first vertex of the sources)
//   +8  s32  x, +12 s32 y step from the first vertex to the second (checked, as above)
//   +16 u32  byte length L of the rest
//   +20      L bytes: the changes of step, x then y for each later vertex (each step is the last
//            one plus its change; the last vertex repeats the first), as bit planes:
//     u8  W << 2, W the bit length of the largest change (bytes: every stream of the sources has
//         the low two bits clear; a stream with either set is not read)
//     then the planes W - 1 down to 0, high bit first, each plane starting on a byte:
//       refinement: for each change found in a higher plane, in order, its bit of this plane;
//       significance: the changes not yet found, in order, as runs of an adaptive code: a state
//         p = 8 at the start of each plane gives k = p / 8; a 0 bit passes 2^k changes that lack
//         the bit (p += 5, or 4 when k is 0); a 1 bit is followed by the change's sign (1 minus)
//         and k bits of its place among the next 2^k (p -= 6, or 3 when k is 0, not below 0); a
//         plane ends when its run passes the last change
//   (bytes: all 84 compressed entries of the MSFS samples, 60 distinct streams, decode to their
//   stated count and length and close their rings; every source vertex of the 71 entries whose
//   polygon the sources hold unclipped falls inside its step)
#include "scenery/polygon_points.h"

namespace terrova {
namespace {

constexpr uint64_t kStepAt = 8;
constexpr uint64_t kLengthAt = 16;
constexpr uint64_t kStreamAt = 20;
constexpr uint32_t kMaxWidth = 31;
// A count the stream cannot plausibly hold is refused before any buffer is sized: the sources
// hold at most 4.2 changes a byte and 84 vertices a polygon.
constexpr uint64_t kMaxChangesPerByte = 32;
constexpr uint64_t kMaxChanges = uint64_t{1} << 24;
constexpr uint32_t kStateShift = 3;
constexpr uint32_t kStartState = 8;
constexpr uint32_t kMaxState = kMaxWidth << kStateShift;
// The state's moves: up after a run of 2^k changes without the bit, down after a change with it;
// a run of one change (k = 0) moves it less.
constexpr uint32_t kRunUp = 5;
constexpr uint32_t kSingleUp = 4;
constexpr uint32_t kFoundDown = 6;
constexpr uint32_t kSingleFoundDown = 3;
constexpr uint8_t kSignificant = 1;
constexpr uint8_t kNegative = 2;

// The stream's bits high bit first, with reads past its end failing.
class BitReader {
 public:
  BitReader(const Record& block, uint64_t at, uint32_t length)
      : block_(block), at_(at), end_(uint64_t{length} * 8) {}

  bool read(uint32_t count, uint32_t& value) {
    if (end_ - bit_ < count) return false;
    value = 0;
    for (uint32_t i = 0; i < count; ++i, ++bit_) {
      value = value << 1 | ((block_.u8(at_ + bit_ / 8) >> (7 - bit_ % 8)) & 1u);
    }
    return true;
  }
  void align() { bit_ = (bit_ + 7) / 8 * 8; }
  bool at_end() const { return bit_ == end_; }

 private:
  const Record& block_;
  uint64_t at_;
  uint64_t end_;
  uint64_t bit_ = 0;
};

}  // namespace

bool CompressedPoints::decode(const Record& block, uint64_t at, uint32_t vertex_count) {
  x_.clear();
  y_.clear();
  const uint32_t length = block.u32(at + kLengthAt);
  if (vertex_count < 2 || !block.holds(at + kStreamAt, length)) return false;
  const uint64_t changes = (uint64_t{vertex_count} - 2) * 2;
  if (changes > kMaxChangesPerByte * length || changes > kMaxChanges) return false;
  magnitude_.assign(changes, 0);
  state_.assign(changes, 0);
  if (!decode_changes(block, at + kStreamAt, length)) return false;
  // Unsigned arithmetic wraps as the file's 32-bit words do.
  uint32_t x = block.u32(at);
  uint32_t y = block.u32(at + 4);
  uint32_t step_x = block.u32(at + kStepAt);
  uint32_t step_y = block.u32(at + kStepAt + 4);
  x_.reserve(vertex_count);
  y_.reserve(vertex_count);
  x_.push_back(x);
  y_.push_back(y);
  for (uint64_t i = 0; i <= changes; i += 2) {
    if (i != 0) {
      step_x += change(i - 2);
      step_y += change(i - 1);
    }
    x += step_x;
    y += step_y;
    x_.push_back(x);
    y_.push_back(y);
  }
  return true;
}

uint32_t CompressedPoints::change(uint64_t i) const {
  return (state_[i] & kNegative) != 0 ? 0u - magnitude_[i] : magnitude_[i];
}

bool CompressedPoints::decode_changes(const Record& block, uint64_t at, uint32_t length) {
  if (length == 0) return false;
  const uint8_t head = block.u8(at);
  const uint32_t width = head >> 2;
  if ((head & 3) != 0 || width > kMaxWidth) return false;
  BitReader bits(block, at + 1, length - 1);
  const size_t count = magnitude_.size();
  for (uint32_t plane = width; plane-- > 0;) {
    uint32_t bit = 0;
    open_.clear();
    for (size_t i = 0; i < count; ++i) {
      if ((state_[i] & kSignificant) == 0) {
        open_.push_back(static_cast<uint32_t>(i));
        continue;
      }
      if (!bits.read(1, bit)) return false;
      magnitude_[i] |= bit << plane;
    }
    uint32_t state = kStartState;
    uint64_t place = 0;
    while (place < open_.size()) {
      const uint32_t k = state >> kStateShift;
      if (!bits.read(1, bit)) return false;
      if (bit == 0) {
        place += uint64_t{1} << k;
        state += k != 0 ? kRunUp : kSingleUp;
        if (state > kMaxState) state = kMaxState;
        continue;
      }
      uint32_t sign = 0;
      uint32_t offset = 0;
      if (!bits.read(1, sign) || !bits.read(k, offset)) return false;
      place += offset;
      if (place >= open_.size()) return false;
      const uint32_t i = open_[place++];
      magnitude_[i] |= uint32_t{1} << plane;
      state_[i] = static_cast<uint8_t>(kSignificant | (sign != 0 ? kNegative : 0));
      const uint32_t down = k != 0 ? kFoundDown : kSingleFoundDown;
      state = state > down ? state - down : 0;
    }
    bits.align();
  }
  return bits.at_end();
}

}  // namespace terrova
