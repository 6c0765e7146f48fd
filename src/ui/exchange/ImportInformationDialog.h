#pragma once

#include <QDialog>
#include <string>

#include "exchange/ExchangeFile.h"

class QFormLayout;

namespace trawlix::ui {

// What an exchange file is: its name, folder, date and number of projects, who made it and
// the description it carries.
class ImportInformationDialog : public QDialog {
  Q_OBJECT

 public:
  ImportInformationDialog(const std::string& path, const exchange::ExchangeFile& file,
                          QWidget* parent = nullptr);

  // The shown value of a row, by its caption ("Projects:"); empty when there is none.
  QString value(const QString& caption) const;

 private:
  QFormLayout* form_;
};

}  // namespace trawlix::ui
