#include <gtest/gtest.h>

#include <regex>

#include "TableTestSupport.h"
#include "storage/CategoriesTable.h"
#include "storage/DatabaseSeed.h"
#include "storage/DateText.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {
namespace {

class DatabaseSeedTest : public testing::TableTest {
 protected:
  void SetUp() override { ASSERT_TRUE(SeedNewDatabase(DbPath(), messages, "/home/u/Pictures")); }
};

TEST_F(DatabaseSeedTest, HoldsFourCategoriesAndThreeSamplesInThePicturesFolder) {
  CategoriesTable categories(DbPath(), messages);
  ASSERT_TRUE(categories.OpenTable());
  ASSERT_TRUE(categories.LoadCategories("SELECT * FROM Categories ORDER BY Id;"));
  std::vector<std::string> names;
  for (const auto& c : categories.Records()) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Actresses", "Models", "Sample Projects",
                                             "Imported Projects"}));
  EXPECT_EQ(categories.ExecuteScalar("SELECT COUNT(*) FROM sqlite_master WHERE type='table' AND "
                                     "name NOT LIKE 'sqlite#_%' ESCAPE '#';"),
            4);

  ProjectsTable projects(DbPath(), messages);
  ASSERT_TRUE(projects.OpenTable());
  ASSERT_TRUE(projects.LoadProjects("SELECT * FROM Projects ORDER BY Id;"));
  ASSERT_EQ(projects.Records().size(), 3u);
  for (const auto& r : projects.Records()) {
    EXPECT_EQ(r.catId, categories.CategoryIdByName("Sample Projects"));
  }
  const ProjectsRecord& nasa = projects.Records()[0];
  EXPECT_EQ(nasa.title, "NASA Image of the Day");
  EXPECT_EQ(nasa.namePrefix, "NASA_Image_of_the_Day_");
  EXPECT_EQ(nasa.thumbnailSaveTo, "/home/u/Pictures/NASA Image of the Day/Thumbnails");
  EXPECT_EQ(nasa.mobileSaveTo, "/home/u/Pictures/NASA Image of the Day/Mobile");
  EXPECT_EQ(projects.Records()[1].keywords, "modelfeatured");
  EXPECT_EQ(projects.Records()[2].autoRename, 1) << "carried over from the second sample";
  EXPECT_EQ(projects.Records()[2].keywords, "");
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(DatabaseSeedTest, SecondSampleHasThreeLinksStartingWithItsOwnAddress) {
  ProjectsTable projects(DbPath(), messages);
  ASSERT_TRUE(projects.OpenTable());
  ASSERT_TRUE(projects.LoadProjects("SELECT * FROM Projects ORDER BY Id;"));
  const ProjectsRecord model = projects.Records()[1];
  ProjectLinksTable links(DbPath(), messages);
  ASSERT_TRUE(links.OpenTable());
  EXPECT_EQ(links.CountLinks(projects.Records()[0].id), 0);
  ASSERT_TRUE(links.LoadLinksOfProject(model.id));
  ASSERT_EQ(links.Records().size(), 3u);
  EXPECT_EQ(links.Records()[0].url, model.url);
  const std::regex guid("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
  for (const auto& link : links.Records()) {
    EXPECT_EQ(link.date, TodayDateText());
    EXPECT_EQ(link.keywords, "modelfeatured");
    EXPECT_TRUE(std::regex_match(link.guid, guid)) << link.guid;
  }
  EXPECT_NE(links.Records()[0].guid, links.Records()[1].guid);
}

TEST(DateText, MonthFirstWithFourDigitYear) {
  std::tm day{};
  day.tm_year = 2025 - 1900;
  day.tm_mon = 2;
  day.tm_mday = 7;
  day.tm_hour = 12;
  day.tm_isdst = -1;
  EXPECT_EQ(DateText(std::mktime(&day)), "03/07/2025");
}

TEST(DatabaseSeed, UnopenablePathFailsWithOneMessage) {
  testing::TempDir dir;
  testing::RecordingMessageSink messages;
  EXPECT_FALSE(SeedNewDatabase((dir / "no" / "x.db").string(), messages, "/p"));
  EXPECT_EQ(messages.requests.size(), 1u);
}

}  // namespace
}  // namespace trawlix
