#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

#include "ui/FramedPanel.h"

namespace trawlix::ui {

// The line above the viewer that describes one photo: its name (or full path), its size
// in pixels and bytes, and its time.
class PhotoInfoPanel : public FramedPanel {
  Q_OBJECT

 public:
  struct Photo {
    QString path;
    QString name;
    int width = -1;
    int height = -1;
    std::int64_t bytes = 0;
    QDateTime time;
  };

  explicit PhotoInfoPanel(QWidget* parent = nullptr);

  void setPhoto(const Photo& photo);
  void clear();
  bool hasPhoto() const { return !photo_.path.isEmpty(); }
  const Photo& photo() const { return photo_; }

  // The three texts as painted: name (the whole path while the window is maximised, as it
  // has room for it), size, time.
  QString nameText() const;
  QString sizeText() const;
  QString timeText() const;

 protected:
  void PaintTexts(QPainter& painter, const QRect& area) override;

 private:
  void UpdateAccessibleText();
  bool FullPath() const;

  Photo photo_;
};

}  // namespace trawlix::ui
