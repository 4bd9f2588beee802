// Feeds arbitrary bytes to the XML reader and walks whatever tree comes back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "online/xml_reader.h"

namespace {

// Touches every item of the subtree so the sanitizers see any bad memory.
std::size_t Walk(const XmlNode& node, int depth) {
  const XmlNodeData* data = node.Data();
  if (data == nullptr) return 0;
  if (depth > kXmlMaxDepth) std::abort();
  std::size_t total = data->name.size();
  for (int i = 0; Text(node, i) != nullptr; ++i) total += std::strlen(Text(node, i));
  for (const XmlClearSection& clear : data->clearSections) {
    total += clear.content.size() + std::strlen(clear.opening) + std::strlen(clear.closing);
  }
  for (const XmlAttribute& attribute : data->attributes) total += attribute.value.size();
  for (std::int32_t entry : data->order) {
    std::size_t index = static_cast<std::size_t>(entry / 4);
    std::size_t limit = entry % 4 == XML_ORDER_CHILD  ? data->children.size()
                        : entry % 4 == XML_ORDER_TEXT ? data->texts.size()
                                                      : data->clearSections.size();
    if (index >= limit) std::abort();
  }
  for (const XmlNode& child : data->children) {
    if (Count(node, Name(child)) < 1) std::abort();
    total += Walk(child, depth + 1);
  }
  return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  for (const char* wanted : {static_cast<const char*>(nullptr), "settings"}) {
    XmlResults results;
    XmlNode node = Parse(text.c_str(), wanted, results);
    bool usable = results.error == XML_ERROR_NONE || results.error == XML_ERROR_UNCLOSED ||
                  results.error == XML_ERROR_NO_ELEMENT;
    if (!usable && !node.IsEmpty()) std::abort();
    if (results.error != XML_ERROR_NONE && results.error != XML_ERROR_TOP_NOT_FOUND &&
        (results.line < 1 || results.column < 1)) {
      std::abort();
    }
    Walk(node, 0);
  }
  return 0;
}
