#include <QSettings>
#include <filesystem>
#include <fstream>

#include "CliTestSupport.h"

namespace trawlix::cli {
namespace {

class SettingsCommand : public testing::CliTest {
 protected:
  // The profile's options go to this test's own home, whatever QSettings saw first.
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((home() / ".config").string()));
    QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Trawlix() PRO")).clear();
    ASSERT_EQ(Run({"categories"}), 0) << err_;
  }

  // The value `settings NAME` prints, read back from what was stored.
  std::string Stored(const std::string& name) {
    EXPECT_EQ(Run({"settings", name, "--json"}), 0) << err_;
    const std::string prefix = "{\"" + name + "\": ";
    if (out_.rfind(prefix, 0) != 0) return "<" + out_ + ">";
    std::string value = out_.substr(prefix.size());
    value.erase(value.find_last_not_of("}\n") + 1);
    return value;
  }
};

TEST_F(SettingsCommand, ListsEveryOptionByNameAndSomeAsJson) {
  ASSERT_EQ(Run({"settings"}), 0) << err_;
  for (const char* name : {"defaultSaveTo", "jpegQuality", "newMobileFormat", "importCategory",
                           "connectionsPerHost", "allowHttpsToHttp"}) {
    EXPECT_TRUE(OutHas(name)) << name;
  }
  EXPECT_FALSE(OutHas("reserved")) << out_;
  EXPECT_FALSE(OutHas("windowLeft")) << out_;
  EXPECT_FALSE(OutHas("panelColor")) << out_;

  ASSERT_EQ(Run({"settings", "JPEGQUALITY", "userAgent", "newProjectCategory",
                 "keepScansOffLocalNetwork", "--json"}),
            0)
      << err_;
  EXPECT_EQ(out_,
            "{\"jpegQuality\": 95, \"userAgent\": \"Googlebot-Image/1.0\", "
            "\"newProjectCategory\": \"Miscellaneous\", \"keepScansOffLocalNetwork\": 1}\n");
}

TEST_F(SettingsCommand, StoresEachKindOfValueAsTheSheetWould) {
  const std::string pictures = this->pictures().string();
  std::filesystem::create_directories(pictures);
  const std::string cookies = pictures + "/cookies.txt";
  std::ofstream(cookies) << "127.0.0.1\tFALSE\t/\tFALSE\t0\tsession\tabc\n";
  struct Row {
    std::string argument;
    std::string name;
    std::string stored;
  };
  const Row rows[] = {
      {"jpegQuality=85", "jpegQuality", "85"},
      {"showTooltips=0", "showTooltips", "0"},
      {"scanPriority=-2", "scanPriority", "-2"},
      {"importDuplicateAction=2", "importDuplicateAction", "2"},
      {"startupCategory=all", "startupCategory", "\"All\""},
      {"newProjectCategory= imported projects", "newProjectCategory", "\"Imported Projects\""},
      {"exporterName=Sam O'Neil", "exporterName", "\"Sam O'Neil\""},
      {"filesToIgnore=", "filesToIgnore", "\"\""},
      {"thumbnailsFolderName= Small ", "thumbnailsFolderName", "\"Small\""},
      {"defaultSaveTo=" + pictures, "defaultSaveTo", "\"" + pictures + "\""},
      {"userAgent=Internet Explorer 8.0", "userAgent",
       "\"Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1)\""},
      {"userAgent=MyBot/1.0", "userAgent", "\"MyBot/1.0\""},
      {"ConnectionsPerHost=3", "connectionsPerHost", "3"},
      {"keepScansOffLocalNetwork=0", "keepScansOffLocalNetwork", "0"},
      {"allowHttpsToHttp=1", "allowHttpsToHttp", "1"},
      {"honourRobots=0", "honourRobots", "0"},
      {"hostPauseMs=250", "hostPauseMs", "250"},
      {"cookiesFile=" + cookies, "cookiesFile", "\"" + cookies + "\""},
      {"cookiesFile=", "cookiesFile", "\"\""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Run({"settings", row.argument}), 0) << row.argument << ": " << err_;
    EXPECT_EQ(Stored(row.name), row.stored) << row.argument;
  }
}

TEST_F(SettingsCommand, RefusesValuesWithTheSheetsMessagesAndChangesNothing) {
  struct Row {
    std::string argument;
    int code;
    std::string err;
  };
  const Row rows[] = {
      {"jpegQuality=0", 1, "trawlix-cli: jpegQuality takes a number from 1 to 100\n"},
      {"connectionTimeout=4s", 1, "trawlix-cli: connectionTimeout takes a number from 1 to 300\n"},
      {"showTooltips=2", 1, "trawlix-cli: showTooltips takes 0 or 1\n"},
      {"scanPriority=3", 1, "trawlix-cli: scanPriority takes one of -2, -1, 0, 1, 2, 15\n"},
      {"newPadding=99999999999", 1, "trawlix-cli: newPadding takes a number from 1 to 10\n"},
      {"connectionsPerHost=17", 1, "trawlix-cli: connectionsPerHost takes a number from 1 to 16\n"},
      {"hostPauseMs=60001", 1, "trawlix-cli: hostPauseMs takes a number from 0 to 60000\n"},
      {"cookiesFile=/no/such/cookies.txt", 1,
       "trawlix-cli: The cookies file /no/such/cookies.txt cannot be used: No such file or "
       "directory.\n"},
      {"defaultSaveTo=/no/such/folder", 1,
       "The default 'Save To' location is invalid.\n\nPlease choose again.\n"},
      {"defaultSaveTo=", 1, "The default 'Save To' location is invalid.\n\nPlease choose again.\n"},
      {"userAgent=  ", 1, "Please type in a custom USER-AGENT String.\n"},
      {"importCategory=Nowhere", 1, "trawlix-cli: there is no category 'Nowhere'\n"},
      {"mobileFolderName=../Elsewhere", 1,
       "trawlix-cli: mobileFolderName must be one folder name, without '/'\n"},
      {"mobileFolderName=..", 1,
       "trawlix-cli: mobileFolderName must be one folder name, without '/'\n"},
      {"windowLeft=5", 2,
       "trawlix-cli: unknown setting 'windowLeft' (trawlix-cli settings lists them)\n"},
  };
  for (const auto& row : rows) {
    // The valid change before the refused one is not stored either.
    EXPECT_EQ(Run({"settings", "jpegQuality=50", "connectionsPerHost=2", row.argument}), row.code)
        << row.argument;
    EXPECT_EQ(err_, row.err) << row.argument;
  }
  EXPECT_EQ(Stored("jpegQuality"), "95");
  EXPECT_EQ(Stored("connectionsPerHost"), "6");
  EXPECT_EQ(Stored("mobileFolderName"), "\"Mobile\"");
}

}  // namespace
}  // namespace trawlix::cli
