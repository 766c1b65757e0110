// Effect, kind data of scenery objects of kinds 4 and 13:
//   +0  char[80]  effect name, NUL-terminated within the 80 bytes (a name that fills them is cut
//                 at 80 characters)
//   +80 text      effect parameters, NUL-terminated; present only when the kind data is longer
//                 than 81 bytes
#include "format/xml.h"
#include "scenery/kinds.h"

namespace terrova {
namespace {

constexpr uint32_t kNameField = 80;

// Letters, digits and white space stand in the parameters as they are; every other character is
// written as a character reference, but for the control bytes that XML forbids.
bool is_plain_parameter_byte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
         (c >= '\t' && c <= '\r');
}

void write_parameters(Output& out, std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t run = i;
    while (i < text.size() && is_plain_parameter_byte(static_cast<unsigned char>(text[i]))) ++i;
    if (i > run) write_plain_text(out, text.substr(run, i - run));
    if (i == text.size()) break;
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x20) {
      // A control byte that XML allows neither as it is nor as a reference: U+FFFD.
      write_plain_text(out, text.substr(i, 1));
      ++i;
    } else {
      const TextCharacter c = first_character(text.substr(i), out.text_encoding());
      out.format("&#x%0.2X;", c.code_point);
      i += c.size;
    }
  }
}

}  // namespace

uint32_t decode_effect(DecodeContext& ctx, const char* name, const Record& kind_data) {
  if (!record_holds(ctx, kind_data, kNameField)) return kind_data.size();
  Output& out = ctx.out;
  const bool has_parameters = kind_data.size() > kNameField + 1;
  std::string_view parameters;
  uint32_t consumed = kind_data.size();
  if (has_parameters) {
    parameters = kind_data.text(kNameField, kind_data.size());
    consumed = kNameField + static_cast<uint32_t>(parameters.size()) + 1;
    // Parameters that run to the end of the kind data without their zero byte are damaged:
    // they are written as far as they go, and the walk goes on after the kind data.
    if (consumed > kind_data.size()) {
      ctx.report_malformed(kind_data.file_offset(kNameField));
      consumed = kind_data.size();
    }
  }

  out.format("\t\t<%s\n\t\t\teffectName=", name);
  write_quoted_text(out, kind_data.text(0, kNameField));
  if (has_parameters) {
    out.write("\n\t\t\teffectParams=\"");
    write_parameters(out, parameters);
    out.write("\"");
  }
  out.write(" />\n");
  return consumed;
}

}  // namespace terrova
