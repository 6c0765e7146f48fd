#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QLabel;

namespace trawlix::ui {

// A photo's preview beside its file and picture details.
class PhotoPropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PhotoPropertiesDialog(const std::string& photoPath, QWidget* parent = nullptr);

  // "Label: value" lines as shown, for the tests.
  QString detailsText() const { return details_; }
  bool hasPreview() const { return hasPreview_; }

 private:
  QString details_;
  bool hasPreview_ = false;
};

}  // namespace trawlix::ui
