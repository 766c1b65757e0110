#include "driver/options.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace terrova {
namespace {

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Scans an unsigned decimal number as the C library's scanf("%u") does, with a 32-bit result:
// 1 on success, 0 when no number was found, -1 at the end of the text before any conversion.
// Magnitudes past 32 bits saturate; a minus sign negates modulo 2^32.
int scan_unsigned(const char* text, uint32_t& result) {
  const char* p = text;
  while (is_space(*p)) ++p;
  if (*p == 0) return -1;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return 0;
  uint64_t magnitude = 0;
  bool overflow = false;
  for (; *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
    if (magnitude > 0xFFFFFFFFu) overflow = true, magnitude = 0xFFFFFFFFu;
  }
  if (overflow) {
    result = 0xFFFFFFFFu;
  } else {
    result = negative ? static_cast<uint32_t>(0 - magnitude) : static_cast<uint32_t>(magnitude);
  }
  return 1;
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
    if (row.kind != OptionKind::kFlag) letters += ':';
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
    switch (row->kind) {
      case OptionKind::kFlag:
        *static_cast<bool*>(row->target) = true;
        break;
      case OptionKind::kText:
        *static_cast<const char**>(row->target) = argument;
        break;
      case OptionKind::kTextList:
        static_cast<std::vector<const char*>*>(row->target)->push_back(argument);
        break;
      case OptionKind::kUnsigned: {
        // An empty argument leaves the target as it was; text that is no number is an error.
        uint32_t value = 0;
        const int scanned = scan_unsigned(argument, value);
        if (scanned == 0) return kParseError;
        if (scanned > 0) *static_cast<uint32_t*>(row->target) = value;
        break;
      }
    }
  }
}

OptionTable::OptionTable(DecodeOptions& o)
    : rows{
          {'t', OptionKind::kFlag,     &o.terse,           "Do not print verbose information to output file" },
          {'d', OptionKind::kFlag,     &o.degrees_minutes,
           "Print lat/lon as degrees and decimal minutes"                                                    },
          {'f', OptionKind::kFlag,     &o.feet,            "Print altitudes in feet instead of meters"       },
          {'m', OptionKind::kFlag,     &o.nautical_miles,
           "Print ranges in nautical miles instead of meters"                                                },
          {'n', OptionKind::kText,     &o.center_lat_text,
           "Center latitude of circle: N47:30, S33:52:12, -12.5"                                             },
          {'e', OptionKind::kText,     &o.center_lon_text, "Center longitude of circle: E8:33, W122.5"       },
          {'r', OptionKind::kUnsigned, &o.radius_km,
           "Radius of circle (in KM) for partial decoding"                                                   },
          {'p', OptionKind::kFlag,     &o.plan,            "Write an SVG plan of each airport beside the XML"},
          {'j', OptionKind::kUnsigned, &jobs,
           "Files of a folder decoded at once (default: one per processor)"                                  },
          {'u', OptionKind::kFlag,     &o.unread_report,
           "List the bytes of each record kind never read"                                                   },
          {'L', OptionKind::kFlag,     &library,
           "Index the scenery library LIBRARY into INDEX (default library.sqlite)"                           },
          {'D', OptionKind::kTextList, &drives,
           "With -L: where a drive of scenery.cfg lives, D=FOLDER (repeatable)"                              },
          {'S', OptionKind::kText,     &simulator_folder,
           "With -L: the simulator folder of scenery.cfg's relative paths"                                   },
          {'O', OptionKind::kText,     &official_folder,   "With -L: the MSFS Official folder"               },
          {'C', OptionKind::kText,     &content_xml,       "With -L: the MSFS Content.xml"                   }
} {}

std::string switches_help(std::span<const OptionSpec> table) {
  std::string text = "\nSwitches:\n";
  for (const OptionSpec& row : table) {
    text += "  -";
    text += row.letter;
    text += row.kind == OptionKind::kFlag ? "       " : "<arg>  ";
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
      options.radius_m != 0 && options.center_lat != 0 && options.center_lon != 0;
}

}  // namespace terrova
