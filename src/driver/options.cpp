#include "driver/options.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace terrova {
namespace {

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Scans an integer as the C library's scanf does for one conversion of the given base, with the
// 32-bit result of the platform the program was made for: 1 on success, 0 when no number was
// found, -1 at the end of the text before any conversion. Magnitudes past 32 bits saturate.
int scan_integer(const char* text, int base, bool is_signed, uint32_t& result) {
  const char* p = text;
  while (is_space(*p)) ++p;
  if (*p == 0) return -1;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digit_value(p[2]) < 16) p += 2;
  if (digit_value(*p) >= base) return 0;
  uint64_t magnitude = 0;
  bool overflow = false;
  for (; digit_value(*p) < base; ++p) {
    magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit_value(*p));
    if (magnitude > 0xFFFFFFFFu) overflow = true, magnitude = 0xFFFFFFFFu;
  }
  if (is_signed) {
    if (overflow || magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)) {
      result = negative ? 0x80000000u : 0x7FFFFFFFu;
    } else {
      result = negative ? static_cast<uint32_t>(-static_cast<int64_t>(magnitude))
                        : static_cast<uint32_t>(magnitude);
    }
  } else if (overflow) {
    result = 0xFFFFFFFFu;
  } else {
    result = negative ? static_cast<uint32_t>(0 - magnitude) : static_cast<uint32_t>(magnitude);
  }
  return 1;
}

int scan_real(const char* text, double& result) {
  const char* p = text;
  while (is_space(*p)) ++p;
  if (*p == 0) return -1;
  char* end = nullptr;
  double v = std::strtod(p, &end);
  if (end == p) return 0;
  result = v;
  return 1;
}

// Stores the switch argument into the row's target; false when the number cannot be scanned
// or the kind is unknown.
bool store_number(const OptionSpec& row, const char* argument) {
  int base = 10;
  bool is_signed = false;
  switch (row.kind) {
    case 'd':
    case 'D':
      is_signed = true;
      break;
    case 'u':
    case 'U':
      break;
    case 'o':
    case 'O':
      base = 8;
      break;
    case 'h':
    case 'H':
      base = 16;
      break;
    case 'F':
    case 'f':
    case 'L': {
      double v = 0;
      int r = scan_real(argument, v);
      if (r == 0) return false;
      if (r > 0) {
        if (row.kind == 'F')
          *static_cast<double*>(row.target) = v;
        else
          *static_cast<float*>(row.target) = static_cast<float>(v);
      }
      return true;
    }
    default:
      return false;
  }
  uint32_t v = 0;
  int r = scan_integer(argument, base, is_signed, v);
  if (r == 0) return false;
  if (r > 0) *static_cast<uint32_t*>(row.target) = v;
  return true;
}

void send(MessageCallback message, void* context, const char* pattern, char letter) {
  if (message == nullptr) return;
  std::string text = pattern;
  size_t at = text.find("%c");
  if (at != std::string::npos) text.replace(at, 2, 1, letter);
  message(context, text);
}

}  // namespace

int SwitchParser::next_switch(int argc, const char* const* argv, const std::string& letters,
                              const char*& argument, MessageCallback message, void* context) {
  argument = nullptr;
  if (switch_index >= argc) {
    letter_position = nullptr;
    ++switch_index;
    return kParseEnd;
  }
  if (letter_position == nullptr) {
    const char* element = argv[switch_index];
    if (element == nullptr) {
      ++switch_index;
      return kParseEnd;
    }
    if (element[0] != '-') return kParsePositional;
    if (element[1] == '-') {
      if (std::strcmp(element, "--version") == 0) return kParseVersion;
      send(message, context, "? -- invalid argument %c\n", '-');
      return kParseError;
    }
    letter_position = element + 1;
  }
  const char letter = *letter_position++;
  if (letter == 0) {
    send(message, context, "? -- no options on line\n", 0);
    letter_position = nullptr;
    return kParseError;
  }
  const size_t found = letters.find(letter);
  if (letter == ':' || found == std::string::npos) {
    send(message, context, "? -- unrecognized option %c\n", letter);
    return kParseError;
  }
  if (found + 1 < letters.size() && letters[found + 1] == ':') {
    ++switch_index;
    if (*letter_position != 0) {
      argument = letter_position;  // -r100
      letter_position = nullptr;
      return static_cast<unsigned char>(letter);
    }
    letter_position = nullptr;
    if (switch_index < argc && argv[switch_index] != nullptr) {
      argument = argv[switch_index++];  // -r 100
      return static_cast<unsigned char>(letter);
    }
    send(message, context, "? -- expect an argument after %c\n", letter);
    return kParseError;
  }
  if (*letter_position == 0) {
    ++switch_index;
    letter_position = nullptr;
  }
  return static_cast<unsigned char>(letter);
}

