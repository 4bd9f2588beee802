#include "online/xml_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "online/xml_text.h"

// Tokens, taken after white space: end of text, a clear-section opening (tried first), a quoted
// text, "/>", "</", "<?", "<", "=", ">", or an ordinary text that runs up to white space, "<",
// ">", "=" or "/>". Outside tags only markup ("<..." and the end) matters: everything between
// two pieces of markup is one collected text.

namespace {

struct ClearMarker {
  std::string_view opening;  // matched with letter case
  const char* closing;
};

constexpr const char kCommentOpening[] = "<!--";
constexpr const char kDoctypeSubsetClosing[] = "]>";
constexpr ClearMarker kClearMarkers[] = {
    {"<![CDATA[", "]]>"},
    {"<!DOCTYPE", ">"},
    {kCommentOpening, "-->"},
    {"<PRE>", "</PRE>"},
};
constexpr int kDoctypeMarker = 1;

enum class TokenKind {
  kEnd,
  kClear,
  kQuoted,
  kShortClose,  // "/>"
  kEndTagOpen,  // "</"
  kDeclOpen,    // "<?"
  kTagOpen,     // "<"
  kEquals,
  kTagClose,  // ">"
  kText,
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::size_t begin = 0;       // start of the token in the text
  std::size_t valueBegin = 0;  // content of a text or quoted text (without quotes)
  std::size_t valueEnd = 0;
  std::size_t next = 0;  // first byte after the token
};

// How parsing an element's content ended.
enum class Outcome {
  kOpen,    // the start tag ended with ">": content follows
  kClosed,  // its end tag (or "/>") closed it
  kEnd,     // the text ended
  kEndTag,  // an end tag for an outer element arrived; pendingName_ names it
  kFatal,   // an error that stops the parse
};

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  XmlNode Run(const char* wanted, XmlResults& results);

 private:
  std::size_t Step(std::size_t pos) const {
    return std::min(pos + Utf8StepLength(static_cast<unsigned char>(text_[pos])), text_.size());
  }
  bool At(std::size_t pos, std::string_view what) const {
    return text_.substr(pos, what.size()) == what;
  }
  int MatchClear(std::size_t pos) const;
  Token NextToken(std::size_t pos) const;
  std::size_t FindMarkup(std::size_t pos) const;

  Outcome ParseContent(XmlNodeData& node, int depth);
  Outcome ParseChild(XmlNodeData& node, std::size_t markup, bool declaration, int depth);
  Outcome ParseEndTag(XmlNodeData& node, std::size_t markup);
  Outcome CloseWith(XmlNodeData& node, std::string_view tag, std::size_t markup);
  Outcome ParseTag(XmlNodeData& node, bool topLevel);
  bool ReadAttribute(XmlNodeData& node, const Token& name);
  bool ReadClear(XmlNodeData& node, int marker, std::size_t markup);
  bool StoreText(XmlNodeData& node, std::size_t begin, std::size_t end);
  bool Decode(std::string_view raw, std::size_t rawBegin, std::string& out);
  static void StripDeclarationMark(XmlNodeData& node);

  void Fail(int error, std::size_t pos);
  void MarkUnclosed(std::size_t pos);
  void FillResults(XmlResults& results) const;

  std::string_view text_;
  std::size_t pos_ = 0;
  int error_ = XML_ERROR_NONE;
  std::size_t errorPos_ = 0;
  std::string_view pendingName_;
  std::size_t pendingPos_ = 0;
};

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  return std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

int Reader::MatchClear(std::size_t pos) const {
  for (int i = 0; i < static_cast<int>(std::size(kClearMarkers)); ++i) {
    if (At(pos, kClearMarkers[i].opening)) return i;
  }
  return -1;
}

