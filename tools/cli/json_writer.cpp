#include "tools/cli/json_writer.h"

#include <cmath>

namespace {

// The length of the well-formed UTF-8 sequence at `c` (2 to 4), or 0 when there is none.
int Utf8SequenceLength(const unsigned char* c) {
  int length = 0;
  unsigned minimum = 0;
  unsigned code = 0;
  if ((c[0] & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, code = c[0] & 0x1Fu;
  } else if ((c[0] & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, code = c[0] & 0x0Fu;
  } else if ((c[0] & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, code = c[0] & 0x07u;
  } else {
    return 0;
  }
  for (int i = 1; i < length; ++i) {
    // A terminating zero fails this test too, so nothing past the text is read.
    if ((c[i] & 0xC0) != 0x80) return 0;
    code = (code << 6) | (c[i] & 0x3Fu);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < minimum || code > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!filled_.empty()) {
    if (filled_.back()) std::fputc(',', out_);
    filled_.back() = true;
  }
}

void JsonWriter::BeginObject() {
  BeforeValue();
  std::fputc('{', out_);
  filled_.push_back(false);
}

void JsonWriter::BeginDocument() {
  BeginObject();
  Key("version");
  Integer(kJsonDocumentVersion);
}

void JsonWriter::EndObject() {
  filled_.pop_back();
  std::fputc('}', out_);
}

void JsonWriter::BeginArray() {
  BeforeValue();
  std::fputc('[', out_);
  filled_.push_back(false);
}

void JsonWriter::EndArray() {
  filled_.pop_back();
  std::fputc(']', out_);
}

void JsonWriter::Key(const char* key) {
  String(key);
  std::fputc(':', out_);
  afterKey_ = true;
}

void JsonWriter::String(const char* text) {
  BeforeValue();
  std::fputc('"', out_);
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != '\0'; ++c) {
    if (*c >= 0x80) {
      // Valid UTF-8 passes as it is; any other byte (a Latin-1 file name, say) is read as the
      // Latin-1 character it most likely is, so the document stays valid.
      const int length = Utf8SequenceLength(c);
      if (length == 2 && c[0] == 0xC2 && c[1] <= 0x9F) {
        // A C1 control (U+009B is CSI) would reach a terminal showing the document as one.
        std::fprintf(out_, "\\u%04x", c[1]);
        ++c;
      } else if (length > 0) {
        std::fwrite(c, 1, static_cast<std::size_t>(length), out_);
        c += length - 1;
      } else {
        std::fprintf(out_, "\\u%04x", *c);
      }
      continue;
    }
    switch (*c) {
      case '"':
        std::fputs("\\\"", out_);
        break;
      case '\\':
        std::fputs("\\\\", out_);
        break;
      case '\n':
        std::fputs("\\n", out_);
        break;
      case '\r':
        std::fputs("\\r", out_);
        break;
      case '\t':
        std::fputs("\\t", out_);
        break;
      default:
        if (*c < 0x20 || *c == 0x7F) {
          std::fprintf(out_, "\\u%04x", *c);
        } else {
          std::fputc(*c, out_);
        }
    }
  }
  std::fputc('"', out_);
}

void JsonWriter::Integer(long long value) {
  BeforeValue();
  std::fprintf(out_, "%lld", value);
}

void JsonWriter::Number(double value, int decimals) {
  BeforeValue();
  // JSON has no infinity or NaN.
  if (!std::isfinite(value)) {
    std::fputs("null", out_);
    return;
  }
  std::fprintf(out_, "%.*f", decimals, value);
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  std::fputs(value ? "true" : "false", out_);
}

void JsonWriter::Null() {
  BeforeValue();
  std::fputs("null", out_);
}

void JsonWriter::Finish() {
  std::fputc('\n', out_);
}
