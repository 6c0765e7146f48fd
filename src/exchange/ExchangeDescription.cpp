#include "exchange/ExchangeDescription.h"

#include "exchange/XmlWriter.h"

namespace trawlix::exchange {
namespace {

void WriteHeader(XmlWriter& xml, const ExchangeHeader& header, std::size_t projects,
                 const std::string& photoName) {
  xml.StartElement("Header");
  xml.WriteNumber("Platform", header.platform);
  xml.WriteNumber("Version", header.version);
  xml.WriteNumber("Projects", static_cast<std::int64_t>(projects));
  xml.WriteText("Date", header.date);
  xml.WriteText("Description", header.description);
  xml.WriteText("Name", header.name);
  xml.WriteText("EmailAddress", header.emailAddress);
  xml.WriteText("Website", header.website);
  if (!photoName.empty()) xml.WriteText("Photo", photoName);
  xml.EndElement();
}

void WriteSettings(XmlWriter& xml, const ImportedProject& p) {
  xml.StartElement("Settings");
  xml.WriteNumber("ProjectId", p.projectId);
  xml.WriteText("Category", p.category);
  xml.WriteText("Title", p.title);
  xml.WriteText("URL", p.url);
  xml.WriteText("Keywords", p.keywords);
  xml.WriteText("NamePrefix", p.namePrefix);
  xml.WriteNumber("JPEG", p.jpeg);
  xml.WriteNumber("PNG", p.png);
  xml.WriteNumber("GIF", p.gif);
  xml.WriteNumber("TIF", p.tif);
  xml.WriteNumber("BMP", p.bmp);
  xml.WriteNumber("SearchSubFolders", p.searchSubFolders);
  xml.WriteNumber("KeywordMustExist", p.keywordMustExist);
  xml.WriteNumber("FilterMinSize", p.filterMinSize);
  xml.WriteNumber("MinimumSize", p.minimumSize);
  xml.WriteNumber("CreateFolders", p.createFolders);
  xml.WriteNumber("Orientation", p.orientation);
  xml.WriteNumber("AutoRename", p.autoRename);
  xml.WriteNumber("PadNumbers", p.padNumbers);
  xml.WriteNumber("Padding", p.padding);
  xml.WriteNumber("NumLinks", static_cast<std::int64_t>(p.links.size()));
  xml.WriteNumber("NumPhotos", p.numPhotos);
  xml.EndElement();
}

void WriteLinks(XmlWriter& xml, const ImportedProject& p) {
  xml.StartElement("Links");
  for (const ImportedLink& l : p.links) {
    xml.StartElement("Link");
    xml.WriteNumber("ProjectId", l.projectId);
    xml.WriteNumber("SearchSubFolders", l.searchSubFolders);
    xml.WriteNumber("KeywordMustExist", l.keywordMustExist);
    xml.WriteText("URL", l.url);
    xml.WriteText("Keywords", l.keywords);
    xml.EndElement();
  }
  xml.EndElement();
}

}  // namespace

std::string WriteExchangeDescription(const ExchangeHeader& header,
                                     const std::vector<ImportedProject>& projects,
                                     const std::string& photoName) {
  XmlWriter xml;
  xml.StartElement("Trawlix");
  xml.AddAttribute("Version", "2.0");
  WriteHeader(xml, header, projects.size(), photoName);
  xml.StartElement("Projects");
  for (const ImportedProject& p : projects) {
    xml.StartElement("Project");
    xml.AddAttribute("ProjectId", std::to_string(p.projectId));
    WriteSettings(xml, p);
    WriteLinks(xml, p);
    xml.EndElement();
  }
  xml.EndAll();
  return xml.str();
}

}  // namespace trawlix::exchange
