#include "bgl/coverage.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace terrova {
namespace {

// Ranges listed on one line at most; the rest are counted.
constexpr size_t kMostRanges = 40;

std::string decimal(uint64_t value) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// Upper-case hexadecimal with at least `digits` digits.
std::string hex(uint64_t value, int digits) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
  std::string digits_text(text, end);
  for (char& c : digits_text) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  if (digits_text.size() < static_cast<size_t>(digits)) {
    digits_text.insert(0, static_cast<size_t>(digits) - digits_text.size(), '0');
  }
  return digits_text.insert(0, "0x");
}

// kLone: not zero and held by one record only. One record cannot show a constant, but the same
// value in each entry of a list inside it can: such a piece is constant when it repeats with its
// value, and data otherwise.
enum class ValueClass : uint8_t { kZero, kConstant, kLone, kVaries };

ValueClass class_of(const UnreadReport::ByteStats& b) {
  if (b.varies) return ValueClass::kVaries;
  if (b.first == 0) return ValueClass::kZero;
  return b.present > 1 ? ValueClass::kConstant : ValueClass::kLone;
}

// Constants and lone values are compared by their values.
bool has_value(ValueClass c) { return c == ValueClass::kConstant || c == ValueClass::kLone; }

// A run of never-read offsets [begin, end) of one class, each held by `least` to `most` records.
struct Segment {
  uint32_t begin;
  uint32_t end;
  ValueClass value_class;
  uint32_t least;
  uint32_t most;
};

// Splits the never-read offsets into segments. Unread offsets next to each other make one range,
// cut at the 4-byte steps of the record where the class of the values changes (so that padding
// beside a field stays apart from it). A constant non-zero value is shown per 4-byte step, as the
// field it most likely is, and only for bytes that the same number of records hold.
std::vector<Segment> segments_of(const std::vector<UnreadReport::ByteStats>& bytes) {
  std::vector<Segment> segments;
  const uint32_t size = static_cast<uint32_t>(bytes.size());
  auto unread = [&](uint32_t i) { return bytes[i].present != 0 && bytes[i].read == 0; };
  for (uint32_t at = 0; at < size;) {
    if (!unread(at)) {
      ++at;
      continue;
    }
    // One piece: unread bytes inside one 4-byte step held by the same number of records.
    const uint32_t step_end = std::min(size, (at / 4 + 1) * 4);
    uint32_t end = at + 1;
    while (end < step_end && unread(end) && bytes[end].present == bytes[at].present) ++end;
    ValueClass value_class = ValueClass::kZero;
    for (uint32_t i = at; i < end; ++i) value_class = std::max(value_class, class_of(bytes[i]));
    const uint32_t present = bytes[at].present;
    Segment* last = segments.empty() ? nullptr : &segments.back();
    if (last != nullptr && last->end == at && last->value_class == value_class &&
        !has_value(value_class)) {
      last->end = end;
      last->least = std::min(last->least, present);
      last->most = std::max(last->most, present);
    } else {
      segments.push_back({at, end, value_class, present, present});
    }
    at = end;
  }
  return segments;
}

// The value of a constant segment: its bytes as a little-endian number, as the format stores its
// fields.
uint64_t constant_value(const Segment& s, const std::vector<UnreadReport::ByteStats>& bytes) {
  uint64_t value = 0;
  for (uint32_t i = s.end; i-- > s.begin;) value = value << 8 | bytes[i].first;
  return value;
}

// Segments that repeat at one stride with the same length and values (the same field of each
// entry of a list inside the record) are shown once, with the stride and the count.
struct Repeat {
  Segment first;
  uint32_t stride = 0;
  uint32_t count = 1;
  uint32_t least = 0;  // the fewest and the most records that hold any of them
  uint32_t most = 0;
};

