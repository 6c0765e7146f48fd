#include <gtest/gtest.h>

#include <tuple>

#include "exchange/ExchangeDescription.h"
#include "exchange/XmlWriter.h"

namespace trawlix::exchange {
namespace {

ImportedProject Project(int id, const std::string& title) {
  ImportedProject p;
  p.projectId = id;
  p.title = title;
  p.category = "Cats & Dogs";
  p.url = "http://a.example/?x=1&y=2";
  p.keywords = "k1, k2";
  p.namePrefix = "P_";
  std::tie(p.numPhotos, p.jpeg, p.tif, p.searchSubFolders, p.filterMinSize, p.minimumSize,
           p.padNumbers, p.padding) = std::make_tuple(12, true, true, true, true, 350, true, 3);
  return p;
}

TEST(ExchangeDescription, WritesTheExactLayout) {
  ExchangeHeader header;
  header.date = "Friday, January 09, 2026";
  header.description = "Q&A";
  header.name = "Ann";
  ImportedProject withLink = Project(4, "Tom & Jerry");
  withLink.links.push_back({4, 1, 0, "http://b.example/&", "w"});
  const ImportedProject noLinks = Project(9, "<b>");

  const std::string xml = WriteExchangeDescription(header, {withLink, noLinks}, "__tempExport.jpg");

  const std::string settingsTail =
      "\t\t\t\t<JPEG>1</JPEG>\r\n\t\t\t\t<PNG>0</PNG>\r\n\t\t\t\t<GIF>0</GIF>\r\n"
      "\t\t\t\t<TIF>1</TIF>\r\n\t\t\t\t<BMP>0</BMP>\r\n"
      "\t\t\t\t<SearchSubFolders>1</SearchSubFolders>\r\n"
      "\t\t\t\t<KeywordMustExist>0</KeywordMustExist>\r\n"
      "\t\t\t\t<FilterMinSize>1</FilterMinSize>\r\n\t\t\t\t<MinimumSize>350</MinimumSize>\r\n"
      "\t\t\t\t<CreateFolders>0</CreateFolders>\r\n\t\t\t\t<Orientation>0</Orientation>\r\n"
      "\t\t\t\t<AutoRename>0</AutoRename>\r\n\t\t\t\t<PadNumbers>1</PadNumbers>\r\n"
      "\t\t\t\t<Padding>3</Padding>\r\n";
  const std::string expected =
      "<?xml version=\"1.0\"?>\r\n"
      "<Trawlix Version=\"2.0\">\r\n"
      "\t<Header>\r\n"
      "\t\t<Platform>0</Platform>\r\n"
      "\t\t<Version>1</Version>\r\n"
      "\t\t<Projects>2</Projects>\r\n"
      "\t\t<Date>Friday, January 09, 2026</Date>\r\n"
      "\t\t<Description>Q&amp;A</Description>\r\n"
      "\t\t<Name>Ann</Name>\r\n"
      "\t\t<EmailAddress></EmailAddress>\r\n"
      "\t\t<Website></Website>\r\n"
      "\t\t<Photo>__tempExport.jpg</Photo>\r\n"
      "\t</Header>\r\n"
      "\t<Projects>\r\n"
      "\t\t<Project ProjectId=\"4\">\r\n"
      "\t\t\t<Settings>\r\n"
      "\t\t\t\t<ProjectId>4</ProjectId>\r\n"
      "\t\t\t\t<Category>Cats &amp; Dogs</Category>\r\n"
      "\t\t\t\t<Title>Tom &amp; Jerry</Title>\r\n"
      "\t\t\t\t<URL>http://a.example/?x=1&amp;y=2</URL>\r\n"
      "\t\t\t\t<Keywords>k1, k2</Keywords>\r\n"
      "\t\t\t\t<NamePrefix>P_</NamePrefix>\r\n" +
      settingsTail +
      "\t\t\t\t<NumLinks>1</NumLinks>\r\n"
      "\t\t\t\t<NumPhotos>12</NumPhotos>\r\n"
      "\t\t\t</Settings>\r\n"
      "\t\t\t<Links>\r\n"
      "\t\t\t\t<Link>\r\n"
      "\t\t\t\t\t<ProjectId>4</ProjectId>\r\n"
      "\t\t\t\t\t<SearchSubFolders>1</SearchSubFolders>\r\n"
      "\t\t\t\t\t<KeywordMustExist>0</KeywordMustExist>\r\n"
      "\t\t\t\t\t<URL>http://b.example/&amp;</URL>\r\n"
      "\t\t\t\t\t<Keywords>w</Keywords>\r\n"
      "\t\t\t\t</Link>\r\n"
      "\t\t\t</Links>\r\n"
      "\t\t</Project>\r\n"
      "\t\t<Project ProjectId=\"9\">\r\n"
      "\t\t\t<Settings>\r\n"
      "\t\t\t\t<ProjectId>9</ProjectId>\r\n"
      "\t\t\t\t<Category>Cats &amp; Dogs</Category>\r\n"
      "\t\t\t\t<Title>&lt;b&gt;</Title>\r\n"
      "\t\t\t\t<URL>http://a.example/?x=1&amp;y=2</URL>\r\n"
      "\t\t\t\t<Keywords>k1, k2</Keywords>\r\n"
      "\t\t\t\t<NamePrefix>P_</NamePrefix>\r\n" +
      settingsTail +
      "\t\t\t\t<NumLinks>0</NumLinks>\r\n"
      "\t\t\t\t<NumPhotos>12</NumPhotos>\r\n"
      "\t\t\t</Settings>\r\n"
      "\t\t\t<Links>\r\n"
      "\t\t\t</Links>\r\n"
      "\t\t</Project>\r\n"
      "\t</Projects>\r\n"
      "</Trawlix>";
  EXPECT_EQ(xml, expected);
}

TEST(ExchangeDescription, LeavesOutThePhotoElementWithoutPhoto) {
  const std::string xml = WriteExchangeDescription({}, {}, "");
  EXPECT_EQ(xml.find("<Photo>"), std::string::npos);
  EXPECT_NE(xml.find("\t</Header>\r\n\t<Projects>\r\n\t</Projects>\r\n</Trawlix>"),
            std::string::npos);
}

TEST(XmlWriter, WritesAttributesInReverseOrderOfAddition) {
  XmlWriter xml;
  xml.StartElement("E");
  xml.AddAttribute("a", "1");
  xml.AddAttribute("b", "x&y");
  xml.EndAll();
  EXPECT_EQ(xml.str(), "<?xml version=\"1.0\"?>\r\n<E b=\"x&amp;y\" a=\"1\">\r\n</E>");
}

TEST(XmlWriter, LeavesOutControlCharactersXmlCannotCarry) {
  EXPECT_EQ(EscapeXmlText("a\x01"
                          "b\x1b[2Jc\td\ne\rf"),
            "ab[2Jc\td\ne&#13;f");
  // A text that is not UTF-8 as a whole is read as Windows-1252.
  EXPECT_EQ(EscapeXmlText("caf\xe9 \xc3\xa9"), "caf\xc3\xa9 \xc3\x83\xc2\xa9");
}

}  // namespace
}  // namespace trawlix::exchange
