#include "online/xml_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

XmlNode ParseOk(const char* text, const char* wanted = nullptr) {
  XmlResults results;
  XmlNode node = Parse(text, wanted, results);
  EXPECT_EQ(results.error, XML_ERROR_NONE) << "at " << results.line << ":" << results.column;
  return node;
}

XmlResults ParseError(const char* text, const char* wanted = nullptr) {
  XmlResults results;
  XmlNode node = Parse(text, wanted, results);
  if (results.error != XML_ERROR_UNCLOSED && results.error != XML_ERROR_NO_ELEMENT) {
    EXPECT_TRUE(node.IsEmpty()) << "error " << results.error << " must give an empty handle";
  }
  return results;
}

std::string TextOf(const XmlNode& node, const char* child, int i = 0) {
  const char* text = Text(Child(node, child), i);
  return text != nullptr ? text : "(null)";
}

TEST(XmlReaderDocument, DeclarationThenElementGivesTheWantedElement) {
  XmlNode root = ParseOk(
      "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<settings><a>1</a></settings>", "settings");
  ASSERT_FALSE(root.IsEmpty());
  EXPECT_STREQ(Name(root), "settings");
  EXPECT_EQ(TextOf(root, "a"), "1");
}

TEST(XmlReaderDocument, TopLevelDeclarationHoldsTheDocumentAndLosesItsQuestionMark) {
  XmlNode declaration = ParseOk("<?xml version=\"1.0\" standalone=yes?><root/>");
  ASSERT_FALSE(declaration.IsEmpty());
  const XmlNodeData* data = declaration.Data();
  EXPECT_STREQ(Name(declaration), "xml");
  EXPECT_TRUE(data->isDeclaration);
  ASSERT_EQ(data->attributes.size(), 2u);
  EXPECT_EQ(data->attributes[0].name, "version");
  EXPECT_EQ(data->attributes[0].value, "1.0");
  EXPECT_EQ(data->attributes[1].value, "yes");
  EXPECT_EQ(Count(declaration, "root"), 1);

  // With a space before "?>" the lone "?" is not kept as an attribute.
  XmlNode spaced = ParseOk("<?xml version=\"1.0\" ?><root/>");
  EXPECT_EQ(spaced.Data()->attributes.size(), 1u);
}

TEST(XmlReaderDocument, InnerDeclarationClosesAtItsBracket) {
  XmlNode root = ParseOk("<root><?pi data?><a>x</a></root>");
  EXPECT_EQ(Count(root, "pi"), 1);
  EXPECT_EQ(Count(Child(root, "pi"), "a"), 0);
  EXPECT_EQ(TextOf(root, "a"), "x");
}

TEST(XmlReaderDocument, ElementNamesMatchInAnyLetterCase) {
  XmlNode root = ParseOk("<Settings><VERSION>7</version><Preset/><preset/></SETTINGS>", "settings");
  EXPECT_EQ(TextOf(root, "Version"), "7");
  EXPECT_EQ(Count(root, "PRESET"), 2);
  EXPECT_FALSE(Child(root, "preset", 1).IsEmpty());
  EXPECT_TRUE(Child(root, "preset", 2).IsEmpty());
}

TEST(XmlReaderDocument, AttributesWithAndWithoutValues) {
  XmlNode node = ParseOk("<a one='1' two=\"&lt;2&gt;\" three four=bare/>");
  const XmlNodeData* data = node.Data();
  ASSERT_EQ(data->attributes.size(), 4u);
  EXPECT_EQ(data->attributes[0].value, "1");
  EXPECT_EQ(data->attributes[1].value, "<2>");
  EXPECT_EQ(data->attributes[2].name, "three");
  EXPECT_FALSE(data->attributes[2].hasValue);
  EXPECT_EQ(data->attributes[3].value, "bare");
}

