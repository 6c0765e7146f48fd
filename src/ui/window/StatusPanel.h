#pragma once

#include <QString>

#include "ui/FramedPanel.h"

namespace trawlix::ui {

// A one-line panel under the viewer and the lists: a status text on the left (grey, cut
// with an ellipsis when it does not fit) and a detail text on the right (blue).
class StatusPanel : public FramedPanel {
  Q_OBJECT

 public:
  explicit StatusPanel(QWidget* parent = nullptr);

  void setStatus(const QString& text);
  void setDetail(const QString& text);
  void clear();
  const QString& status() const { return status_; }
  const QString& detail() const { return detail_; }

 protected:
  void PaintTexts(QPainter& painter, const QRect& area) override;

 private:
  void UpdateAccessibleText();

  QString status_;
  QString detail_;
};

}  // namespace trawlix::ui
