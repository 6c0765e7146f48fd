#pragma once

#include <QString>

class QAbstractButton;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QWidget;

// Small helpers the option pages share to make labelled, accessible controls.
namespace trawlix::ui::options {

// A caption as screen readers should hear it: "&&" as one "&", other "&" and a final ":" gone.
QString SpokenText(const QString& caption);

// A check box or radio button whose accessible name is its caption.
template <class Button>
Button* MakeButton(const QString& caption, QWidget* parent) {
  auto* button = new Button(caption, parent);
  button->setAccessibleName(SpokenText(caption));
  return button;
}

// Adds "caption field" to the form; the label is the field's buddy and names it.
void AddRow(QFormLayout* form, const QString& caption, QWidget* field);

// 0 or 1 in the settings; anything but 0 ticks the box.
void SetFlag(QAbstractButton* button, int value);
int Flag(const QAbstractButton* button);

// Selects the entry carrying `data`; the first entry when none does.
void SelectData(QComboBox* combo, int data);
int SelectedData(const QComboBox* combo, int fallback = 0);
// Selects the entry reading `text`, adding it last when it is not listed yet.
void SelectOrAddText(QComboBox* combo, const QString& text);

// Photo format choices (JPEG, PNG, BMP, GIF, TIFF) with their format codes.
void AddFormatChoices(QComboBox* combo);
// "Any", "Portrait" and "Landscape" with codes 0, 1 and 2.
void AddOrientationChoices(QComboBox* combo);

}  // namespace trawlix::ui::options
