#pragma once
// Writes one JSON document to a stream, for scripts reading the tool's output. Commas and quoting
// are the writer's business; the caller says what goes where.

#include <cstdio>
#include <vector>

// The format of the tool's documents, their "version": raised when a key changes meaning.
constexpr int kJsonDocumentVersion = 1;

class JsonWriter {
 public:
  explicit JsonWriter(std::FILE* out) : out_(out) {}

  // Opens the document's outer object and writes its "version" first.
  void BeginDocument();

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // Names the next value inside an object.
  void Key(const char* key);

  void String(const char* text);
  void Integer(long long value);
  // A number with `decimals` digits after the point.
  void Number(double value, int decimals);
  void Bool(bool value);
  void Null();

  // Ends the document with a line break.
  void Finish();

 private:
  void BeforeValue();

  std::FILE* out_;
  // Per open object or array: whether it holds a value yet.
  std::vector<bool> filled_;
  bool afterKey_ = false;
};
