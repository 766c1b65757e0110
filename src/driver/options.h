// The command line: a small switch parser driven by a table of options, the option table of the
// program, and the set-up of the partial-decoding circle.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bgl/context.h"

namespace terrova {

// Results of the parser.
constexpr int kParseEnd = -1;         // all arguments were read
constexpr int kParsePositional = -2;  // next_switch: an element that does not begin with '-'
constexpr int kParseError = -3;
constexpr int kParseHelp = -4;
constexpr int kParseVersion = -5;  // "--version", the one long option

// How a switch stores its value in its target.
enum class OptionKind : uint8_t {
  kFlag,      // bool, set to true; takes no argument
  kText,      // const char*, the argument text
  kUnsigned,  // uint32_t, the argument as a decimal number as "%u" scans it (saturating)
  kTextList,  // std::vector<const char*>, each argument of the repeated switch appended
};

struct OptionSpec {
  char letter;
  OptionKind kind;
  void* target;
  const char* help;
};

// Receives positional arguments (number 1, 2, ...); returns -1 to go on or -3 to stop.
using PositionalCallback = int (*)(void* context, const char* text, int number);
// Receives parser messages, which carry their own line end.
using MessageCallback = void (*)(void* context, const std::string& text);

struct SwitchParser {
  int switch_index = 1;
  const char* letter_position = nullptr;  // inside the element being read, or none

  int parse_switches(int argc, const char* const* argv, std::span<const OptionSpec> table,
                     PositionalCallback positional, MessageCallback message, void* context);
  int next_switch(int argc, const char* const* argv, const std::string& letters,
                  const char*& argument, MessageCallback message, void* context);
};

// The switches of the program, bound to the fields of `options`, and -j, the number of files of a
// folder decoded at once, bound to `jobs` (0 when not given: one per processor).
struct OptionTable {
  explicit OptionTable(DecodeOptions& options);
  OptionTable(const OptionTable&) = delete;  // the rows point into the table itself
  OptionTable& operator=(const OptionTable&) = delete;
  uint32_t jobs = 0;
  // -L and the switches of a library run.
  bool library = false;
  std::vector<const char*> drives;  // "D=FOLDER"
  const char* simulator_folder = nullptr;
  const char* official_folder = nullptr;
  const char* content_xml = nullptr;
  OptionSpec rows[15];
};

// The help text: an empty line, "Switches:" and one line per option.
std::string switches_help(std::span<const OptionSpec> table);

// A coordinate argument: an optional N/E/+ or S/W/- prefix and up to three ':'-separated fields
// of degrees, minutes and seconds.
double parse_coordinate_arg(const char* text);

// Completes the circle fields of the options once both centre texts are given: the radius is
// clamped to 4000 km and the circle is on when radius and both centre values are non-zero.
void set_up_circle(DecodeOptions& options);

}  // namespace terrova
