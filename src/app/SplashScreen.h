#pragma once

#include <QSplashScreen>
#include <string>

namespace trawlix::app {

// The picture shown over the main window while the program starts. It goes after 3.5 seconds,
// or at the first key or mouse press, which it takes for itself.
class SplashScreen : public QSplashScreen {
  Q_OBJECT

 public:
  explicit SplashScreen(const QString& versionText = VersionText());
  ~SplashScreen() override;

  // Centres the splash over `window` and shows it.
  void ShowOver(const QWidget* window);

  // "Version M.N\nBuild (P.T)" from a "M.N.P[.T]" version; missing parts count as 0.
  static QString VersionText(const std::string& version);
  // The program's own version.
  static QString VersionText();

  static QPixmap Picture(const QString& versionText);

  static constexpr int kVisibleMs = 3500;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
};

}  // namespace trawlix::app
