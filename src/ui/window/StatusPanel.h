#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

namespace trawlix::ui {

// A one-line panel under the viewer and the lists: a status text on the left (grey, cut
// with an ellipsis when it does not fit) and a detail text on the right (blue).
class StatusPanel : public QFrame {
  Q_OBJECT

 public:
  explicit StatusPanel(QWidget* parent = nullptr);

  void setStatus(const QString& text);
  void setDetail(const QString& text);
  void clear();
  const QString& status() const { return status_; }
  const QString& detail() const { return detail_; }

  // The settings keep the colour as a Windows COLORREF (0x00BBGGRR).
  void setPanelColor(int colorRef);
  static QColor FromColorRef(int colorRef);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void UpdateAccessibleText();

  QString status_;
  QString detail_;
  QColor background_;
};

}  // namespace trawlix::ui
