#include "exchange/ExchangeDescription.h"

#include "exchange/XmlWriter.h"

namespace trawlix::exchange {
namespace {

void WriteHeader(CXmlWriter& xml, const CExchangeHeader& header, std::size_t projects,
                 const std::string& photoName) {
  xml.StartElement("Header");
  xml.WriteNumber("Platform", header.m_nPlatform);
  xml.WriteNumber("Version", header.m_nVersion);
  xml.WriteNumber("Projects", static_cast<std::int64_t>(projects));
  xml.WriteText("Date", header.m_lpszDate);
  xml.WriteText("Description", header.m_lpszDescription);
  xml.WriteText("Name", header.m_lpszName);
  xml.WriteText("EmailAddress", header.m_lpszEmailAddress);
  xml.WriteText("Website", header.m_lpszWebsite);
  if (!photoName.empty()) xml.WriteText("Photo", photoName);
  xml.EndElement();
}

void WriteSettings(CXmlWriter& xml, const CImportedProject& p) {
  xml.StartElement("Settings");
  xml.WriteNumber("ProjectId", p.m_nProjectId);
  xml.WriteText("Category", p.m_lpszCategory);
  xml.WriteText("Title", p.m_lpszTitle);
  xml.WriteText("URL", p.m_lpszURL);
  xml.WriteText("Keywords", p.m_lpszKeywords);
  xml.WriteText("NamePrefix", p.m_lpszNamePrefix);
  xml.WriteNumber("JPEG", p.m_nJPEG);
  xml.WriteNumber("PNG", p.m_nPNG);
  xml.WriteNumber("GIF", p.m_nGIF);
  xml.WriteNumber("TIF", p.m_nTIF);
  xml.WriteNumber("BMP", p.m_nBMP);
  xml.WriteNumber("SearchSubFolders", p.m_nSearchSubFolders);
  xml.WriteNumber("KeywordMustExist", p.m_nKeywordMustExist);
  xml.WriteNumber("FilterMinSize", p.m_nFilterMinSize);
  xml.WriteNumber("MinimumSize", p.m_nMinimumSize);
  xml.WriteNumber("CreateFolders", p.m_nCreateFolders);
  xml.WriteNumber("Orientation", p.m_nOrientation);
  xml.WriteNumber("AutoRename", p.m_nAutoRename);
  xml.WriteNumber("PadNumbers", p.m_nPadNumbers);
  xml.WriteNumber("Padding", p.m_nPadding);
  xml.WriteNumber("NumLinks", static_cast<std::int64_t>(p.m_arLinks.size()));
  xml.WriteNumber("NumPhotos", p.m_nNumPhotos);
  xml.EndElement();
}

void WriteLinks(CXmlWriter& xml, const CImportedProject& p) {
  xml.StartElement("Links");
  for (const CImportedLink& l : p.m_arLinks) {
    xml.StartElement("Link");
    xml.WriteNumber("ProjectId", l.m_nProjectId);
    xml.WriteNumber("SearchSubFolders", l.m_nSearchSubFolders);
    xml.WriteNumber("KeywordMustExist", l.m_nKeywordMustExist);
    xml.WriteText("URL", l.m_lpszURL);
    xml.WriteText("Keywords", l.m_lpszKeywords);
    xml.EndElement();
  }
  xml.EndElement();
}

}  // namespace

std::string WriteExchangeDescription(const CExchangeHeader& header,
                                     const std::vector<CImportedProject>& projects,
                                     const std::string& photoName) {
  CXmlWriter xml;
  xml.StartElement("Trawlix");
  xml.AddAttribute("Version", "2.0");
  WriteHeader(xml, header, projects.size(), photoName);
  xml.StartElement("Projects");
  for (const CImportedProject& p : projects) {
    xml.StartElement("Project");
    xml.AddAttribute("ProjectId", std::to_string(p.m_nProjectId));
    WriteSettings(xml, p);
    WriteLinks(xml, p);
    xml.EndElement();
  }
  xml.EndAll();
  return xml.str();
}

}  // namespace trawlix::exchange
