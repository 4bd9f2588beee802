#include "tools/cli/json_writer.h"

#include <cmath>

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
        // Other control characters as escapes; bytes from 0x80 pass as they are (UTF-8).
        if (*c < 0x20) {
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
