#pragma once
// A node of a parsed XML document and the handle that shares it. Copying a handle adds a
// reference; dropping the last reference to a node frees it with its whole subtree. Every query
// on an empty handle returns an empty handle, a null text or 0. Names compare without regard to
// letter case (ASCII).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct XmlNodeData;

class XmlNode {
 public:
  XmlNode() = default;
  explicit XmlNode(std::shared_ptr<XmlNodeData> data) : data_(std::move(data)) {}

  // True when the handle refers to no node.
  bool IsEmpty() const { return data_ == nullptr; }
  // The node's data, or null for an empty handle.
  const XmlNodeData* Data() const { return data_.get(); }

 private:
  std::shared_ptr<XmlNodeData> data_;
};

// Kinds of the document-order entries: entry = index * 4 + kind.
enum XmlOrderKind : std::int32_t {
  XML_ORDER_CHILD = 0,
  XML_ORDER_TEXT = 2,
  XML_ORDER_CLEAR = 3,
};

// An attribute; hasValue is false for one written without "=".
struct XmlAttribute {
  std::string name;
  bool hasValue = false;
  std::string value;
};

// Raw text kept between a pair of markers such as "<!--" and "-->".
struct XmlClearSection {
  std::string content;
  const char* opening = nullptr;  // points into the reader's constant marker table
  const char* closing = nullptr;
};

struct XmlNodeData {
  bool hasName = false;  // false only for the unnamed top node
  std::string name;
  bool isDeclaration = false;      // opened with "<?"
  std::vector<XmlNode> children;   // element children in document order
  std::vector<std::string> texts;  // entity-decoded, trimmed
  std::vector<XmlClearSection> clearSections;
  std::vector<XmlAttribute> attributes;
  std::vector<std::int32_t> order;  // children, texts and clear sections in document order
};

// True when the two names are equal without regard to ASCII letter case.
bool XmlNamesEqual(const char* a, const char* b);

// The node's name, or null for the unnamed top node or an empty handle.
const char* Name(const XmlNode& node);
// The first element child with that name, or an empty handle.
XmlNode Child(const XmlNode& node, const char* name);
// The i-th (from 0) element child with that name, or an empty handle.
XmlNode Child(const XmlNode& node, const char* name, int i);
// The number of element children with that name.
int Count(const XmlNode& node, const char* name);
// The i-th text item, or null when there are fewer.
const char* Text(const XmlNode& node, int i);
