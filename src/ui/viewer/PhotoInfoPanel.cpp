#include "ui/viewer/PhotoInfoPanel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/viewer/PhotoViewerTexts.h"
#include "ui/window/StatusPanel.h"

namespace trawlix::ui {

namespace {

const QColor kTextColor(0x54, 0x54, 0x54);
const QColor kSizeColor(0, 120, 222);
const QColor kLineColor(0xC0, 0xC0, 0xC0);
constexpr int kAreaWidth = 130;
constexpr int kMarginX = 4;
constexpr int kMarginY = 2;

}  // namespace

PhotoInfoPanel::PhotoInfoPanel(QWidget* parent)
    : QFrame(parent), background_(StatusPanel::FromColorRef(0xEBEBEB)) {
  QFont bold = font();
  bold.setBold(true);
  bold.setPointSize(10);
  setFont(bold);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAccessibleName(tr("Photo Information"));
}

void PhotoInfoPanel::setPhoto(const Photo& photo) {
  photo_ = photo;
  UpdateAccessibleText();
  update();
}

void PhotoInfoPanel::clear() {
  setPhoto({});
}

bool PhotoInfoPanel::FullPath() const {
  return window() != this && window()->isMaximized();
}

void PhotoInfoPanel::setPanelColor(int colorRef) {
  background_ = StatusPanel::FromColorRef(colorRef);
  update();
}

QString PhotoInfoPanel::nameText() const {
  return FullPath() ? photo_.path : photo_.name;
}

QString PhotoInfoPanel::sizeText() const {
  if (!hasPhoto()) return {};
  return PhotoViewerTexts::SizeText(photo_.width, photo_.height, photo_.bytes);
}

QString PhotoInfoPanel::timeText() const {
  if (!hasPhoto() || !photo_.time.isValid()) return {};
  return PhotoViewerTexts::TimeText(photo_.time);
}

void PhotoInfoPanel::UpdateAccessibleText() {
  QStringList parts;
  for (const QString& part : {nameText(), sizeText().trimmed(), timeText()}) {
    if (!part.isEmpty()) parts << part;
  }
  setAccessibleDescription(parts.join(QStringLiteral(", ")));
}

QSize PhotoInfoPanel::sizeHint() const {
  return {400, fontMetrics().height() + 2 * kMarginY + 8};
}

QSize PhotoInfoPanel::minimumSizeHint() const {
  return {100, sizeHint().height()};
}

void PhotoInfoPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect all = rect();
  painter.fillRect(all, background_);
  painter.setPen(kLineColor);
  painter.drawLine(all.topLeft(), all.topRight());
  painter.drawLine(all.bottomLeft(), all.bottomRight());
  if (!hasPhoto()) return;

  const QRect area = all.adjusted(kMarginX, kMarginY, -kMarginX, -kMarginY);
  const QFontMetrics metrics = fontMetrics();
  const QString time = timeText();
  const QString size = sizeText();
  // The areas are 130 pixels unless the font needs more: a time is never cut.
  const int timeWidth = std::max(kAreaWidth, metrics.horizontalAdvance(time) + 4);
  const int sizeWidth = std::max(kAreaWidth, metrics.horizontalAdvance(size) + 4);
  const QRect timeArea(area.right() - timeWidth + 1, area.top(), timeWidth, area.height());
  const QRect sizeArea(timeArea.left() - sizeWidth, area.top(), sizeWidth, area.height());
  const QRect nameArea(area.left(), area.top(), std::max(0, sizeArea.left() - area.left()),
                       area.height());

  painter.setPen(kTextColor);
  painter.drawText(timeArea, Qt::AlignRight | Qt::AlignVCenter, time);
  painter.setPen(kSizeColor);
  painter.drawText(sizeArea, Qt::AlignRight | Qt::AlignVCenter, size);
  painter.setPen(kTextColor);
  painter.drawText(nameArea, Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(nameText(), FullPath() ? Qt::ElideMiddle : Qt::ElideRight,
                                      nameArea.width()));
}

}  // namespace trawlix::ui
