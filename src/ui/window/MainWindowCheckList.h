#pragma once

#include <QString>
#include <QTreeWidget>
#include <string_view>
#include <vector>

namespace trawlix::ui {

class Profile;

// A flat list with a check box in every row, each row carrying a database id: the common
// part of the project links and scan history lists.
class MainWindowCheckList : public QTreeWidget {
  Q_OBJECT

 public:
  struct Column {
    QString title;
    std::string_view profileKey;
    Qt::Alignment alignment;
    QString sample = {};  // the widest usual content: the column is never narrower
    bool fills = false;   // takes the width the other columns leave
  };

  MainWindowCheckList(const QString& accessibleName, std::vector<Column> columns,
                      QWidget* parent = nullptr);

  int rowCount() const { return topLevelItemCount(); }
  int checkedCount() const;
  // The ids of the checked rows, top to bottom.
  std::vector<int> checkedIds() const;
  int idAt(int row) const;
  // The row shown at the top, to come back to it after a refill; -1 when empty.
  int topRow() const;
  void scrollToTopRow(int row);

  void SelectAll() { SetChecks(Qt::Checked, false); }
  void DeselectAll() { SetChecks(Qt::Unchecked, false); }
  void InvertSelection() { SetChecks(Qt::Unchecked, true); }

  void RestoreColumnWidths(const Profile& profile);
  void SaveColumnWidths(Profile& profile) const;

 Q_SIGNALS:
  // A check box changed, by the user or by one of the select commands (once for all rows).
  void checksChanged();

 protected:
  // Appends a row: texts in column order, unchecked.
  void AddRow(int id, const QStringList& texts);
  void BeginFill();
  void EndFill();

 private:
  void SetChecks(Qt::CheckState state, bool invert);

  std::vector<Column> columns_;
  bool quiet_ = false;  // no checksChanged while rows are built or changed together
};

}  // namespace trawlix::ui
