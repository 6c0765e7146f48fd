#include "ui/viewer/PhotoInfoPanel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/viewer/PhotoViewerTexts.h"

namespace trawlix::ui {

namespace {

constexpr int kAreaWidth = 130;

}  // namespace

PhotoInfoPanel::PhotoInfoPanel(QWidget* parent) : FramedPanel(tr("Photo Information"), parent) {}

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

void PhotoInfoPanel::PaintTexts(QPainter& painter, const QRect& area) {
  if (!hasPhoto()) return;
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

  painter.setPen(QColor(kTextColor));
  painter.drawText(timeArea, Qt::AlignRight | Qt::AlignVCenter, time);
  painter.setPen(QColor(kDetailColor));
  painter.drawText(sizeArea, Qt::AlignRight | Qt::AlignVCenter, size);
  painter.setPen(QColor(kTextColor));
  painter.drawText(nameArea, Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(nameText(), FullPath() ? Qt::ElideMiddle : Qt::ElideRight,
                                      nameArea.width()));
}

}  // namespace trawlix::ui
