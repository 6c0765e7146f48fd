#include <gtest/gtest.h>

#include <sstream>

#include "cli/ArgParser.h"
#include "cli/CliApp.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "cli/JsonWriter.h"
#include "cli/TextTable.h"

namespace trawlix::cli {
namespace {

const std::vector<OptionSpec> kSpecs = {{"--title", true, "T"}, {"--json", false, {}}};

TEST(ArgParser, SplitsOptionsFlagsAndPositionals) {
  std::string error;
  const auto parsed =
      ParseArgs({"A", "--title", "My Title", "--json", "Title=x", "-5"}, kSpecs, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->Value("--title"), "My Title");
  EXPECT_TRUE(parsed->Has("--json"));
  EXPECT_EQ(parsed->positionals, (std::vector<std::string>{"A", "Title=x", "-5"}));
}

TEST(ArgParser, ValueMayLookLikeAnOptionOrFollowEquals) {
  std::string error;
  auto parsed = ParseArgs({"--title", "--json"}, kSpecs, error);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->Value("--title"), "--json");
  EXPECT_FALSE(parsed->Has("--json"));

  parsed = ParseArgs({"--title=a=b", "--", "--json"}, kSpecs, error);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->Value("--title"), "a=b");
  EXPECT_EQ(parsed->positionals, std::vector<std::string>{"--json"});
}

TEST(ArgParser, RejectsBadOptionUse) {
  struct Row {
    std::vector<std::string> args;
    std::string error;
  };
  const Row rows[] = {
      {{"--colour", "red"}, "unknown option --colour"},
      {{"--title"}, "option --title needs a value"},
      {{"--json=1"}, "option --json takes no value"},
      {{"--title", "a", "--title=b"}, "option --title given twice"},
  };
  for (const auto& row : rows) {
    std::string error;
    EXPECT_FALSE(ParseArgs(row.args, kSpecs, error)) << row.error;
    EXPECT_EQ(error, row.error);
  }
}

TEST(JsonWriter, QuotesEveryCharacterClassCorrectly) {
  const std::pair<std::string, std::string> rows[] = {
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"\n\r\t\b\f", "\"\\n\\r\\t\\b\\f\""},
      {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
      {std::string("nul\0x", 5), "\"nul\\u0000x\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\xB7",
       "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\xB7\""},
      {"latin1 \xE9!", "\"latin1 \\ufffd!\""},        // lone lead byte
      {"\xC0\xAF", "\"\\ufffd\\ufffd\""},             // overlong slash
      {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},  // surrogate
      {"cut \xE2\x82", "\"cut \\ufffd\\ufffd\""},     // truncated at the end
  };
  for (const auto& [text, quoted] : rows) EXPECT_EQ(JsonQuote(text), quoted) << text;
}

TEST(JsonWriter, WritesArraysOfOrderedObjects) {
  std::ostringstream out;
  WriteJsonArray(out, {{{"Id", std::int64_t{1}}, {"Name", std::string("A")}},
                       {{"Id", std::int64_t{-1}}, {"Name", std::string()}}});
  EXPECT_EQ(out.str(), "[\n  {\"Id\": 1, \"Name\": \"A\"},\n  {\"Id\": -1, \"Name\": \"\"}\n]\n");
  std::ostringstream empty;
  WriteJsonArray(empty, {});
  EXPECT_EQ(empty.str(), "[]\n");
}

TEST(TextTable, AlignsColumnsByDisplayWidth) {
  TextTable table({{"Id", TextTable::Align::Right}, {"Name"}, {"Note"}});
  table.AddRow({"7", "Caf\xC3\xA9", "x"});
  table.AddRow({"12", "Models", "two\nlines"});
  table.AddRow({"3"});
  std::ostringstream out;
  table.Print(out);
  EXPECT_EQ(out.str(),
            "Id  Name    Note\n"
            " 7  Caf\xC3\xA9    x\n"
            "12  Models  two lines\n"
            " 3\n");
}