// Segments that repeat at one stride, alone or as a pattern of up to kLongestPattern segments
// (the unread fields of each entry of a list), fold when the pattern occurs at least
// kLeastRepeats times; the longest run wins, the shorter pattern on a tie.
std::vector<Repeat> fold_repeats(const std::vector<Segment>& segments,
                                 const std::vector<UnreadReport::ByteStats>& bytes) {
  constexpr size_t kLeastRepeats = 3;
  constexpr size_t kLongestPattern = 32;
  // A lone value stands for a constant of its value or for data that varies from entry to entry.
  auto alike = [&](const Segment& a, const Segment& b) {
    if (a.end - a.begin != b.end - b.begin) return false;
    const ValueClass x = a.value_class;
    const ValueClass y = b.value_class;
    if (x == ValueClass::kLone || y == ValueClass::kLone) {
      if (x == ValueClass::kZero || y == ValueClass::kZero) return false;
      if (x == ValueClass::kConstant || y == ValueClass::kConstant) {
        return constant_value(a, bytes) == constant_value(b, bytes);
      }
      return true;
    }
    return x == y &&
           (x != ValueClass::kConstant || constant_value(a, bytes) == constant_value(b, bytes));
  };
  // How many times the `length` segments from `i` occur, one stride apart.
  auto occurrences = [&](size_t i, size_t length) {
    const uint32_t stride = segments[i + length].begin - segments[i].begin;
    size_t times = 1;
    for (size_t next = i + length; next + length <= segments.size(); next += length) {
      for (size_t k = 0; k < length; ++k) {
        const Segment& first = segments[i + k];
        const Segment& later = segments[next + k];
        if (!alike(first, later) || later.begin != first.begin + times * uint64_t{stride}) {
          return times;
        }
      }
      ++times;
    }
    return times;
  };

  // True when the segment at `i` has one value in all its `times` occurrences (pattern length 1).
  auto same_value_in_all = [&](size_t i, size_t times) {
    for (size_t t = 0; t < times; ++t) {
      if (!has_value(segments[i + t].value_class) ||
          constant_value(segments[i + t], bytes) != constant_value(segments[i], bytes)) {
        return false;
      }
    }
    return true;
  };

  std::vector<Repeat> repeats;
  for (size_t i = 0; i < segments.size();) {
    size_t best_length = 1;
    size_t best_times = 1;
    for (size_t length = 1; length <= kLongestPattern && i + 2 * length <= segments.size();
         ++length) {
      const size_t times = occurrences(i, length);
      if (times >= kLeastRepeats && times * length > best_times * best_length) {
        best_length = length;
        best_times = times;
      }
    }
    if (best_length == 1 && best_times > 1 && segments[i].end == segments[i + 1].begin &&
        !same_value_in_all(i, best_times)) {
      best_times = 1;  // touching pieces of data are one range, not a list
    }
    if (best_times == 1) {
      Repeat r{segments[i], 0, 1, segments[i].least, segments[i].most};
      // A lone value that does not repeat is data; data next to data is one range.
      if (r.first.value_class == ValueClass::kLone) r.first.value_class = ValueClass::kVaries;
      Repeat* last = repeats.empty() ? nullptr : &repeats.back();
      if (last != nullptr && last->count == 1 && last->first.end == r.first.begin &&
          last->first.value_class == ValueClass::kVaries &&
          r.first.value_class == ValueClass::kVaries) {
        last->first.end = r.first.end;
        last->least = last->first.least = std::min(last->least, r.least);
        last->most = last->first.most = std::max(last->most, r.most);
      } else {
        repeats.push_back(r);
      }
      ++i;
      continue;
    }
    const uint32_t stride = segments[i + best_length].begin - segments[i].begin;
    for (size_t k = 0; k < best_length; ++k) {
      const Segment& first = segments[i + k];
      Repeat r{first, stride, static_cast<uint32_t>(best_times), first.least, first.most};
      // The same value in every entry is a constant, however few records hold it; different
      // values are data.
      bool same_value = has_value(first.value_class);
      for (size_t t = 1; t < best_times; ++t) {
        const Segment& later = segments[i + k + t * best_length];
        r.least = std::min(r.least, later.least);
        r.most = std::max(r.most, later.most);
        same_value = same_value && has_value(later.value_class) &&
                     constant_value(later, bytes) == constant_value(first, bytes);
      }
      if (has_value(first.value_class) || first.value_class == ValueClass::kVaries) {
        r.first.value_class = same_value ? ValueClass::kConstant : ValueClass::kVaries;
      }
      repeats.push_back(r);
    }
    i += best_length * best_times;
  }
  return repeats;
}

std::string describe(const Repeat& r, const std::vector<UnreadReport::ByteStats>& bytes,
                     uint32_t records) {
  const Segment& s = r.first;
  // Appended piece by piece: GCC 12 warns wrongly about "literal" + std::string.
  std::string text = "+";
  text += decimal(s.begin);
  if (s.end - s.begin > 1) text.append("..+").append(decimal(s.end - 1));
  if (s.value_class == ValueClass::kVaries) {
    text += " (varies";
  } else if (s.value_class == ValueClass::kZero) {
    text += " (always 0";
  } else {
    text.append(" (always ")
        .append(hex(constant_value(s, bytes), static_cast<int>(2 * (s.end - s.begin))));
  }
  if (r.least < records) {
    text.append(", in ").append(decimal(r.least));
    if (r.most != r.least) text.append(" to ").append(decimal(r.most));
    text.append(" of ").append(decimal(records));
  }
  text += ")";
  if (r.count > 1) {
    text.append(" every ").append(decimal(r.stride)).append(" bytes, ");
    text.append(decimal(r.count)).append(" times");
  }
  return text;
}

}  // namespace

void mark_read(Coverage* coverage, uint64_t offset, uint64_t length) {
  coverage->mark(offset, length);
}

void UnreadReport::add_record(const Key& kind, const uint8_t* values, const uint8_t* read,
                              const uint8_t* own, uint32_t size) {
  KindStats& stats = kinds_[kind];
  ++stats.records;
  if (stats.bytes.size() < size) stats.bytes.resize(size);
  for (uint32_t i = 0; i < size; ++i) {
    if (!own[i]) continue;
    ByteStats& b = stats.bytes[i];
    if (b.present == 0) {
      b.first = values[i];
    } else if (values[i] != b.first) {
      b.varies = true;
    }
    ++b.present;
    if (read[i]) ++b.read;
  }
}

