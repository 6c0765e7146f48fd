#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>
#include <string>
#include <vector>

#include "app/SplashScreen.h"
#include "base/Version.h"
#include "settings/UserAgent.h"
#include "ui/DialogMessageSink.h"
#include "ui/Icons.h"
#include "ui/window/WelcomeDialog.h"

namespace trawlix {
namespace {

// What a message box showed, read while it was open.
struct ShownBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  bool hasCheckBox = false;
  QString checkBoxText;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

struct MessageCase {
  const char* name;
  MessageRequest request;
  QMessageBox::StandardButton click;  // NoButton: the box is closed with Escape
  bool tick;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton;
  MessageReply reply;
};

MessageRequest Request(MessageIcon icon, MessageButtons buttons, bool dontAsk) {
  MessageRequest request;
  request.text = "Delete the project Beach?\n\nNOTE: Downloaded photos are **NOT** deleted.";
  request.icon = icon;
  request.buttons = buttons;
  request.offerDontAskAgain = dontAsk;
  return request;
}

TEST(DialogMessageSink, ShowsTheRequestAndReturnsTheAnswer) {
  using B = QMessageBox;
  const std::vector<MessageCase> cases = {
      {"information, OK",
       Request(MessageIcon::Information, MessageButtons::Ok, false),
       B::Ok,
       false,
       B::Information,
       B::Ok,
       B::Ok,
       {MessageAnswer::Ok, false}},
      {"question answered No, box ticked",
       Request(MessageIcon::Question, MessageButtons::YesNo, true),
       B::No,
       true,
       B::Question,
       B::Yes | B::No,
       B::Yes,
       {MessageAnswer::No, true}},
      {"question answered Yes",
       Request(MessageIcon::Question, MessageButtons::YesNo, true),
       B::Yes,
       false,
       B::Question,
       B::Yes | B::No,
       B::Yes,
       {MessageAnswer::Yes, false}},
      {"warning, Escape cancels",
       Request(MessageIcon::Warning, MessageButtons::OkCancel, false),
       B::NoButton,
       false,
       B::Warning,
       B::Ok | B::Cancel,
       B::Ok,
       {MessageAnswer::Cancel, false}},
      {"error, three buttons",
       Request(MessageIcon::Error, MessageButtons::YesNoCancel, false),
       B::Cancel,
       false,
       B::Critical,
       B::Yes | B::No | B::Cancel,
       B::Yes,
       {MessageAnswer::Cancel, false}},
      {"no icon",
       Request(MessageIcon::None, MessageButtons::Ok, false),
       B::NoButton,
       false,
       B::NoIcon,
       B::Ok,
       B::Ok,
       {MessageAnswer::Ok, false}},
  };
  for (const auto& c : cases) {
    ShownBox shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr) << c.name;
      shown.caption = box->windowTitle();
      shown.text = box->text();
      shown.icon = box->icon();
      shown.buttons = box->standardButtons();
      shown.hasCheckBox = box->checkBox() != nullptr;
      if (shown.hasCheckBox) {
        shown.checkBoxText = box->checkBox()->text();
        box->checkBox()->setChecked(c.tick);
      }
      shown.defaultButton = box->standardButton(box->defaultButton());
      if (c.click == QMessageBox::NoButton) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
      } else {
        box->button(c.click)->click();
      }
    });
    ui::DialogMessageSink sink;
    const MessageReply reply = sink.Show(c.request);
    EXPECT_EQ(shown.caption, QStringLiteral("Trawlix() PRO")) << c.name;
    EXPECT_EQ(shown.text.toStdString(), c.request.text) << c.name;
    EXPECT_EQ(shown.icon, c.icon) << c.name;
    EXPECT_EQ(shown.buttons, c.buttons) << c.name;
    EXPECT_EQ(shown.defaultButton, c.defaultButton) << c.name;
    EXPECT_EQ(shown.hasCheckBox, c.request.offerDontAskAgain) << c.name;
    if (shown.hasCheckBox) {
      EXPECT_EQ(shown.checkBoxText, QStringLiteral("Don't ask me again"));
    }
    EXPECT_EQ(reply.answer, c.reply.answer) << c.name;
    EXPECT_EQ(reply.dontAskAgain, c.reply.dontAskAgain) << c.name;
  }
}

