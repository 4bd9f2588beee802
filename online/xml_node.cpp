#include "online/xml_node.h"

namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool XmlNamesEqual(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  while (*a != '\0' && LowerAscii(*a) == LowerAscii(*b)) {
    ++a;
    ++b;
  }
  return *a == '\0' && *b == '\0';
}

const char* Name(const XmlNode& node) {
  const XmlNodeData* data = node.Data();
  return (data != nullptr && data->hasName) ? data->name.c_str() : nullptr;
}

XmlNode Child(const XmlNode& node, const char* name) {
  return Child(node, name, 0);
}

XmlNode Child(const XmlNode& node, const char* name, int i) {
  const XmlNodeData* data = node.Data();
  if (data == nullptr || i < 0) return XmlNode();
  for (const XmlNode& child : data->children) {
    if (XmlNamesEqual(Name(child), name) && i-- == 0) return child;
  }
  return XmlNode();
}

int Count(const XmlNode& node, const char* name) {
  const XmlNodeData* data = node.Data();
  if (data == nullptr) return 0;
  int count = 0;
  for (const XmlNode& child : data->children) {
    if (XmlNamesEqual(Name(child), name)) ++count;
  }
  return count;
}

const char* Text(const XmlNode& node, int i) {
  const XmlNodeData* data = node.Data();
  if (data == nullptr || i < 0 || static_cast<std::size_t>(i) >= data->texts.size()) {
    return nullptr;
  }
  return data->texts[static_cast<std::size_t>(i)].c_str();
}
