#include "ui/options/OptionsControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

#include "operations/OptionsSchema.h"

namespace trawlix::ui::options {

void AddRow(QFormLayout* form, const QString& caption, QWidget* field) {
  auto* label = new QLabel(caption, form->parentWidget());
  label->setBuddy(field);
  field->setAccessibleName(SpokenText(caption));
  form->addRow(label, field);
}

namespace {

template <class Control>
void Limit(Control* control, std::string_view option) {
  const OptionRule* rule = FindOption(option);
  control->setObjectName(QString::fromUtf8(option.data(), static_cast<qsizetype>(option.size())));
  if (rule != nullptr) control->setRange(rule->low, rule->high);
}

}  // namespace

void LimitToOption(QSpinBox* spin, std::string_view option) {
  Limit(spin, option);
}

void LimitToOption(QSlider* slider, std::string_view option) {
  Limit(slider, option);
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

}  // namespace trawlix::ui::options