TEST(XmlReaderDocument, OrderRecordsChildrenTextsAndClearSections) {
  XmlNode node = ParseOk("<a>t1<b/><![CDATA[x]]>t2</a>");
  const XmlNodeData* data = node.Data();
  ASSERT_EQ(data->order.size(), 4u);
  EXPECT_EQ(data->order[0], 0 * 4 + XML_ORDER_TEXT);
  EXPECT_EQ(data->order[1], 0 * 4 + XML_ORDER_CHILD);
  EXPECT_EQ(data->order[2], 0 * 4 + XML_ORDER_CLEAR);
  EXPECT_EQ(data->order[3], 1 * 4 + XML_ORDER_TEXT);
}

TEST(XmlReaderDocument, SeveralTopElementsStayUnderAnUnnamedNode) {
  XmlNode top = ParseOk("<a/><b/>");
  EXPECT_EQ(Name(top), nullptr);
  EXPECT_EQ(Count(top, "a"), 1);
  EXPECT_EQ(Count(top, "b"), 1);
  XmlNode b = ParseOk("<a/><b>x</b>", "b");
  EXPECT_STREQ(Name(b), "b");
}

TEST(XmlReaderDocument, HandlesShareNodesBeyondTheDocument) {
  XmlNode child;
  {
    XmlNode root = ParseOk("<root><item>kept</item></root>");
    child = Child(root, "item");
  }
  EXPECT_STREQ(Text(child, 0), "kept");
  XmlNode copy = child;
  child = XmlNode();
  EXPECT_STREQ(Text(copy, 0), "kept");
}

TEST(XmlReaderDocument, EmptyHandleQueriesGiveNothing) {
  XmlNode empty;
  EXPECT_TRUE(Child(empty, "a").IsEmpty());
  EXPECT_EQ(Count(empty, "a"), 0);
  EXPECT_EQ(Text(empty, 0), nullptr);
  EXPECT_EQ(Name(empty), nullptr);
  XmlNode node = ParseOk("<a>x</a>");
  EXPECT_EQ(Text(node, 1), nullptr);
  EXPECT_EQ(Text(node, -1), nullptr);
  EXPECT_TRUE(Child(node, "a", -1).IsEmpty());
}

TEST(XmlReaderText, EntitiesDecode) {
  XmlNode node = ParseOk("<a>&#65;&#x41;&#X41;&AMP;&lt;&gt;&quot;&apos;&#233;</a>");
  EXPECT_STREQ(Text(node, 0), "AAA&<>\"'\xE9");
}

TEST(XmlReaderText, CommentInsideTextJoinsTheParts) {
  XmlNode node = ParseOk("<a>a<!-- note -->b</a>");
  EXPECT_STREQ(Text(node, 0), "ab");
  EXPECT_EQ(Text(node, 1), nullptr);
  EXPECT_TRUE(node.Data()->clearSections.empty());
  EXPECT_EQ(node.Data()->order.size(), 1u);
}

TEST(XmlReaderText, CommentAfterAChildIsKept) {
  XmlNode node = ParseOk("<a><b/><!-- note -->b</a>");
  ASSERT_EQ(node.Data()->clearSections.size(), 1u);
  EXPECT_EQ(node.Data()->clearSections[0].content, " note ");
  EXPECT_STREQ(Text(node, 0), "b");
}

TEST(XmlReaderText, WhiteSpaceOnlyTextIsDropped) {
  XmlNode node = ParseOk("<a> \t\r\n <b/>\n  </a>");
  EXPECT_EQ(Text(node, 0), nullptr);
  XmlNode trimmed = ParseOk("<a>\n  two words \t</a>");
  EXPECT_STREQ(Text(trimmed, 0), "two words");
}

TEST(XmlReaderText, TextKeepsQuotesEqualsAndClosingMarks) {
  XmlNode node = ParseOk("<a>x = \"y\" > z/> 'q</a>");
  EXPECT_STREQ(Text(node, 0), "x = \"y\" > z/> 'q");
}

