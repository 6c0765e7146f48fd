#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/markup/MarkupScanner.h"

namespace trawlix::markup {
namespace {

std::string Narrow(std::u16string_view value) {
  std::string out;
  for (char16_t c : value) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Every token of `text` as "kind:detail", up to and including the first TokenEnd.
std::vector<std::string> Tokens(std::string_view text) {
  TextInputStream input(text);
  scanner sc(input);
  std::vector<std::string> out;
  for (int guard = 0; guard < 1000; ++guard) {
    const Token t = sc.GetToken();
    switch (t) {
      case TokenError:
        out.push_back("error");
        break;
      case TokenEnd:
        out.push_back("end");
        return out;
      case TokenTagStart:
        out.push_back("<" + std::string(sc.GetTagName()));
        break;
      case TokenTagEnd:
        out.push_back("/" + std::string(sc.GetTagName()));
        break;
      case TokenAttribute:
        out.push_back("@" + std::string(sc.GetAttrName()) + "=" + Narrow(sc.GetValue()));
        break;
      case TokenText:
        out.push_back("text:" + Narrow(sc.GetValue()));
        break;
      case TokenSpace:
        out.push_back("space");
        break;
      case TokenData:
        out.push_back("data:" + Narrow(sc.GetValue()));
        break;
      default:
        out.push_back("#" + std::to_string(static_cast<int>(t)));
        break;
    }
  }
  ADD_FAILURE() << "no end token";
  return out;
}

using V = std::vector<std::string>;

TEST(TextInputStream, WidensBySignExtensionAndStopsAtNul) {
  const std::string text("a\x80\xff\0b", 5);
  TextInputStream input(text);
  EXPECT_EQ(input.GetChar(), u'a');
  EXPECT_EQ(input.GetChar(), 0xFF80);
  EXPECT_EQ(input.GetChar(), 0xFFFF);
  EXPECT_EQ(input.GetChar(), 0);
  EXPECT_EQ(input.GetChar(), 0) << "nothing after a NUL byte is read";
}

struct Case {
  const char* markup;
  V tokens;
};

class ScannerTokens : public testing::TestWithParam<Case> {};

TEST_P(ScannerTokens, Match) {
  EXPECT_EQ(Tokens(GetParam().markup), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, ScannerTokens,
    testing::Values(
        Case{"<a href=\"x.jpg\">go</a>", V{"<a", "@href=x.jpg", "text:go", "/a", "end"}},
        Case{"<IMG SRC='P.JPG' alt = x>", V{"<IMG", "@SRC=P.JPG", "@alt=x", "end"}},
        // A start tag's ">" gives no token of its own: the body's next token follows at once.
        Case{"<p><b>", V{"<p", "<b", "end"}}, Case{"<br/>", V{"<br", "/br", "end"}},
        Case{"<img src=a.jpg />", V{"<img", "@src=a.jpg", "/img", "end"}},
        Case{"<input checked>", V{"<input", "@checked=", "end"}},
        Case{"<input checked disabled>", V{"<input", "@checked=", "@disabled=", "end"}},
        Case{"<a href = 'x' >", V{"<a", "@href=x", "end"}},
        Case{"<a href=x>", V{"<a", "@href=x", "end"}}, Case{"</a >", V{"/a", "end"}},
        Case{"</a b>", V{"error", "text:b>", "end"}}, Case{"<a", V{"error", "end"}},
        Case{"<a href=\"x", V{"<a", "error", "end"}}, Case{"<a href=x", V{"<a", "error", "end"}},
        Case{"<a / b>", V{"<a", "error", "@b=", "end"}},
        Case{"<a <b>", V{"<a", "error", "@b=", "end"}},
        Case{"<a href=\"&amp;&quot;\">", V{"<a", "@href=&amp;&quot;", "end"}}));

INSTANTIATE_TEST_SUITE_P(
    Text, ScannerTokens,
    testing::Values(Case{"hello  world", V{"text:hello", "space", "text:world", "end"}},
                    Case{"a&amp;b", V{"text:a", "text:&b", "end"}},
                    Case{"&lt;&gt;&apos;&quot;", V{"text:<", "text:>", "text:'", "text:\"", "end"}},
                    Case{"&#65;&#x42;", V{"text:A", "text:B", "end"}},
                    Case{"&nbsp;x", V{"text:&nbsp;x", "end"}},
                    Case{"&#99999999;", V{"text:&#99999999;", "end"}},
                    // An ampersand in running text leaves the markup after it alone.
                    Case{"Tom & Jerry <a href=x>",
                         V{"text:Tom", "space", "text:&", "space", "text:Jerry", "space", "<a",
                           "@href=x", "end"}},
                    Case{"AT&T<b>", V{"text:AT", "text:&T", "<b", "end"}},
                    Case{"a\t\r\n\fb", V{"text:a", "space", "text:b", "end"}}));

INSTANTIATE_TEST_SUITE_P(
    MarkedSections, ScannerTokens,
    testing::Values(
        Case{"<!-- <a href=x> -->t", V{"#7", "data: <a href=x> ", "#8", "text:t", "end"}},
        Case{"<!---->", V{"#7", "data:", "#8", "end"}},
        Case{"<![CDATA[a]>b]]>", V{"#9", "data:a]>b", "#10", "end"}},
        Case{"<?xml v='1'?>", V{"#11", "data:xml v='1'", "#12", "end"}},
        Case{"<!-- open", V{"#7", "end"}},
        // DOCTYPE: ">" inside quotes or nested "<...>" does not end it; lower case is a tag.
        Case{"<!DOCTYPE html [<!ENTITY a \"x>\">]>t",
             V{"#13", "data: html [<!ENTITY a \"x>\">]", "#14", "text:t", "end"}},
        Case{"<!doctype html>", V{"<!doctype", "@html=", "end"}}));

TEST(MarkupScanner, ValuesAndNamesKeepTheirLimits) {
  const std::string value(1500, 'v');
  const std::string name(200, 'n');
  const std::string markup = "<" + name + " " + name + "=\"" + value + "\">";
  TextInputStream input(markup);
  scanner sc(input);
  ASSERT_EQ(sc.GetToken(), TokenTagStart);
  EXPECT_EQ(sc.GetTagName(), std::string(127, 'n'));
  ASSERT_EQ(sc.GetToken(), TokenAttribute);
  EXPECT_EQ(sc.GetAttrName(), std::string(127, 'n'));
  EXPECT_EQ(sc.GetValue().size(), 1023u);
  EXPECT_EQ(sc.GetValue().data()[1023], 0) << "views are NUL-terminated";
  EXPECT_EQ(sc.GetToken(), TokenEnd);
}

TEST(MarkupScanner, LongSectionsComeInPiecesAndAMarkerSplitBetweenThemIsSeen) {
  // 1,022 units, then the end marker: the piece fills after its first "-".
  const std::string markup = "<!--" + std::string(1022, 'c') + "-->after";
  TextInputStream input(markup);
  scanner sc(input);
  ASSERT_EQ(sc.GetToken(), TokenCommentStart);
  ASSERT_EQ(sc.GetToken(), TokenData);
  EXPECT_EQ(sc.GetValue().size(), 1023u);
  ASSERT_EQ(sc.GetToken(), TokenData);
  EXPECT_EQ(sc.GetToken(), TokenCommentEnd);
  ASSERT_EQ(sc.GetToken(), TokenText);
  EXPECT_EQ(Narrow(sc.GetValue()), "after");
}

TEST(MarkupScanner, HighBytesNarrowBackToThemselves) {
  const std::string markup = "<a href=\"caf\xc3\xa9.jpg\">";
  TextInputStream input(markup);
  scanner sc(input);
  sc.GetToken();
  ASSERT_EQ(sc.GetToken(), TokenAttribute);
  std::string narrowed;
  for (char16_t c : sc.GetValue()) narrowed += static_cast<char>(c);
  EXPECT_EQ(narrowed, "caf\xc3\xa9.jpg");
}

class EntityScanner : public scanner {
 public:
  using scanner::scanner;

 protected:
  char16_t ResolveEntity(std::string_view name) override { return name == "nbsp" ? 0xA0 : 0; }
};

TEST(MarkupScanner, UnknownEntitiesAskTheResolver) {
  TextInputStream input("&nbsp;&bogus;");
  EntityScanner sc(input);
  ASSERT_EQ(sc.GetToken(), TokenText);
  EXPECT_EQ(sc.GetValue(), u"\u00a0");
  ASSERT_EQ(sc.GetToken(), TokenText);
  EXPECT_EQ(sc.GetValue(), u"&bogus;");
}

}  // namespace
}  // namespace trawlix::markup