// A registry with fake commands, to test the dispatcher on its own.
class Dispatcher : public ::testing::Test {
 protected:
  Dispatcher() {
    registry_.Add({"things",
                   "[--json]",
                   "List things.",
                   {JsonOption()},
                   0,
                   0,
                   [this](CliContext& context, const ParsedArgs& args) {
                     ran_ = "things";
                     dataDir_ = context.dataDir();
                     json_ = args.Has("--json");
                     return kExitOk;
                   }});
    registry_.Add({"thing add",
                   "NAME",
                   "Add a thing.",
                   {},
                   1,
                   1,
                   [this](CliContext&, const ParsedArgs& args) {
                     ran_ = "thing add " + args.positionals[0];
                     return kExitOk;
                   }});
    registry_.Add(
        {"thing fail", "", "Throws.", {}, 0, 0, [](CliContext&, const ParsedArgs&) -> int {
           throw std::runtime_error("disk on fire");
         }});
  }

  int Run(const std::vector<std::string>& args) {
    out_.str({});
    err_.str({});
    return RunCommandLine(registry_, args, out_, err_);
  }

  CommandRegistry registry_;
  std::ostringstream out_;
  std::ostringstream err_;
  std::string ran_;
  std::string dataDir_;
  bool json_ = false;
};

TEST_F(Dispatcher, RunsTheLongestMatchingCommandWithTheDataFolderAnywhere) {
  EXPECT_EQ(Run({"thing", "add", "x"}), kExitOk);
  EXPECT_EQ(ran_, "thing add x");
  EXPECT_EQ(Run({"things", "--json"}), kExitOk);
  EXPECT_EQ(ran_, "things");
  EXPECT_TRUE(json_);
  Run({"--data-dir", "/d1", "things"});
  EXPECT_EQ(dataDir_, "/d1");
  Run({"--data-dir=/d2", "things"});
  EXPECT_EQ(dataDir_, "/d2");
  Run({"things", "--data-dir", "/d3"});
  EXPECT_EQ(dataDir_, "/d3");
}

TEST_F(Dispatcher, UsageErrorsExitWithTwoAndExplain) {
  struct Row {
    std::vector<std::string> args;
    std::string message;
  };
  const Row rows[] = {
      {{}, "usage: trawlix-cli"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"thing"}, "thing: unknown or missing subcommand"},
      {{"thing", "add"}, "thing add: missing arguments"},
      {{"thing", "add", "a", "b"}, "thing add: too many arguments"},
      {{"things", "--bogus"}, "things: unknown option --bogus"},
      {{"--data-dir"}, "option --data-dir needs a value"},
      {{"--verbose", "things"}, "unknown option --verbose"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Run(row.args), kExitUsage) << row.message;
    EXPECT_NE(err_.str().find(row.message), std::string::npos) << err_.str();
    EXPECT_EQ(ran_, "");
  }
}

TEST_F(Dispatcher, HelpGoesToStandardOutput) {
  EXPECT_EQ(Run({"--help"}), kExitOk);
  EXPECT_NE(out_.str().find("thing add NAME"), std::string::npos);
  EXPECT_NE(out_.str().find("--data-dir DIR"), std::string::npos);
  EXPECT_EQ(Run({"thing", "add", "--help"}), kExitOk);
  EXPECT_NE(out_.str().find("usage: trawlix-cli [--data-dir DIR] thing add NAME"),
            std::string::npos);
  EXPECT_EQ(Run({"thing", "--help"}), kExitOk);
  EXPECT_NE(out_.str().find("thing fail"), std::string::npos);
  EXPECT_EQ(out_.str().find("things "), std::string::npos);
  EXPECT_EQ(ran_, "");
}

TEST_F(Dispatcher, AnExceptionBecomesAFailureMessage) {
  EXPECT_EQ(Run({"thing", "fail"}), kExitFailure);
  EXPECT_EQ(err_.str(), "trawlix-cli: thing fail: disk on fire\n");
}

TEST(StreamMessageSink, PrintsTheTextAndTakesTheFirstButton) {
  std::ostringstream err;
  StreamMessageSink sink(err);
  EXPECT_EQ(sink.Show({"Sure?", kAppCaption, MessageIcon::Question, MessageButtons::YesNo}).answer,
            MessageAnswer::Yes);
  sink.Inform("Done.");
  EXPECT_EQ(err.str(), "Sure?\nDone.\n");
}

}  // namespace
}  // namespace trawlix::cli