int SwitchParser::parse_switches(int argc, const char* const* argv,
                                 std::span<const OptionSpec> table, PositionalCallback positional,
                                 MessageCallback message, void* context) {
  std::string letters = "hH?";
  for (const OptionSpec& row : table) {
    letters += row.letter;
    if (row.kind != '!') letters += ':';
  }
  int number = 1;
  for (;;) {
    const char* argument = nullptr;
    int result = next_switch(argc, argv, letters, argument, message, context);
    if (result == kParseEnd) return kParseEnd;
    if (result == 'h' || result == 'H' || result == '?') return kParseHelp;
    if (result == kParseError || result == kParseVersion) return result;
    if (result == kParsePositional) {
      if (positional == nullptr) return kParseError;
      if (positional(context, argv[switch_index], number) == kParseError) return kParseError;
      ++switch_index;
      ++number;
      continue;
    }
    const OptionSpec* row = nullptr;
    for (const OptionSpec& candidate : table) {
      if (static_cast<unsigned char>(candidate.letter) == result) {
        row = &candidate;
        break;
      }
    }
    if (row == nullptr) return kParseError;
    if (row->kind == '!') {
      *static_cast<int*>(row->target) = 1;
    } else if (row->kind == 's') {
      *static_cast<const char**>(row->target) = argument;
    } else if (!store_number(*row, argument)) {
      return kParseError;
    }
  }
}

OptionTable::OptionTable(DecodeOptions& o)
    : rows{
          {'t', '!', &o.terse,           "Do not print verbose information to output file"               },
          {'d', '!', &o.degrees_minutes, "Print lat/lon as degrees and decimal minutes"                  },
          {'f', '!', &o.feet,            "Print altitudes in feet instead of meters"                     },
          {'m', '!', &o.nautical_miles,  "Print ranges in nautical miles instead of meters"              },
          {'n', 's', &o.center_lat_text, "Center latitude of circle: N47:30, S33:52:12, -12.5"           },
          {'e', 's', &o.center_lon_text, "Center longitude of circle: E8:33, W122.5"                     },
          {'r', 'U', &o.radius_km,       "Radius of circle (in KM) for partial decoding"                 },
          {'j', 'U', &jobs,              "Files of a folder decoded at once (default: one per processor)"}
} {}

std::string switches_help(std::span<const OptionSpec> table) {
  std::string text = "\nSwitches:\n";
  for (const OptionSpec& row : table) {
    text += "  -";
    text += row.letter;
    text += row.kind == '!' ? "       " : "<arg>  ";
    text += row.help;
    text += '\n';
  }
  return text;
}

double parse_coordinate_arg(const char* text) {
  const char* p = text;
  double sign = 1;
  if (*p == 'N' || *p == 'E' || *p == '+') {
    ++p;
  } else if (*p == 'S' || *p == 'W' || *p == '-') {
    sign = -1;
    ++p;
  }
  static constexpr double kFieldScale[] = {1.0, 0.016666666666666666, 0.0002777777777777778};
  double value = 0;
  int field = 0;
  std::string_view rest(p);
  while (field < 3) {
    size_t start = rest.find_first_not_of(':');
    if (start == std::string_view::npos) break;
    rest.remove_prefix(start);
    size_t stop = rest.find(':');
    std::string piece(rest.substr(0, stop));
    // The number at the start of the field, as atof reads it; no number gives 0.
    value += std::strtod(piece.c_str(), nullptr) * kFieldScale[field];
    ++field;
    if (stop == std::string_view::npos) break;
    rest.remove_prefix(stop);
  }
  return value * sign;
}

void set_up_circle(DecodeOptions& options) {
  if (options.center_lat_text == nullptr || options.center_lon_text == nullptr) return;
  if (options.radius_km > 4000) options.radius_km = 4000;
  options.radius_m = options.radius_km * 1000.0;
  options.center_lat = parse_coordinate_arg(options.center_lat_text);
  options.center_lon = parse_coordinate_arg(options.center_lon_text);
  options.circle_enabled =
      (options.radius_m != 0 && options.center_lat != 0 && options.center_lon != 0) ? 1 : 0;
}

}  // namespace terrova