Token Reader::NextToken(std::size_t pos) const {
  while (pos < text_.size() && IsXmlSpace(text_[pos])) ++pos;
  Token token;
  token.begin = pos;
  token.next = pos;
  if (pos == text_.size()) return token;
  if (MatchClear(pos) >= 0) {
    token.kind = TokenKind::kClear;
    return token;
  }
  char c = text_[pos];
  if (c == '"' || c == '\'') {
    std::size_t q = Step(pos);
    while (q < text_.size() && text_[q] != c && text_[q] != '<') q = Step(q);
    if (q < text_.size() && text_[q] == c) {
      token.kind = TokenKind::kQuoted;
      token.valueBegin = pos + 1;
      token.valueEnd = q;
      token.next = q + 1;
      return token;
    }
    // An unclosed quote starts an ordinary text.
  } else {
    struct Symbol {
      std::string_view text;
      TokenKind kind;
    };
    static constexpr Symbol kSymbols[] = {
        {"/>", TokenKind::kShortClose}, {"</", TokenKind::kEndTagOpen},
        {"<?", TokenKind::kDeclOpen},   {"<", TokenKind::kTagOpen},
        {"=", TokenKind::kEquals},      {">", TokenKind::kTagClose},
    };
    for (const Symbol& symbol : kSymbols) {
      if (At(pos, symbol.text)) {
        token.kind = symbol.kind;
        token.next = pos + symbol.text.size();
        return token;
      }
    }
  }
  std::size_t q = pos;
  while (q < text_.size() && !IsXmlSpace(text_[q]) && text_[q] != '<' && text_[q] != '>' &&
         text_[q] != '=' && !At(q, "/>")) {
    q = Step(q);
  }
  token.kind = TokenKind::kText;
  token.valueBegin = pos;
  token.valueEnd = q;
  token.next = q;
  return token;
}

std::size_t Reader::FindMarkup(std::size_t pos) const {
  while (pos < text_.size() && text_[pos] != '<') pos = Step(pos);
  return pos;
}

void Reader::Fail(int error, std::size_t pos) {
  error_ = error;
  errorPos_ = pos;
}

void Reader::MarkUnclosed(std::size_t pos) {
  if (error_ != XML_ERROR_NONE) return;
  error_ = XML_ERROR_UNCLOSED;
  errorPos_ = pos;
}

bool Reader::Decode(std::string_view raw, std::size_t rawBegin, std::string& out) {
  std::size_t offset = 0;
  int error = DecodeXmlEntities(raw, out, offset);
  if (error == XML_ERROR_NONE) return true;
  Fail(error, rawBegin + offset);
  return false;
}

bool Reader::StoreText(XmlNodeData& node, std::size_t begin, std::size_t end) {
  std::string_view raw = TrimXmlSpace(text_.substr(begin, end - begin));
  if (raw.empty()) return true;
  std::string decoded;
  if (!Decode(raw, static_cast<std::size_t>(raw.data() - text_.data()), decoded)) return false;

  // A comment inside a text does not split it: "a<!-- c -->b" reads as "ab".
  std::size_t items = node.order.size();
  if (items >= 2 && node.order[items - 1] % 4 == XML_ORDER_CLEAR &&
      node.clearSections.back().opening == kCommentOpening &&
      node.order[items - 2] % 4 == XML_ORDER_TEXT) {
    node.clearSections.pop_back();
    node.order.pop_back();
    node.texts[static_cast<std::size_t>(node.order.back() / 4)] += decoded;
    return true;
  }
  node.order.push_back(static_cast<std::int32_t>(node.texts.size() * 4 + XML_ORDER_TEXT));
  node.texts.push_back(std::move(decoded));
  return true;
}

bool Reader::ReadClear(XmlNodeData& node, int marker, std::size_t markup) {
  const ClearMarker& clear = kClearMarkers[marker];
  std::size_t contentBegin = markup + clear.opening.size();
  const char* closing = clear.closing;
  if (marker == kDoctypeMarker) {
    // An internal subset ("<!DOCTYPE x [ <!ENTITY ...> ]>") ends at "]>", not at its first ">".
    std::size_t firstClose = text_.find('>', contentBegin);
    std::size_t firstOpen = text_.find('<', contentBegin);
    if (firstOpen < firstClose) closing = kDoctypeSubsetClosing;
  }
  std::size_t contentEnd = text_.find(closing, contentBegin);
  if (contentEnd == std::string_view::npos) {
    Fail(XML_ERROR_UNCLOSED_CLEAR, markup);
    return false;
  }
  node.order.push_back(static_cast<std::int32_t>(node.clearSections.size() * 4 + XML_ORDER_CLEAR));
  node.clearSections.push_back(
      XmlClearSection{std::string(text_.substr(contentBegin, contentEnd - contentBegin)),
                      clear.opening.data(), closing});
  pos_ = contentEnd + std::strlen(closing);
  return true;
}

