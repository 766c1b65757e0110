// Model data, section 43. The subsection data starts with one 24-byte entry per model:
//   +0  4 x u32  model GUID
//   +16 u32      offset of the model's bytes from the start of the subsection data
//   +20 u32      size of the model's bytes
// The model bytes are copied unchanged into a ".mdl" file beside the document.
#include "format/xml.h"
#include "scenery/kinds.h"
#include "scenery/scenery_sections.h"

namespace terrova {
namespace {

constexpr uint32_t kEntrySize = 24;

bool is_device_name(std::string_view stem) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  std::string s;
  for (char c : stem) s.push_back(upper(c));
  if (s == "CON" || s == "PRN" || s == "AUX" || s == "NUL") return true;
  return s.size() == 4 && (s.compare(0, 3, "COM") == 0 || s.compare(0, 3, "LPT") == 0) &&
         s[3] >= '1' && s[3] <= '9';
}

}  // namespace

std::string_view model_name(const StringTable* names, std::string_view guid_text) {
  int index = 0;
  if (names != nullptr && table_find(*names, guid_text, index) && !(*names)[index].name.empty()) {
    return (*names)[index].name;
  }
  return guid_text;
}

std::string safe_model_name(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return "_";
  std::string safe;
  if (is_device_name(name.substr(0, name.find('.')))) safe.push_back('_');
  for (char c : name) {
    const unsigned char b = static_cast<unsigned char>(c);
    const bool forbidden = b < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' ||
                           c == '"' || c == '<' || c == '>' || c == '|';
    safe.push_back(forbidden ? '_' : c);
  }
  return safe;
}

std::string model_file_name(std::string_view safe_name) {
  // The safe name holds no control bytes, so its UTF-8 form is its Windows-1252 text as it is.
  return utf8_from_windows_1252(safe_name) + ".mdl";
}

void extract_model_data(DecodeContext& ctx, const SubsectionRun& run) {
  Output& out = ctx.out;
  const Image data = ctx.image.narrow(run.data_offset, run.data_size);
  for (uint64_t i = 0; i < run.record_count; ++i) {
    const uint64_t at = run.data_offset + i * kEntrySize;
    // The count is trusted only as far as the entries lie inside the subsection's data.
    if (!data.contains(at, kEntrySize)) {
      ctx.report_malformed(at);
      return;
    }
    const Record entry(data, at, kEntrySize);
    const uint64_t model_at = uint64_t{run.data_offset} + entry.u32(16);
    const uint32_t model_size = entry.u32(20);
    // The model bytes may lie anywhere in the file; a model whose bytes are not all there gets
    // neither an element nor a file, and the entries after it are read as usual. An empty model
    // has nothing to copy, wherever its offset points.
    if (model_size != 0 && !ctx.image.contains(model_at, model_size)) {
      ctx.report_malformed(at);
      continue;
    }
    const GuidText guid = guid_text(entry, 0);
    const std::string safe = safe_model_name(model_name(ctx.object_names, guid.str()));
    const ExtraFileSink* sink = ctx.extra_files;
    const std::string file_name = model_file_name(safe);
    const uint32_t copy =
        sink != nullptr && sink->copy_of != nullptr ? sink->copy_of(sink->context, file_name) : 1;
    out.format("\t<!-- guid=\"%s\" -->\n\t<ModelData sourceFile=\"", guid.str());
    write_escaped_text(out, safe, TextEncoding::kWindows1252);  // a names file text
    if (copy > 1) out.format("_%u", copy);
    out.write(".mdl\" />\n\n");
    if (sink != nullptr && sink->write != nullptr) {
      sink->write(sink->context, file_name, ctx.image.bytes(model_at, model_size));
    }
  }
}

}  // namespace terrova
