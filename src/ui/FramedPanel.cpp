#include "ui/FramedPanel.h"

#include <QPainter>

namespace trawlix::ui {

namespace {

constexpr QRgb kLineColor = qRgb(0xC0, 0xC0, 0xC0);
constexpr int kMarginY = 2;

}  // namespace

FramedPanel::FramedPanel(const QString& accessibleName, QWidget* parent)
    : QFrame(parent), background_(FromColorRef(0xEBEBEB)) {
  QFont bold = font();
  bold.setBold(true);
  bold.setPointSize(10);
  setFont(bold);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAccessibleName(accessibleName);
}

QColor FramedPanel::FromColorRef(int colorRef) {
  return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

void FramedPanel::setPanelColor(int colorRef) {
  background_ = FromColorRef(colorRef);
  update();
}

QSize FramedPanel::sizeHint() const {
  return {400, fontMetrics().height() + 2 * kMarginY + 8};
}

QSize FramedPanel::minimumSizeHint() const {
  return {100, sizeHint().height()};
}

void FramedPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect all = rect();
  painter.fillRect(all, background_);
  painter.setPen(QColor(kLineColor));
  painter.drawLine(all.topLeft(), all.topRight());
  painter.drawLine(all.bottomLeft(), all.bottomRight());
  PaintTexts(painter, all.adjusted(kMarginX, kMarginY, -kMarginX, -kMarginY));
}

}  // namespace trawlix::ui
