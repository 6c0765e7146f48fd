#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <thread>

#include "cli/CliTestSupport.h"
#include "scan/PipelineTestSite.h"

extern char** environ;

namespace trawlix::cli::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using trawlix::testing::MakeTestPhoto;
using trawlix::testing::TestPhotoKind;

constexpr int kPhotos = 30;

// A scan killed outright, as a crash or a power cut would end it, goes on with --resume.
class ScanResumeTest : public CliTest {
 protected:
  ScanResumeTest() {
    std::string html = "<html><body>";
    for (int i = 0; i < kPhotos; ++i) {
      const std::string name = "/g/p" + std::to_string(i) + ".jpg";
      site_.Add(name, "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 320 + i, 240));
      html += "<img src=\"" + name + "\">";
    }
    site_.AddPage("/g/index.html", html + "</body></html>");
  }

  void AddProject(const std::string& title) {
    ASSERT_EQ(Run({"project", "add", "--title", title, "--url", site_.URL("/g/index.html"),
                   "--save-to", Folder(title).string(), "FilterMinimumSize=0", "AutoRename=1"}),
              0)
        << err_;
  }
  fs::path Folder(const std::string& title) const { return dir_ / title; }

  // The photos' names without the title they start with, and a digest of their bytes.
  std::map<std::string, std::size_t> Files(const std::string& title) const {
    std::map<std::string, std::size_t> files;
    for (const auto& entry : fs::directory_iterator(Folder(title))) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), {}};
      files[entry.path().filename().string().substr(title.size())] =
          std::hash<std::string>{}(bytes);
    }
    return files;
  }

  std::vector<std::string> History(const std::string& title) const {
    return Query(
        "select h.Pages, h.TotalImages, h.SavedImages, h.SkippedImages, h.TotalBytes "
        "from ScanHistory h join Projects p on p.Id = h.ProjectId where p.Title = '" +
        title + "'");
  }

  // Starts the program itself on the data folder and kills it once `saved` photos are there.
  void ScanAndKill(const std::string& title, std::size_t saved) {
    const std::string data = dataDir().string();
    std::vector<std::string> args = {TRAWLIX_CLI_PROGRAM, "--data-dir", data, "scan", title};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline &&
           (!fs::exists(Folder(title)) || Files(title).size() < saved))
      std::this_thread::sleep_for(2ms);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the scan ended before it could be killed";
  }

  trawlix::testing::TestSite site_;
};

TEST_F(ScanResumeTest, AKilledScanResumesToWhatAnUninterruptedScanGives) {
  AddProject("Whole");
  ASSERT_EQ(Run({"scan", "Whole"}), 0) << err_;
  const int wholeRequests = site_.TotalRequests();

  AddProject("Killed");
  site_.SetDelay(40ms);
  ScanAndKill("Killed", kPhotos / 3);
  ASSERT_LT(Files("Killed").size(), static_cast<std::size_t>(kPhotos));
  EXPECT_TRUE(History("Killed").empty()) << "a killed scan writes no row";

  site_.SetDelay(0ms);
  ASSERT_EQ(Run({"scan", "Killed", "--resume"}), 0) << err_;
  EXPECT_EQ(Files("Killed"), Files("Whole"));
  EXPECT_EQ(History("Killed"), History("Whole"));
  // Photos already stored were not fetched again: only the start page and the requests handed
  // out at the kill were (six connections and three waiting their turn).
  EXPECT_LE(site_.TotalRequests() - wholeRequests, wholeRequests + 10);
  EXPECT_NE(Run({"scan", "Killed", "--resume"}), 0) << "nothing is left to resume";
}

}  // namespace
}  // namespace trawlix::cli::testing
