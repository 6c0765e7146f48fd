#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <future>
#include <string>
#include <vector>

#include "app/HandOver.h"
#include "app/SingleInstance.h"

namespace trawlix::app {
namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  // A socket path of this test's own, so that a running desktop program is never met.
  QString Name() const { return QDir(folder_.path()).filePath(QStringLiteral("instance")); }

  // A later start runs on a thread of its own, as the running copy needs its event loop to
  // answer; returns the role that start took.
  static std::future<SingleInstance::Role> StartLater(const QString& name,
                                                      const std::string& text) {
    return std::async(std::launch::async, [name, text] {
      SingleInstance later(name);
      return later.Start(text);
    });
  }

  static SingleInstance::Role WaitFor(std::future<SingleInstance::Role>& role) {
    while (role.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
      QCoreApplication::processEvents();
    }
    return role.get();
  }

  QTemporaryDir folder_;
};

TEST_F(SingleInstanceTest, LaterStartsHandTheirTextsToTheFirst) {
  SingleInstance first(Name());
  ASSERT_EQ(first.Start("first's own text is not sent"), SingleInstance::Role::First);
  QSignalSpy spy(&first, &SingleInstance::HandedOver);

  const std::string longest(kMaxHandOverLength, 'a');
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/home/ann/My Set.txexport", "/home/ann/My Set.txexport"},
      {"", ""},
      {longest, longest},
      {longest + "a", ""},  // too long: the running copy only comes to the front
      {"/tmp/Bild \xFC.TXEXPORT", "/tmp/Bild \xFC.TXEXPORT"},  // not UTF-8: bytes kept
  };
  for (const auto& [text, arrived] : cases) {
    auto role = StartLater(Name(), text);
    EXPECT_EQ(WaitFor(role), SingleInstance::Role::Second) << text;
    // The receipt is sent before the signal, so it has arrived by now.
    ASSERT_FALSE(spy.isEmpty()) << text;
    EXPECT_EQ(spy.takeFirst().at(0).toByteArray().toStdString(), arrived) << text;
  }
  EXPECT_TRUE(spy.isEmpty());
}

TEST_F(SingleInstanceTest, StartsThatComeTogetherAreAllHandedOver) {
  SingleInstance first(Name());
  ASSERT_EQ(first.Start({}), SingleInstance::Role::First);
  QSignalSpy spy(&first, &SingleInstance::HandedOver);
  std::vector<std::future<SingleInstance::Role>> roles;
  for (int i = 0; i < 5; ++i) roles.push_back(StartLater(Name(), "/f" + std::to_string(i)));
  for (auto& role : roles) EXPECT_EQ(WaitFor(role), SingleInstance::Role::Second);
  QStringList texts;
  for (const auto& arguments : spy) texts << QString::fromLatin1(arguments.at(0).toByteArray());
  texts.sort();
  EXPECT_EQ(texts, QStringList({"/f0", "/f1", "/f2", "/f3", "/f4"}));
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedRunIsTakenOver) {
  // A file where the socket would be stands for the leftover of a run that died.
  QFile leftover(Name());
  ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  leftover.close();
  SingleInstance first(Name());
  EXPECT_EQ(first.Start({}), SingleInstance::Role::First);
  QSignalSpy spy(&first, &SingleInstance::HandedOver);
  auto role = StartLater(Name(), "/x.txexport");
  EXPECT_EQ(WaitFor(role), SingleInstance::Role::Second);
  ASSERT_EQ(spy.size(), 1);
}

}  // namespace
}  // namespace trawlix::app
