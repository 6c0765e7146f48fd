#include <gtest/gtest.h>

#include <QXmlStreamReader>
#include <iterator>
#include <map>
#include <string>

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
  return p;
}

TEST(ExchangeDescription, AnyXmlReaderReadsHostileTextsBackUnchanged) {
  // A title that closes its element must not falsify the description others read.
  ExchangeHeader header;
  header.description = "x</Description><Name>Forged</Name><Description>";
  header.name = "O'Brien \"Bob\" <b@x.example>";
  ImportedProject project = Project(1, "Tom</Title><URL>http://evil.example/</URL><Title>");
  project.keywords = "a<b, c>d, \"q\", 'r', &amp;";
  project.namePrefix = "line\r\nbreak\ttab";
  ImportedLink link;
  link.url = "http://b.example/?a=1&b=<2>";
  project.links.push_back(link);
  XmlWriter attributes;
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
  EXPECT_EQ(texts.find("Description")->second, header.description);
  EXPECT_EQ(texts.find("Name")->second, header.name);
  EXPECT_EQ(texts.find("Title")->second, project.title);
  EXPECT_EQ(texts.find("Keywords")->second, project.keywords);
  EXPECT_EQ(texts.find("NamePrefix")->second, project.namePrefix);
  EXPECT_EQ(texts.count("URL"), 2u);
  EXPECT_EQ(std::prev(texts.upper_bound("URL"))->second, link.url);

  QXmlStreamReader attributeReader(QByteArray::fromStdString(attributes.str()));
  while (attributeReader.readNext() != QXmlStreamReader::StartElement) {
  }
  EXPECT_EQ(attributeReader.attributes().value("a").toString().toStdString(), "\"><F a=\"");
}

TEST(ExchangeDescription, StaysWellFormedWhateverBytesATextHolds) {
  ImportedProject project = Project(1, "bad \xff\xfe bytes \x01\x1b and \xed\xa0\x80");
  project.keywords = std::string("nul\0inside", 10);
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
