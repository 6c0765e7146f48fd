#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "ui/window/CategoryNameDialog.h"

class QListWidget;
class QPushButton;

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

namespace trawlix::ui {

// Lists the categories A to Z and adds, renames and deletes them. Deleted categories vanish
// from the list at once; they and the move of their projects are stored together when the
// dialog ends, however it ends, so no project is ever left without a category.
class CategoriesDialog : public QDialog {
  Q_OBJECT

 public:
  // Asks for a name, offering `text`; nothing when the user cancels.
  using NamePrompt =
      std::function<std::optional<QString>(CategoryNameDialog::Mode mode, const QString& text)>;

  CategoriesDialog(DataSession& session, MessageSink& messages, QWidget* parent = nullptr);
  ~CategoriesDialog() override;

  // Categories were added, renamed or deleted.
  bool changed() const { return changed_; }

  // Replaces the name dialog (tests answer without a nested event loop).
  void setNamePrompt(NamePrompt prompt) { prompt_ = std::move(prompt); }

  void done(int result) override;

 private:
  void Refill(int selectId);
  void UpdateButtons();
  bool CurrentIsEditable() const;
  void NewCategory();
  void EditCategory();
  void DeleteCategory();
  // Asks until the name is stored or the user cancels; `categoryId` -1 adds a category.
  void AskAndStore(CategoryNameDialog::Mode mode, int categoryId, const QString& current);
  bool IsPendingDeletionName(const QString& name) const;
  void ApplyDeletions();

  DataSession& session_;
  MessageSink& messages_;
  NamePrompt prompt_;
  QListWidget* list_;
  QPushButton* editButton_;
  QPushButton* deleteButton_;
  std::vector<int> deletedIds_;
  std::vector<QString> deletedNames_;
  bool changed_ = false;
};

}  // namespace trawlix::ui
