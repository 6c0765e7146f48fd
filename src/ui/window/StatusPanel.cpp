#include "ui/window/StatusPanel.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace trawlix::ui {

namespace {

const QColor kStatusColor(0x54, 0x54, 0x54);
const QColor kDetailColor(0, 120, 222);
const QColor kLineColor(0xC0, 0xC0, 0xC0);
constexpr int kMarginX = 4;
constexpr int kMarginY = 2;
constexpr int kMinimumStatusWidth = 180;

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent), background_(FromColorRef(0xEBEBEB)) {
  QFont bold = font();
  bold.setBold(true);
  bold.setPointSize(10);
  setFont(bold);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAccessibleName(tr("Status"));
}

QColor StatusPanel::FromColorRef(int colorRef) {
  return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

void StatusPanel::setPanelColor(int colorRef) {
  background_ = FromColorRef(colorRef);
  update();
}

void StatusPanel::setStatus(const QString& text) {
  if (text == status_) return;
  status_ = text;
  UpdateAccessibleText();
  update();
}

void StatusPanel::setDetail(const QString& text) {
  if (text == detail_) return;
  detail_ = text;
  UpdateAccessibleText();
  update();
}

void StatusPanel::clear() {
  setStatus({});
  setDetail({});
}

void StatusPanel::UpdateAccessibleText() {
  QString text = status_;
  if (!status_.isEmpty() && !detail_.isEmpty()) text += QStringLiteral(" - ");
  text += detail_;
  setAccessibleDescription(text);
}

QSize StatusPanel::sizeHint() const {
  return {400, fontMetrics().height() + 2 * kMarginY + 8};
}

QSize StatusPanel::minimumSizeHint() const {
  return {100, sizeHint().height()};
}

void StatusPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect all = rect();
  painter.fillRect(all, background_);
  painter.setPen(kLineColor);
  painter.drawLine(all.topLeft(), all.topRight());
  painter.drawLine(all.bottomLeft(), all.bottomRight());

  const QRect area = all.adjusted(kMarginX, kMarginY, -kMarginX, -kMarginY);
  const QFontMetrics metrics = fontMetrics();
  // The detail (counts, times) matters more than the status word: it keeps its full width
  // unless the panel is too narrow even for the status' minimum.
  const int wanted = detail_.isEmpty() ? 0 : metrics.horizontalAdvance(detail_) + 2;
  // A summary panel has no status text: its one text may use the whole width.
  const int detailWidth = status_.isEmpty()
                              ? std::min(wanted, area.width())
                              : std::min(wanted, std::max(0, area.width() - kMinimumStatusWidth));
  const int statusWidth = std::max(0, area.width() - detailWidth - kMarginX);

  painter.setPen(kStatusColor);
  painter.drawText(QRect(area.left(), area.top(), statusWidth, area.height()),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(status_, Qt::ElideRight, statusWidth));
  painter.setPen(kDetailColor);
  painter.drawText(
      QRect(area.right() - detailWidth + 1, area.top(), detailWidth, area.height()),
      Qt::AlignRight | Qt::AlignVCenter,
      detailWidth >= wanted ? detail_ : metrics.elidedText(detail_, Qt::ElideMiddle, detailWidth));
}

}  // namespace trawlix::ui
