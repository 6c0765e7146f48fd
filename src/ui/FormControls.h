#pragma once

class QComboBox;
class QLabel;
class QPushButton;
class QString;
class QWidget;

namespace trawlix::ui {

// Small helpers the project sheet and the options sheet share.

// The code lists of the photo format and orientation combo boxes: each item carries its
// stored code as item data, and the box selects by code.
void FillOrientationChoices(QComboBox* combo);
void FillFormatChoices(QComboBox* combo);

// Selects the item whose data is `code`; none (index -1) for a code the list lacks.
void SelectCode(QComboBox* combo, int code);
// The chosen item's code, or -1 when nothing is chosen.
int ChosenCode(const QComboBox* combo);

// Ties a label to its field: the label's mnemonic moves the focus there, and the field is
// announced by the label's text.
void LabelField(QLabel* label, QWidget* field);

// A caption as screen readers should say it: without mnemonic markers and trailing colon.
QString SpokenText(const QString& caption);

// The project sheet pages' "Apply Default Settings" button; Enter never presses it.
QPushButton* ApplyDefaultsButton(QWidget* page);

}  // namespace trawlix::ui