void Reader::StripDeclarationMark(XmlNodeData& node) {
  auto strip = [](std::string& s) {
    if (!s.empty() && s.back() == '?') s.pop_back();
  };
  if (node.attributes.empty()) {
    strip(node.name);
    return;
  }
  XmlAttribute& last = node.attributes.back();
  if (last.hasValue) {
    strip(last.value);
    return;
  }
  strip(last.name);
  if (last.name.empty()) node.attributes.pop_back();  // a lone "?" before "?>"
}

bool Reader::ReadAttribute(XmlNodeData& node, const Token& name) {
  XmlAttribute attribute;
  attribute.name = std::string(text_.substr(name.valueBegin, name.valueEnd - name.valueBegin));
  pos_ = name.next;
  Token equals = NextToken(pos_);
  if (equals.kind == TokenKind::kEquals) {
    Token value = NextToken(equals.next);
    if (value.kind != TokenKind::kText && value.kind != TokenKind::kQuoted) {
      Fail(XML_ERROR_UNEXPECTED_TOKEN, value.begin);
      return false;
    }
    std::string_view raw = text_.substr(value.valueBegin, value.valueEnd - value.valueBegin);
    if (!Decode(raw, value.valueBegin, attribute.value)) return false;
    attribute.hasValue = true;
    pos_ = value.next;
  }
  node.attributes.push_back(std::move(attribute));
  return true;
}

Outcome Reader::ParseTag(XmlNodeData& node, bool topLevel) {
  for (;;) {
    Token token = NextToken(pos_);
    switch (token.kind) {
      case TokenKind::kText:
        if (!ReadAttribute(node, token)) return Outcome::kFatal;
        break;
      case TokenKind::kTagClose:
        pos_ = token.next;
        if (!node.isDeclaration) return Outcome::kOpen;
        StripDeclarationMark(node);
        // A top-level declaration stays open: the document's elements become its children.
        return topLevel ? Outcome::kOpen : Outcome::kClosed;
      case TokenKind::kShortClose:
        pos_ = token.next;
        if (node.isDeclaration) StripDeclarationMark(node);
        return Outcome::kClosed;
      case TokenKind::kEnd:
        MarkUnclosed(token.begin);
        return Outcome::kEnd;
      default:
        Fail(XML_ERROR_UNEXPECTED_TOKEN, token.begin);
        return Outcome::kFatal;
    }
  }
}

Outcome Reader::ParseChild(XmlNodeData& node, std::size_t markup, bool declaration, int depth) {
  Token name = NextToken(markup + (declaration ? 2 : 1));
  if (name.kind != TokenKind::kText) {
    Fail(XML_ERROR_MISSING_NAME, name.begin);
    return Outcome::kFatal;
  }
  if (depth >= kXmlMaxDepth) {
    Fail(XML_ERROR_TOO_DEEP, markup);
    return Outcome::kFatal;
  }
  auto child = std::make_shared<XmlNodeData>();
  child->hasName = true;
  child->name = std::string(text_.substr(name.valueBegin, name.valueEnd - name.valueBegin));
  child->isDeclaration = declaration;
  node.order.push_back(static_cast<std::int32_t>(node.children.size() * 4 + XML_ORDER_CHILD));
  node.children.emplace_back(child);
  pos_ = name.next;

  Outcome tag = ParseTag(*child, !node.hasName);
  return tag == Outcome::kOpen ? ParseContent(*child, depth + 1) : tag;
}

