#include "ui/window/StatusPanel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace trawlix::ui {

namespace {

constexpr int kMinimumStatusWidth = 180;

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : FramedPanel(tr("Status"), parent) {}

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

void StatusPanel::PaintTexts(QPainter& painter, const QRect& area) {
  const QFontMetrics metrics = fontMetrics();
  // The detail (counts, times) matters more than the status word: it keeps its full width
  // unless the panel is too narrow even for the status' minimum.
  const int wanted = detail_.isEmpty() ? 0 : metrics.horizontalAdvance(detail_) + 2;
  // A summary panel has no status text: its one text may use the whole width.
  const int detailWidth = status_.isEmpty()
                              ? std::min(wanted, area.width())
                              : std::min(wanted, std::max(0, area.width() - kMinimumStatusWidth));
  const int statusWidth = std::max(0, area.width() - detailWidth - kMarginX);

  painter.setPen(QColor(kTextColor));
  painter.drawText(QRect(area.left(), area.top(), statusWidth, area.height()),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(status_, Qt::ElideRight, statusWidth));
  painter.setPen(QColor(kDetailColor));
  painter.drawText(
      QRect(area.right() - detailWidth + 1, area.top(), detailWidth, area.height()),
      Qt::AlignRight | Qt::AlignVCenter,
      detailWidth >= wanted ? detail_ : metrics.elidedText(detail_, Qt::ElideMiddle, detailWidth));
}

}  // namespace trawlix::ui
