#include "ui/OptionsControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

namespace trawlix::ui::options {

QString SpokenText(const QString& caption) {
  QString text;
  text.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') text += u'&';
      ++i;
      if (i < caption.size() && caption[i] != u'&') text += caption[i];
      continue;
    }
    text += caption[i];
  }
  if (text.endsWith(u':')) text.chop(1);
  return text.trimmed();
}

void AddRow(QFormLayout* form, const QString& caption, QWidget* field) {
  auto* label = new QLabel(caption, form->parentWidget());
  label->setBuddy(field);
  field->setAccessibleName(SpokenText(caption));
  form->addRow(label, field);
}

void SetFlag(QAbstractButton* button, int value) {
  button->setChecked(value != 0);
}

int Flag(const QAbstractButton* button) {
  return button->isChecked() ? 1 : 0;
}

void SelectData(QComboBox* combo, int data) {
  const int index = combo->findData(data);
  combo->setCurrentIndex(index >= 0 ? index : 0);
}

int SelectedData(const QComboBox* combo, int fallback) {
  const QVariant data = combo->currentData();
  return data.isValid() ? data.toInt() : fallback;
}

void SelectOrAddText(QComboBox* combo, const QString& text) {
  int index = combo->findText(text, Qt::MatchFixedString);
  if (index < 0) {
    combo->addItem(text);
    index = combo->count() - 1;
  }
  combo->setCurrentIndex(index);
}

void AddFormatChoices(QComboBox* combo) {
  combo->addItem(QStringLiteral("JPEG (Joint Photographic Experts Group)"), 0);
  combo->addItem(QStringLiteral("PNG (Portable Network Graphics)"), 2);
  combo->addItem(QStringLiteral("BMP (Windows Bitmap Format)"), 1);
  combo->addItem(QStringLiteral("GIF (Graphics Interchange Format)"), 4);
  combo->addItem(QStringLiteral("TIFF (Tagged Image File Format)"), 3);
}

void AddOrientationChoices(QComboBox* combo) {
  combo->addItem(QStringLiteral("Any (Landscape or Portrait)"), 0);
  combo->addItem(QStringLiteral("Portrait (Photo Height > Photo Width)"), 1);
  combo->addItem(QStringLiteral("Landscape (Photo Width > Photo Height)"), 2);
}

}  // namespace trawlix::ui::options
