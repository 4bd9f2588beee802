#include "online/xml_text.h"

#include "online/xml_reader.h"

namespace {

constexpr unsigned kCharCodeLimit = 256;

struct NamedEntity {
  std::string_view name;  // between "&" and ";"
  char value;
};

constexpr NamedEntity kNamedEntities[] = {
    {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
};

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != prefix[i]) return false;
  }
  return true;
}

int DigitValue(char c, unsigned base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f') return LowerAscii(c) - 'a' + 10;
  return -1;
}

// Decodes the numeric entity whose digits start at text[0]; length receives the number of bytes
// up to and including ";". The value is capped so long digit runs cannot overflow.
int DecodeNumber(std::string_view text, unsigned base, char& value, std::size_t& length) {
  unsigned code = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] != ';'; ++i) {
    int digit = DigitValue(text[i], base);
    if (digit < 0) return XML_ERROR_UNKNOWN_ENTITY;
    code = code * base + static_cast<unsigned>(digit);
    if (code >= kCharCodeLimit) code = kCharCodeLimit;
  }
  if (i == 0 || i == text.size()) return XML_ERROR_UNKNOWN_ENTITY;
  if (code >= kCharCodeLimit) return XML_ERROR_CHAR_TOO_LARGE;
  value = static_cast<char>(code);
  length = i + 1;
  return XML_ERROR_NONE;
}

// Decodes the entity at text[0] == '&'; length receives its size in bytes.
int DecodeEntity(std::string_view text, char& value, std::size_t& length) {
  std::string_view rest = text.substr(1);
  if (!rest.empty() && rest[0] == '#') {
    bool hex = rest.size() > 1 && LowerAscii(rest[1]) == 'x';
    std::size_t skip = hex ? 2 : 1;
    int error = DecodeNumber(rest.substr(skip), hex ? 16 : 10, value, length);
    length += 1 + skip;
    return error;
  }
  for (const NamedEntity& entity : kNamedEntities) {
    if (StartsWithNoCase(rest, entity.name) && rest.size() > entity.name.size() &&
        rest[entity.name.size()] == ';') {
      value = entity.value;
      length = entity.name.size() + 2;
      return XML_ERROR_NONE;
    }
  }
  return XML_ERROR_UNKNOWN_ENTITY;
}

}  // namespace

int Utf8StepLength(unsigned char lead) {
  if (lead >= 0xC0 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

bool IsXmlSpace(char c) {
  return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

std::string_view TrimXmlSpace(std::string_view text) {
  while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

int DecodeXmlEntities(std::string_view text, std::string& out, std::size_t& errorOffset) {
  out.reserve(out.size() + text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t amp = text.find('&', i);
    if (amp == std::string_view::npos) amp = text.size();
    out.append(text.substr(i, amp - i));
    if (amp == text.size()) break;
    char value = 0;
    std::size_t length = 0;
    int error = DecodeEntity(text.substr(amp), value, length);
    if (error != XML_ERROR_NONE) {
      errorOffset = amp;
      return error;
    }
    out.push_back(value);
    i = amp + length;
  }
  return XML_ERROR_NONE;
}
