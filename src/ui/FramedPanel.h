#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

class QPainter;

namespace trawlix::ui {

// A one-line panel of the main window (the status line, the lists' summaries, the photo
// information): bold text on the settings' panel colour between two grey lines. Each kind
// paints its own texts inside the margins.
class FramedPanel : public QFrame {
  Q_OBJECT

 public:
  FramedPanel(const QString& accessibleName, QWidget* parent);

  // The settings keep the colour as a Windows COLORREF (0x00BBGGRR).
  void setPanelColor(int colorRef);
  static QColor FromColorRef(int colorRef);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  static constexpr QRgb kTextColor = qRgb(0x54, 0x54, 0x54);
  static constexpr QRgb kDetailColor = qRgb(0, 120, 222);
  static constexpr int kMarginX = 4;

  virtual void PaintTexts(QPainter& painter, const QRect& area) = 0;
  void paintEvent(QPaintEvent* event) final;

 private:
  QColor background_;
};

}  // namespace trawlix::ui