void UnreadReport::merge(const UnreadReport& other) {
  for (const auto& [key, theirs] : other.kinds_) {
    KindStats& ours = kinds_[key];
    ours.records += theirs.records;
    if (ours.bytes.size() < theirs.bytes.size()) ours.bytes.resize(theirs.bytes.size());
    for (size_t i = 0; i < theirs.bytes.size(); ++i) {
      const ByteStats& t = theirs.bytes[i];
      ByteStats& o = ours.bytes[i];
      if (t.present == 0) continue;
      if (o.present == 0) {
        o = t;
        continue;
      }
      o.varies = o.varies || t.varies || t.first != o.first;
      o.present += t.present;
      o.read += t.read;
    }
  }
}

std::vector<std::string> UnreadReport::lines() const {
  std::vector<std::string> lines;
  for (const auto& [key, stats] : kinds_) {
    const std::vector<Repeat> segments = fold_repeats(segments_of(stats.bytes), stats.bytes);
    if (segments.empty()) continue;
    std::string line = hex(key.first, 2);
    line.append(" ").append(key.second).append(": ").append(decimal(stats.records));
    line.append(stats.records == 1 ? " record" : " records").append("; never read: ");
    const size_t shown = std::min(segments.size(), kMostRanges);
    for (size_t i = 0; i < shown; ++i) {
      if (i != 0) line += ", ";
      line += describe(segments[i], stats.bytes, stats.records);
    }
    if (shown < segments.size()) {
      line.append(", and ").append(decimal(segments.size() - shown)).append(" more ranges");
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

Coverage::Coverage(const Image& image) : image_(image.with_coverage(nullptr)), read_(image.end()) {}

void Coverage::mark(uint64_t offset, uint64_t length) {
  // Reads are inside the image; the clamp only keeps a wrong caller from writing past the flags.
  if (offset >= read_.size()) return;
  const uint64_t n = std::min<uint64_t>(length, read_.size() - offset);
  std::memset(read_.data() + offset, 1, static_cast<size_t>(n));
}

uint32_t Coverage::add_record(uint64_t offset, uint32_t size, uint16_t id) {
  records_.push_back({static_cast<uint32_t>(offset), size, id, false, section_, nullptr});
  return static_cast<uint32_t>(records_.size() - 1);
}

void Coverage::name(uint32_t slot, const char* kind_name) {
  if (slot < records_.size()) records_[slot].name = kind_name;
}

void Coverage::skip(uint32_t slot) {
  if (slot < records_.size()) records_[slot].skipped = true;
}

void Coverage::add_to(UnreadReport& report) const {
  // Outer records before the records inside them; a record walked twice counts once.
  std::vector<Entry> records = records_;
  std::stable_sort(records.begin(), records.end(), [](const Entry& a, const Entry& b) {
    return a.offset != b.offset ? a.offset < b.offset : a.size > b.size;
  });
  std::vector<Entry> unique;
  for (const Entry& e : records) {
    if (!unique.empty() && unique.back().offset == e.offset && unique.back().size == e.size) {
      Entry& kept = unique.back();
      kept.skipped = kept.skipped || e.skipped;
      if (kept.name == nullptr) kept.name = e.name;
      continue;
    }
    unique.push_back(e);
  }

  // The innermost record that holds each record whole is its parent.
  const size_t n = unique.size();
  constexpr size_t kNone = SIZE_MAX;
  std::vector<size_t> parent(n, kNone);
  std::vector<std::string> names(n);
  std::vector<size_t> open;
  auto end_of = [&](size_t i) { return uint64_t{unique[i].offset} + unique[i].size; };
  for (size_t i = 0; i < n; ++i) {
    while (!open.empty() && end_of(open.back()) <= unique[i].offset) open.pop_back();
    if (!open.empty() && end_of(i) <= end_of(open.back())) parent[i] = open.back();
    open.push_back(i);
    // A record no decoder named is known by what holds it.
    if (unique[i].name != nullptr) {
      names[i] = unique[i].name;
    } else if (parent[i] != kNone) {
      names[i].append("(in ").append(names[parent[i]]).append(")");
    } else {
      names[i].append("(section ").append(hex(unique[i].section, 1)).append(")");
    }
  }

  std::vector<uint8_t> own;
  for (size_t i = 0; i < n; ++i) {
    const Entry& e = unique[i];
    if (e.skipped || !image_.contains(e.offset, e.size)) continue;
    own.assign(e.size, 1);
    // The records that follow it and start inside it are its descendants; its children's bytes
    // are not its own.
    for (size_t j = i + 1; j < n && unique[j].offset < end_of(i); ++j) {
      if (parent[j] != i) continue;
      std::fill_n(own.begin() + (unique[j].offset - e.offset), unique[j].size, uint8_t{0});
    }
    report.add_record({e.id, names[i]}, image_.data() + e.offset, read_.data() + e.offset,
                      own.data(), e.size);
  }
}

}  // namespace terrova