Outcome Reader::CloseWith(XmlNodeData& node, std::string_view tag, std::size_t markup) {
  if (node.hasName && NamesEqual(tag, node.name)) return Outcome::kClosed;
  if (!node.hasName) {
    Fail(XML_ERROR_UNMATCHED_END_TAG, markup);
    return Outcome::kFatal;
  }
  // The end tag belongs further out: this element closes implicitly and the tag moves up.
  MarkUnclosed(markup);
  pendingName_ = tag;
  pendingPos_ = markup;
  return Outcome::kEndTag;
}

Outcome Reader::ParseEndTag(XmlNodeData& node, std::size_t markup) {
  Token name = NextToken(markup + 2);
  Token close = NextToken(name.next);
  if (name.kind != TokenKind::kText || close.kind != TokenKind::kTagClose) {
    Fail(XML_ERROR_BAD_END_TAG, name.kind != TokenKind::kText ? name.begin : close.begin);
    return Outcome::kFatal;
  }
  pos_ = close.next;
  return CloseWith(node, text_.substr(name.valueBegin, name.valueEnd - name.valueBegin), markup);
}

Outcome Reader::ParseContent(XmlNodeData& node, int depth) {
  std::size_t textBegin = pos_;
  for (;;) {
    std::size_t markup = FindMarkup(pos_);
    if (markup == text_.size()) {
      if (node.hasName && !node.isDeclaration) MarkUnclosed(markup);
      return StoreText(node, textBegin, markup) ? Outcome::kEnd : Outcome::kFatal;
    }
    if (!StoreText(node, textBegin, markup)) return Outcome::kFatal;

    Outcome outcome = Outcome::kClosed;
    int marker = MatchClear(markup);
    if (marker >= 0) {
      if (!ReadClear(node, marker, markup)) return Outcome::kFatal;
    } else if (At(markup, "</")) {
      return ParseEndTag(node, markup);
    } else {
      outcome = ParseChild(node, markup, At(markup, "<?"), depth);
      // An end tag that skipped the child may close this element as well.
      if (outcome == Outcome::kEndTag) return CloseWith(node, pendingName_, pendingPos_);
    }
    if (outcome != Outcome::kClosed) return outcome;
    textBegin = pos_;
  }
}

void Reader::FillResults(XmlResults& results) const {
  results.error = error_;
  results.line = 0;
  results.column = 0;
  if (error_ == XML_ERROR_NONE) return;
  results.line = 1;
  results.column = 1;
  for (std::size_t pos = 0; pos < errorPos_ && pos < text_.size(); pos = Step(pos)) {
    if (text_[pos] == '\n') {
      ++results.line;
      results.column = 1;
    } else {
      ++results.column;
    }
  }
}

XmlNode Reader::Run(const char* wanted, XmlResults& results) {
  auto top = std::make_shared<XmlNodeData>();
  Outcome outcome = ParseContent(*top, 0);
  if (outcome != Outcome::kFatal && top->children.empty()) {
    Fail(XML_ERROR_NO_ELEMENT, text_.size());
  }
  FillResults(results);
  if (error_ != XML_ERROR_NONE && error_ != XML_ERROR_UNCLOSED && error_ != XML_ERROR_NO_ELEMENT) {
    return XmlNode();
  }

  XmlNode result(top);
  if (top->children.size() == 1 && top->texts.empty() && top->clearSections.empty()) {
    result = top->children.front();
  }
  if (wanted != nullptr && !XmlNamesEqual(Name(result), wanted)) {
    result = Child(result, wanted);
    if (result.IsEmpty()) results = XmlResults{XML_ERROR_TOP_NOT_FOUND, 0, 0};
  }
  return result;
}

}  // namespace

XmlNode Parse(const char* text, const char* wanted, XmlResults& results) {
  if (text == nullptr) {
    results = XmlResults{XML_ERROR_NO_INPUT, 0, 0};
    return XmlNode();
  }
  Reader reader{std::string_view(text)};
  return reader.Run(wanted, results);
}
