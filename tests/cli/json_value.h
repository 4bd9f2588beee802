#pragma once
// A strict JSON reader for the tests: the tool's --json output must be one well-formed document
// that a script's parser accepts, so the tests read it with a parser of their own.

#include <cctype>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  // The member `key` of an object; a null value when there is none.
  const JsonValue& operator[](const std::string& key) const {
    static const JsonValue missing;
    const auto found = members.find(key);
    return found == members.end() ? missing : found->second;
  }
  bool Has(const std::string& key) const { return members.count(key) != 0; }
};

class JsonReader {
 public:
  // Parses `document` whole (only white space may follow the value); false when it is not JSON.
  static bool Parse(const std::string& document, JsonValue& value) {
    JsonReader reader(document);
    return reader.Value(value) && (reader.SkipSpace(), reader.at_ == document.size());
  }

 private:
  explicit JsonReader(const std::string& text) : text_(text) {}

  void SkipSpace() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) {
      ++at_;
    }
  }
  bool Take(char c) {
    SkipSpace();
    if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
    return false;
  }
  bool Word(const char* word) {
    const std::string w(word);
    if (text_.compare(at_, w.size(), w) != 0) return false;
    at_ += w.size();
    return true;
  }

  bool Value(JsonValue& value) {
    SkipSpace();
    if (at_ >= text_.size()) return false;
    const char c = text_[at_];
    if (c == '{') return Object(value);
    if (c == '[') return Array(value);
    if (c == '"') return value.kind = JsonValue::Kind::kString, String(value.text);
    if (Word("true")) return value.kind = JsonValue::Kind::kBool, value.boolean = true, true;
    if (Word("false")) return value.kind = JsonValue::Kind::kBool, true;
    if (Word("null")) return true;
    return Number(value);
  }

  bool Number(JsonValue& value) {
    const std::size_t start = at_;
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    const std::size_t digits = at_;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
    if (at_ == digits || (text_[digits] == '0' && at_ - digits > 1)) return false;
    if (at_ < text_.size() && text_[at_] == '.') {
      const std::size_t fraction = ++at_;
      while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
      if (at_ == fraction) return false;
    }
    value.kind = JsonValue::Kind::kNumber;
    value.number = std::strtod(text_.substr(start, at_ - start).c_str(), nullptr);
    return true;
  }

  bool String(std::string& out) {
    ++at_;  // the opening quote
    while (at_ < text_.size()) {
      const unsigned char c = static_cast<unsigned char>(text_[at_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;  // control characters must be escaped
      if (c != '\\') {
        out.push_back(static_cast<char>(c));
        continue;
      }
      if (at_ >= text_.size()) return false;
      const char e = text_[at_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out.push_back(e);
          break;
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        case 'u': {
          if (at_ + 4 > text_.size()) return false;
          const std::string hex = text_.substr(at_, 4);
          if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
          const long code = std::strtol(hex.c_str(), nullptr, 16);
          if (code >= 0x800) return false;  // the tool escapes nothing beyond Latin-1
          if (code < 0x80) {
            out.push_back(static_cast<char>(code));
          } else {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
          }
          at_ += 4;
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }

  bool Array(JsonValue& value) {
    ++at_;
    value.kind = JsonValue::Kind::kArray;
    if (Take(']')) return true;
    do {
      value.items.emplace_back();
      if (!Value(value.items.back())) return false;
    } while (Take(','));
    return Take(']');
  }

  bool Object(JsonValue& value) {
    ++at_;
    value.kind = JsonValue::Kind::kObject;
    if (Take('}')) return true;
    do {
      SkipSpace();
      std::string key;
      if (at_ >= text_.size() || text_[at_] != '"' || !String(key) || !Take(':')) return false;
      if (value.members.count(key) != 0) return false;  // a key twice is a fault of ours
      if (!Value(value.members[key])) return false;
    } while (Take(','));
    return Take('}');
  }

  const std::string& text_;
  std::size_t at_ = 0;
};
