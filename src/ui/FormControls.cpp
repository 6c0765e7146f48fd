#include "ui/FormControls.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include "imaging/codec/PhotoFormat.h"

namespace trawlix::ui {

void FillOrientationChoices(QComboBox* combo) {
  combo->addItem(QStringLiteral("Any (Landscape or Portrait)"), 0);
  combo->addItem(QStringLiteral("Portrait (Photo Height > Photo Width)"), 1);
  combo->addItem(QStringLiteral("Landscape (Photo Width > Photo Height)"), 2);
}

void FillFormatChoices(QComboBox* combo) {
  for (PhotoFormat format : {PhotoFormat::Jpeg, PhotoFormat::Png, PhotoFormat::Bmp,
                             PhotoFormat::Gif, PhotoFormat::Tif}) {
    combo->addItem(QString::fromStdString(PhotoFormatDisplayName(format)),
                   static_cast<int>(format));
  }
}

void SelectCode(QComboBox* combo, int code) {
  combo->setCurrentIndex(combo->findData(code));
}

int ChosenCode(const QComboBox* combo) {
  return combo->currentIndex() < 0 ? -1 : combo->currentData().toInt();
}

QString SpokenText(const QString& caption) {
  QString text = caption;
  // "&&" is a shown ampersand; a single "&" marks the mnemonic.
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  text = text.trimmed();
  if (text.endsWith(QLatin1Char(':'))) text.chop(1);
  return text;
}

void LabelField(QLabel* label, QWidget* field) {
  label->setBuddy(field);
  field->setAccessibleName(SpokenText(label->text()));
}

QPushButton* ApplyDefaultsButton(QWidget* page) {
  auto* button = new QPushButton(QStringLiteral("Apply Default Settings"), page);
  button->setObjectName(QStringLiteral("applyDefaults"));
  button->setAutoDefault(false);
  button->setAccessibleName(button->text());
  return button;
}

}  // namespace trawlix::ui
