#include "engine/full_path.h"

#include <cstring>

bool IsAbsoluteName(const char* name) {
  if (name == nullptr || name[0] == '\0') return false;
  return name[0] == '/' || name[0] == '\\' || name[1] == ':';
}

bool MakeFullPath(const char* folder, const char* name, char* out) {
  const char* head = IsAbsoluteName(name) ? "" : folder;
  const char* tail = name != nullptr ? name : "";
  const std::size_t headLength = std::strlen(head);
  const std::size_t tailLength = std::strlen(tail);
  if (headLength + tailLength >= kMaxPath) {
    out[0] = '\0';
    return false;
  }
  std::memcpy(out, head, headLength);
  std::memcpy(out + headLength, tail, tailLength + 1);
  for (char* c = out; *c != '\0'; ++c) {
    if (*c == '\\' || *c == '/') *c = kSeparator;
  }
  return true;
}
