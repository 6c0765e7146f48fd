#include "ui/exchange/ImportExportDialogList.h"

#include "base/Number.h"
#include "ui/window/Profile.h"

namespace trawlix::ui {

namespace {

std::vector<MainWindowCheckList::Column> Columns(ImportExportDialogList::Keys keys) {
  const bool import = keys == ImportExportDialogList::Keys::Import;
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QObject::tr("Project"),
       import ? "IMPORT_COLUMN_PROJECTNAME" : "EXPORT_COLUMN_PROJECTNAME",
       left,
       {},
       true},
      {QObject::tr("Links"), import ? "IMPORT_COLUMN_LINKS" : "EXPORT_COLUMN_LINKS", right,
       QStringLiteral("Links")},
      {QObject::tr("Photos"), import ? "IMPORT_COLUMN_PHOTOS" : "EXPORT_COLUMN_PHOTOS", right,
       QStringLiteral("Photos")},
      {QObject::tr("Category"), import ? "IMPORT_COLUMN_CATEGORY" : "EXPORT_COLUMN_CATEGORY", left,
       QStringLiteral("Category")},
  };
}

}  // namespace

ImportExportDialogList::ImportExportDialogList(Keys keys, const QString& accessibleName,
                                               QWidget* parent)
    : MainWindowCheckList(accessibleName, Columns(keys), parent) {
  RestoreColumnWidths(Profile());
}

ImportExportDialogList::~ImportExportDialogList() {
  Profile profile;
  SaveColumnWidths(profile);
}

void ImportExportDialogList::AddProject(int id, const std::string& title, std::int64_t links,
                                        std::int64_t photos, const std::string& category,
                                        bool checked) {
  AddRow(id, {QString::fromStdString(title), QString::fromStdString(FormatThousands(links)),
              QString::fromStdString(FormatThousands(photos)), QString::fromStdString(category)});
  if (checked) topLevelItem(topLevelItemCount() - 1)->setCheckState(0, Qt::Checked);
}

QString ImportExportDialogList::titleAt(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item != nullptr ? item->text(0) : QString();
}

}  // namespace trawlix::ui
