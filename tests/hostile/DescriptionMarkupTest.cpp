#include <gtest/gtest.h>

#include <QXmlStreamReader>
#include <iterator>
#include <map>
#include <string>

#include "exchange/ExchangeDescription.h"
#include "exchange/XmlWriter.h"

namespace trawlix::exchange {
namespace {

CImportedProject Project(int id, const std::string& title) {
  CImportedProject p;
  p.m_nProjectId = id;
  p.m_lpszTitle = title;
  p.m_lpszCategory = "Cats & Dogs";
  p.m_lpszURL = "http://a.example/?x=1&y=2";
  return p;
}

TEST(ExchangeDescription, AnyXmlReaderReadsHostileTextsBackUnchanged) {
  // A title that closes its element must not falsify the description others read.
  CExchangeHeader header;
  header.m_lpszDescription = "x</Description><Name>Forged</Name><Description>";
  header.m_lpszName = "O'Brien \"Bob\" <b@x.example>";
  CImportedProject project = Project(1, "Tom</Title><URL>http://evil.example/</URL><Title>");
  project.m_lpszKeywords = "a<b, c>d, \"q\", 'r', &amp;";
  project.m_lpszNamePrefix = "line\r\nbreak\ttab";
  CImportedLink link;
  link.m_lpszURL = "http://b.example/?a=1&b=<2>";
  project.m_arLinks.push_back(link);
  CXmlWriter attributes;
  attributes.StartElement("E");
  attributes.AddAttribute("a", "\"><F a=\"");
  attributes.EndAll();

  std::multimap<std::string, std::string> texts;
  QXmlStreamReader reader(
      QByteArray::fromStdString(WriteExchangeDescription(header, {project}, "__tempExport.jpg")));
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    const std::string name = reader.name().toString().toStdString();
    if (name == "Trawlix" || name == "Header" || name == "Projects" || name == "Project" ||
        name == "Settings" || name == "Links" || name == "Link") {
      continue;
    }
    texts.emplace(name, reader.readElementText().toStdString());
  }
  ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_EQ(texts.count("Name"), 1u);
  EXPECT_EQ(texts.find("Description")->second, header.m_lpszDescription);
  EXPECT_EQ(texts.find("Name")->second, header.m_lpszName);
  EXPECT_EQ(texts.find("Title")->second, project.m_lpszTitle);
  EXPECT_EQ(texts.find("Keywords")->second, project.m_lpszKeywords);
  EXPECT_EQ(texts.find("NamePrefix")->second, project.m_lpszNamePrefix);
  EXPECT_EQ(texts.count("URL"), 2u);
  EXPECT_EQ(std::prev(texts.upper_bound("URL"))->second, link.m_lpszURL);

  QXmlStreamReader attributeReader(QByteArray::fromStdString(attributes.str()));
  while (attributeReader.readNext() != QXmlStreamReader::StartElement) {
  }
  EXPECT_EQ(attributeReader.attributes().value("a").toString().toStdString(), "\"><F a=\"");
}

TEST(ExchangeDescription, StaysWellFormedWhateverBytesATextHolds) {
  CImportedProject project = Project(1, "bad \xff\xfe bytes \x01\x1b and \xed\xa0\x80");
  project.m_lpszKeywords = std::string("nul\0inside", 10);
  QXmlStreamReader reader(QByteArray::fromStdString(WriteExchangeDescription({}, {project}, "")));
  std::string title;
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QString("Title")) {
      title = reader.readElementText().toStdString();
    }
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_EQ(title.rfind("bad ", 0), 0u) << title;
}

}  // namespace
}  // namespace trawlix::exchange