TEST(XmlReaderText, ClearSectionsKeepTheirRawContent) {
  XmlNode node = ParseOk(
      "<a><![CDATA[<b>&amp;]]><!DOCTYPE note><!DOCTYPE x [<!ENTITY e \"v\">]><PRE>&lt;</PRE></a>");
  const auto& clear = node.Data()->clearSections;
  ASSERT_EQ(clear.size(), 4u);
  EXPECT_EQ(clear[0].content, "<b>&amp;");
  EXPECT_STREQ(clear[0].opening, "<![CDATA[");
  EXPECT_STREQ(clear[0].closing, "]]>");
  EXPECT_EQ(clear[1].content, " note");
  EXPECT_STREQ(clear[1].closing, ">");
  EXPECT_EQ(clear[2].content, " x [<!ENTITY e \"v\">");
  EXPECT_STREQ(clear[2].closing, "]>");
  EXPECT_EQ(clear[3].content, "&lt;");
}

TEST(XmlReaderText, Utf8TextIsCopiedUnchanged) {
  XmlNode node = ParseOk("<a>caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8F\x81</a>");
  EXPECT_STREQ(Text(node, 0), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8F\x81");
}

TEST(XmlReaderErrors, NoInputAndNoElement) {
  XmlResults none = ParseError(nullptr);
  EXPECT_EQ(none.error, XML_ERROR_NO_INPUT);
  EXPECT_EQ(none.line, 0);
  EXPECT_EQ(none.column, 0);

  XmlResults results;
  XmlNode node = Parse("just text", nullptr, results);
  EXPECT_EQ(results.error, XML_ERROR_NO_ELEMENT);
  EXPECT_STREQ(Text(node, 0), "just text");
  EXPECT_EQ(ParseError("").error, XML_ERROR_NO_ELEMENT);
  EXPECT_EQ(ParseError("just text", "settings").error, XML_ERROR_TOP_NOT_FOUND);
}

TEST(XmlReaderErrors, MissingInnerEndTagIsClosedByTheParent) {
  XmlResults results;
  XmlNode root = Parse("<root>\n<a><b>x</a>\n<c>y</c></root>", nullptr, results);
  EXPECT_EQ(results.error, XML_ERROR_UNCLOSED);
  EXPECT_EQ(results.line, 2);
  EXPECT_EQ(results.column, 8);
  ASSERT_FALSE(root.IsEmpty());
  EXPECT_EQ(TextOf(Child(root, "a"), "b"), "x");
  EXPECT_EQ(TextOf(root, "c"), "y");
}

TEST(XmlReaderErrors, EndTagCanCloseSeveralLevels) {
  XmlResults results;
  XmlNode root = Parse("<r><a><b><c>deep</a><d/></r>", nullptr, results);
  EXPECT_EQ(results.error, XML_ERROR_UNCLOSED);
  EXPECT_EQ(Count(root, "a"), 1);
  EXPECT_EQ(Count(root, "d"), 1);
  EXPECT_EQ(TextOf(Child(Child(root, "a"), "b"), "c"), "deep");
}

TEST(XmlReaderErrors, InputEndingInsideAnElement) {
  XmlResults results;
  XmlNode root = Parse("<a><b>x", nullptr, results);
  EXPECT_EQ(results.error, XML_ERROR_UNCLOSED);
  EXPECT_EQ(results.column, 8);
  EXPECT_EQ(TextOf(root, "b"), "x");
  EXPECT_EQ(ParseError("<a b='1'").error, XML_ERROR_UNCLOSED);
}

TEST(XmlReaderErrors, CodesForBrokenMarkup) {
  struct Case {
    const char* text;
    int error;
    int line;
    int column;
  };
  const Case cases[] = {
      {"<a>< >", XML_ERROR_MISSING_NAME, 1, 6},
      {"<a><?>", XML_ERROR_MISSING_NAME, 1, 6},
      {"<a><'b'>", XML_ERROR_MISSING_NAME, 1, 5},
      {"<a></>", XML_ERROR_BAD_END_TAG, 1, 6},
      {"<a></a", XML_ERROR_BAD_END_TAG, 1, 7},
      {"<a></a b>", XML_ERROR_BAD_END_TAG, 1, 8},
      {"<a/></a>", XML_ERROR_UNMATCHED_END_TAG, 1, 5},
      {"</a>", XML_ERROR_UNMATCHED_END_TAG, 1, 1},
      {"<a>\n<!-- open", XML_ERROR_UNCLOSED_CLEAR, 2, 1},
      {"<a><![CDATA[x]>", XML_ERROR_UNCLOSED_CLEAR, 1, 4},
      {"<a b=>", XML_ERROR_UNEXPECTED_TOKEN, 1, 6},
      {"<a <b>", XML_ERROR_UNEXPECTED_TOKEN, 1, 4},
      {"<a 'b'>", XML_ERROR_UNEXPECTED_TOKEN, 1, 4},
      {"<a>\n  x &nbsp; y</a>", XML_ERROR_UNKNOWN_ENTITY, 2, 5},
      {"<a>&amp</a>", XML_ERROR_UNKNOWN_ENTITY, 1, 4},
      {"<a>&#12a;</a>", XML_ERROR_UNKNOWN_ENTITY, 1, 4},
      {"<a>&#;</a>", XML_ERROR_UNKNOWN_ENTITY, 1, 4},
      {"<a>&#x;</a>", XML_ERROR_UNKNOWN_ENTITY, 1, 4},
      {"<a>&#65</a>", XML_ERROR_UNKNOWN_ENTITY, 1, 4},
      {"<a b='&bad;'/>", XML_ERROR_UNKNOWN_ENTITY, 1, 7},
      {"<a>&#256;</a>", XML_ERROR_CHAR_TOO_LARGE, 1, 4},
      {"<a>&#x100;</a>", XML_ERROR_CHAR_TOO_LARGE, 1, 4},
      {"<a>&#99999999999999999999999;</a>", XML_ERROR_CHAR_TOO_LARGE, 1, 4},
  };
  for (const Case& c : cases) {
    XmlResults results = ParseError(c.text);
    EXPECT_EQ(results.error, c.error) << c.text;
    EXPECT_EQ(results.line, c.line) << c.text;
    EXPECT_EQ(results.column, c.column) << c.text;
  }
}

TEST(XmlReaderErrors, ColumnsCountCharactersNotBytes) {
  XmlResults results = ParseError("<a>\xC3\xA9\xE2\x82\xAC&x;</a>");
  EXPECT_EQ(results.error, XML_ERROR_UNKNOWN_ENTITY);
  EXPECT_EQ(results.column, 6);
}

TEST(XmlReaderErrors, TruncatedUtf8AtTheEndDoesNotReadPastIt) {
  XmlResults results;
  Parse("<a>\xF0\x9F", nullptr, results);
  EXPECT_EQ(results.error, XML_ERROR_UNCLOSED);
}

TEST(XmlReaderErrors, WantedElementMissing) {
  XmlResults results;
  XmlNode node = Parse("<other><x/></other>", "settings", results);
  EXPECT_TRUE(node.IsEmpty());
  EXPECT_EQ(results.error, XML_ERROR_TOP_NOT_FOUND);
  EXPECT_EQ(results.line, 0);
}

TEST(XmlReaderErrors, DeepNestingIsRefusedNotOverflowed) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  XmlResults results = ParseError(deep.c_str());
  EXPECT_EQ(results.error, XML_ERROR_TOO_DEEP);
  EXPECT_EQ(results.column, kXmlMaxDepth * 3 + 1);

  std::string allowed;
  for (int i = 0; i < kXmlMaxDepth; ++i) allowed += "<a>";
  for (int i = 0; i < kXmlMaxDepth; ++i) allowed += "</a>";
  XmlNode node = ParseOk(allowed.c_str());
  EXPECT_FALSE(node.IsEmpty());
}

}  // namespace
