#include "app/SplashScreen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStringList>
#include <QTimer>

#include "base/Version.h"

namespace trawlix::app {

namespace {

constexpr int kWidth = 383;
constexpr int kHeight = 237;
const QColor kDeepBlue(0x1d, 0x4f, 0x86);
const QColor kSky(0xcf, 0xe4, 0xf7);

// One small framed landscape, as the program gathers them.
void DrawPhoto(QPainter& p, const QRectF& frame, qreal angle) {
  p.save();
  p.translate(frame.center());
  p.rotate(angle);
  const QRectF r(-frame.width() / 2, -frame.height() / 2, frame.width(), frame.height());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawRoundedRect(r.translated(3, 4), 3, 3);
  p.setBrush(Qt::white);
  p.drawRoundedRect(r, 3, 3);
  const QRectF picture = r.adjusted(6, 6, -6, -6);
  p.setBrush(kSky);
  p.drawRect(picture);
  p.setBrush(QColor(0xf2, 0xc1, 0x4e));
  p.drawEllipse(
      QPointF(picture.left() + picture.width() * 0.72, picture.top() + picture.height() * 0.3),
      picture.height() * 0.13, picture.height() * 0.13);
  QPainterPath hills;
  hills.moveTo(picture.bottomLeft());
  hills.lineTo(picture.left() + picture.width() * 0.38, picture.top() + picture.height() * 0.45);
  hills.lineTo(picture.left() + picture.width() * 0.62, picture.top() + picture.height() * 0.72);
  hills.lineTo(picture.left() + picture.width() * 0.76, picture.top() + picture.height() * 0.58);
  hills.lineTo(picture.bottomRight());
  hills.closeSubpath();
  p.setBrush(QColor(0x2e, 0x9e, 0x44));
  p.drawPath(hills);
  p.restore();
}

}  // namespace

SplashScreen::SplashScreen(const QString& versionText)
    : QSplashScreen(Picture(versionText), Qt::WindowStaysOnTopHint) {
  setAccessibleName(QStringLiteral("Trawlix() PRO"));
  setCursor(Qt::ArrowCursor);
}

SplashScreen::~SplashScreen() {
  qApp->removeEventFilter(this);
}

void SplashScreen::showEvent(QShowEvent* event) {
  QSplashScreen::showEvent(event);
  // Watch every key and mouse press of the program while shown, not only the splash's own.
  qApp->installEventFilter(this);
  QTimer::singleShot(kVisibleMs, this, &QWidget::close);
}

void SplashScreen::hideEvent(QHideEvent* event) {
  qApp->removeEventFilter(this);
  QSplashScreen::hideEvent(event);
}

void SplashScreen::ShowOver(const QWidget* window) {
  QRect area = window != nullptr && window->isVisible() ? window->frameGeometry()
                                                        : screen()->availableGeometry();
  QRect place(QPoint(), size());
  place.moveCenter(area.center());
  move(place.topLeft());
  show();
  raise();
  repaint();
}

QString SplashScreen::VersionText(const std::string& version) {
  const QStringList parts = QString::fromStdString(version).split(QLatin1Char('.'));
  const auto part = [&parts](int i) { return i < parts.size() ? parts[i].toInt() : 0; };
  return QStringLiteral("Version %1.%2\nBuild (%3.%4)")
      .arg(part(0))
      .arg(part(1))
      .arg(part(2))
      .arg(part(3));
}

QString SplashScreen::VersionText() {
  return VersionText(ProgramVersion());
}

QPixmap SplashScreen::Picture(const QString& versionText) {
  QPixmap picture(kWidth, kHeight);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, kWidth, kHeight);
  sky.setColorAt(0, Qt::white);
  sky.setColorAt(0.55, QColor(0xe6, 0xf1, 0xfb));
  sky.setColorAt(1, QColor(0xb8, 0xd7, 0xf2));
  p.fillRect(picture.rect(), sky);

  // A band along the top with the program's name.
  QLinearGradient band(0, 0, 0, 70);
  band.setColorAt(0, QColor(0x3d, 0x8a, 0xd6));
  band.setColorAt(1, kDeepBlue);
  p.fillRect(QRect(0, 0, kWidth, 70), band);
  QFont title(QStringLiteral("Arial"));
  title.setStyleHint(QFont::SansSerif);
  title.setPixelSize(34);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRect(20, 0, kWidth - 40, 62), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Trawlix() PRO"));
  QFont tagline(QStringLiteral("Arial"));
  tagline.setStyleHint(QFont::SansSerif);
  tagline.setPixelSize(13);
  p.setFont(tagline);
  p.setPen(QColor(0x1d, 0x4f, 0x86));
  p.drawText(QRect(20, kHeight - 30, kWidth - 40, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Photo harvester"));

  DrawPhoto(p, QRectF(28, 92, 92, 70), -8);
  DrawPhoto(p, QRectF(98, 100, 92, 70), 6);
  DrawPhoto(p, QRectF(62, 124, 92, 70), -1);

  // The version, where the picture leaves room for it.
  QFont version(QStringLiteral("Arial"));
  version.setStyleHint(QFont::SansSerif);
  version.setPixelSize(18);
  version.setWeight(QFont::Bold);
  p.setFont(version);
  p.setPen(QColor(255, 0, 0));
  p.drawText(QRect(QPoint(226, 100), QPoint(350, 149)), Qt::TextWordWrap, versionText);

  p.setPen(QColor(0x1d, 0x4f, 0x86, 120));
  p.setBrush(Qt::NoBrush);
  p.drawRect(picture.rect().adjusted(0, 0, -1, -1));
  p.end();
  return picture;
}

bool SplashScreen::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Claim the key so no shortcut fires; its key press then closes the splash below.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
      if (isVisible()) close();
      return true;
    default:
      return QSplashScreen::eventFilter(watched, event);
  }
}

}  // namespace trawlix::app
