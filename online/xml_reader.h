#pragma once
// A small, forgiving XML reader: one pass over a text in memory builds the whole tree and reports
// the first error with its line and column. It does not validate, resolves no external entities
// and keeps no namespaces. The reader shows and logs nothing.

#include "online/xml_node.h"

enum XmlError : int {
  XML_ERROR_NONE = 0,
  XML_ERROR_UNCLOSED = 1,           // input ends inside an element, or an end tag skips one
  XML_ERROR_NO_ELEMENT = 2,         // the input holds no element
  XML_ERROR_MISSING_NAME = 4,       // "<" or "<?" not followed by a name
  XML_ERROR_BAD_END_TAG = 5,        // "</" not followed by a name and ">"
  XML_ERROR_UNMATCHED_END_TAG = 6,  // an end tag that matches no open element
  XML_ERROR_UNCLOSED_CLEAR = 7,     // a clear section without its closing text
  XML_ERROR_UNEXPECTED_TOKEN = 8,   // an unexpected token inside a tag
  XML_ERROR_NO_INPUT = 9,           // no text at all
  XML_ERROR_TOP_NOT_FOUND = 11,     // the wanted top element is not in the document
  XML_ERROR_UNKNOWN_ENTITY = 12,    // an entity outside the table, or a bad digit in a number
  XML_ERROR_CHAR_TOO_LARGE = 13,    // a numeric entity of 256 or more
  XML_ERROR_TOO_DEEP = 14,          // elements nested deeper than kXmlMaxDepth
};

// Deepest element nesting the reader accepts; it recurses once per level.
constexpr int kXmlMaxDepth = 256;

struct XmlResults {
  int error = XML_ERROR_NONE;
  int line = 0;    // from 1 when error is not 0; a line feed starts a new line
  int column = 0;  // from 1, counted in characters
};

// Parses text (null: error 9) and returns its top node: the only element when the document holds
// nothing else, else an unnamed node holding everything. When wanted is not null and differs from
// the top node's name, returns the top node's first child of that name instead (error 11 and an
// empty handle when there is none). Errors other than 1 and 2 give an empty handle.
XmlNode Parse(const char* text, const char* wanted, XmlResults& results);