// Every picture is there even on a machine without an icon theme: the shipped ones are
// compiled in and drawn through the SVG plug-in.
TEST(Icons, EveryNameHasAVisiblePicture) {
  for (int i = 0; i <= static_cast<int>(ui::IconName::TabHistory); ++i) {
    const QIcon icon = ui::Icon(static_cast<ui::IconName>(i));
    ASSERT_FALSE(icon.isNull()) << "icon " << i;
    const QImage image = icon.pixmap(24, 24).toImage();
    ASSERT_FALSE(image.isNull()) << "icon " << i;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    }
    EXPECT_GT(opaque, 24) << "icon " << i << " is blank";
  }
}

TEST(SplashScreen, VersionTextFromTheProjectVersion) {
  const std::vector<std::pair<std::string, QString>> cases = {
      {"2.0.9300.178", QStringLiteral("Version 2.0\nBuild (9300.178)")},
      {"0.1.0", QStringLiteral("Version 0.1\nBuild (0.0)")},
      {"3.4", QStringLiteral("Version 3.4\nBuild (0.0)")},
  };
  for (const auto& [version, text] : cases) {
    EXPECT_EQ(app::SplashScreen::VersionText(version), text) << version;
  }
  const QPixmap picture = app::SplashScreen::Picture(app::SplashScreen::VersionText());
  EXPECT_EQ(picture.size(), QSize(383, 237));
}

// The splash, the about box and the user agent name one release: the build's.
TEST(SplashScreen, EveryPlaceShowsTheOneRelease) {
  EXPECT_EQ(ProgramVersion(), "2.0.9300.178");
  EXPECT_EQ(app::SplashScreen::VersionText(), QStringLiteral("Version 2.0\nBuild (9300.178)"));
  EXPECT_EQ(UserAgentList().front().name, "Trawlix() PRO v" + ReleaseNumber());
  EXPECT_EQ(UserAgentList().front().userAgent.rfind("Trawlix() PRO v2.0 (", 0), 0u);
}

// The first key or mouse press closes the splash and goes nowhere else; later ones arrive.
TEST(SplashScreen, FirstPressClosesItAndIsSwallowed) {
  QLineEdit window;
  window.show();
  window.activateWindow();
  window.setFocus();
  for (const bool useKey : {true, false}) {
    window.clear();
    app::SplashScreen splash;
    splash.ShowOver(&window);
    ASSERT_TRUE(splash.isVisible());
    if (useKey) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
      QApplication::sendEvent(&window, &press);
    } else {
      QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&window, &press);
    }
    EXPECT_FALSE(splash.isVisible()) << useKey;
    EXPECT_EQ(window.text(), QString()) << useKey;
    QKeyEvent next(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QApplication::sendEvent(&window, &next);
    EXPECT_EQ(window.text(), QStringLiteral("b")) << useKey;
  }
}

TEST(WelcomeDialog, NamesTheSamplesAndIsUsableFromTheKeyboard) {
  ui::WelcomeDialog dialog;
  auto* page = dialog.findChild<QTextBrowser*>();
  ASSERT_NE(page, nullptr);
  const QString text = page->toPlainText();
  for (const char* sample : {"NASA Image of the Day", "Livia Brandt", "Marisol Fenwick",
                             "Sample Projects", "Start", "New Project"}) {
    EXPECT_TRUE(text.contains(QLatin1String(sample))) << sample;
  }
  EXPECT_EQ(page->accessibleName(), QStringLiteral("Welcome"));
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  EXPECT_EQ(ok->accessibleName(), QStringLiteral("OK"));
  EXPECT_TRUE(ok->isDefault());
  dialog.show();
  QSignalSpy accepted(&dialog, &QDialog::accepted);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &enter);
  EXPECT_EQ(accepted.size(), 1);
}

}  // namespace
}  // namespace trawlix
