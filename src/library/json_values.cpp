#include "library/json_values.h"

#include <cstdint>

#include "library/text_encoding.h"

namespace terrova::library {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  JsonDocument read() {
    JsonDocument doc;
    skip_white();
    if (value(doc.root, 1)) {
      skip_white();
      if (at_ < text_.size()) fail("text after the value");
    }
    doc.error = error_;
    doc.error_offset = error_offset_;
    return doc;
  }

 private:
  bool fail(const char* what) {
    if (error_.empty()) {
      error_ = what;
      error_offset_ = at_;
    }
    return false;
  }
  void skip_white() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n')) {
      ++at_;
    }
  }
  bool literal(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return fail("an unknown word");
    at_ += word.size();
    return true;
  }
  bool hex4(uint32_t& out) {
    if (text_.size() - at_ < 4) return fail("a cut-short \\u escape");
    out = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[at_++];
      uint32_t d;
      if (c >= '0' && c <= '9') {
        d = static_cast<uint32_t>(c - '0');
      } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
        d = static_cast<uint32_t>((c | 0x20) - 'a' + 10);
      } else {
        return fail("a bad \\u escape");
      }
      out = out * 16 + d;
    }
    return true;
  }
  bool string(std::string& out) {
    ++at_;  // the opening quote
    for (;;) {
      if (at_ >= text_.size()) return fail("an unclosed string");
      const char c = text_[at_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return fail("a control byte in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) return fail("an unclosed string");
      switch (text_[at_++]) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          uint32_t code;
          if (!hex4(code)) return false;
          if (code >= 0xD800 && code <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
            const size_t back = at_;
            at_ += 2;
            uint32_t low;
            if (!hex4(low)) return false;
            if (low >= 0xDC00 && low <= 0xDFFF) {
              code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else {
              at_ = back;
            }
          }
          append_utf8(out, (code >= 0xD800 && code <= 0xDFFF) ? 0xFFFD : code);
          break;
        }
        default:
          --at_;
          return fail("a bad escape in a string");
      }
    }
  }
  bool number(std::string& out) {
    const size_t start = at_;
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    const size_t digits = at_;
    while (at_ < text_.size() &&
           ((text_[at_] >= '0' && text_[at_] <= '9') || text_[at_] == '.' || text_[at_] == 'e' ||
            text_[at_] == 'E' || text_[at_] == '+' || text_[at_] == '-')) {
      ++at_;
    }
    if (at_ == digits) return fail("a bad number");
    out.assign(text_.substr(start, at_ - start));
    return true;
  }
  bool value(JsonValue& v, size_t depth) {
    if (at_ >= text_.size()) return fail("a value is missing");
    switch (text_[at_]) {
      case '{':
        return object(v, depth);
      case '[':
        return array(v, depth);
      case '"':
        v.type = JsonValue::Type::kString;
        return string(v.text);
      case 't':
        v.type = JsonValue::Type::kBool, v.text = "true";
        return literal("true");
      case 'f':
        v.type = JsonValue::Type::kBool, v.text = "false";
        return literal("false");
      case 'n':
        return literal("null");
      default:
        v.type = JsonValue::Type::kNumber;
        return number(v.text);
    }
  }
  bool array(JsonValue& v, size_t depth) {
    if (depth > kJsonMaxDepth) return fail("arrays nested too deep");
    v.type = JsonValue::Type::kArray;
    ++at_;
    skip_white();
    if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
    for (;;) {
      skip_white();
      v.items.emplace_back();
      if (!value(v.items.back(), depth + 1)) return false;
      skip_white();
      if (at_ >= text_.size()) return fail("an unclosed array");
      const char c = text_[at_++];
      if (c == ']') return true;
      if (c != ',') return --at_, fail("',' or ']' is missing in an array");
    }
  }
  bool object(JsonValue& v, size_t depth) {
    if (depth > kJsonMaxDepth) return fail("objects nested too deep");
    v.type = JsonValue::Type::kObject;
    ++at_;
    skip_white();
    if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
    for (;;) {
      skip_white();
      if (at_ >= text_.size() || text_[at_] != '"') return fail("a member name is missing");
      std::string key;
      if (!string(key)) return false;
      skip_white();
      if (at_ >= text_.size() || text_[at_] != ':') return fail("':' is missing after a name");
      ++at_;
      skip_white();
      v.members.push_back(JsonMember{std::move(key), {}});
      if (!value(v.members.back().value, depth + 1)) return false;
      skip_white();
      if (at_ >= text_.size()) return fail("an unclosed object");
      const char c = text_[at_++];
      if (c == '}') return true;
      if (c != ',') return --at_, fail("',' or '}' is missing in an object");
    }
  }

  std::string_view text_;
  size_t at_ = 0;
  std::string error_;
  size_t error_offset_ = 0;
};

}  // namespace

const JsonValue* JsonValue::member(std::string_view name) const {
  for (const JsonMember& m : members) {
    if (m.name == name) return &m.value;
  }
  return nullptr;
}

JsonDocument parse_json(std::string_view text) { return Reader(text).read(); }

}  // namespace terrova::library
