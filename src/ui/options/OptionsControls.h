#pragma once

#include <QString>
#include <string_view>

#include "ui/FormControls.h"

class QAbstractButton;
class QComboBox;
class QSlider;
class QSpinBox;
class QFormLayout;
class QGroupBox;
class QWidget;

// Small helpers the option pages share to make labelled, accessible controls.
namespace trawlix::ui::options {

using ui::SpokenText;

// A check box or radio button whose accessible name is its caption.
template <class Button>
Button* MakeButton(const QString& caption, QWidget* parent) {
  auto* button = new Button(caption, parent);
  button->setAccessibleName(SpokenText(caption));
  return button;
}

// Adds "caption field" to the form; the label is the field's buddy and names it.
void AddRow(QFormLayout* form, const QString& caption, QWidget* field);

// Takes the limits of the named option from the options schema and names the control after
// the option.
void LimitToOption(QSpinBox* spin, std::string_view option);
void LimitToOption(QSlider* slider, std::string_view option);

// Selects the entry carrying `data`; the first entry when none does.
void SelectData(QComboBox* combo, int data);
int SelectedData(const QComboBox* combo, int fallback = 0);
// Selects the entry reading `text`, adding it last when it is not listed yet.
void SelectOrAddText(QComboBox* combo, const QString& text);

using ui::FillFormatChoices;
using ui::FillOrientationChoices;

}  // namespace trawlix::ui::options
