#include "ui/window/ProjectLinksList.h"

#include <QHeaderView>

#include "base/Number.h"
#include "operations/ProjectOperations.h"

namespace trawlix::ui {

ProjectLinksList::ProjectLinksList(QWidget* parent)
    : MainWindowCheckList(
          tr("Project Links"),
          {{tr("#"), "PROJECTLINKS_COLUMN_NUMBER", Qt::AlignRight},
           {tr("Date"), "PROJECTLINKS_COLUMN_DATE", Qt::AlignLeft, QStringLiteral("00/00/0000")},
           {tr("URL"), "PROJECTLINKS_COLUMN_URL", Qt::AlignLeft, {}, true},
           {tr("Photos"), "PROJECTLINKS_COLUMN_PHOTOS", Qt::AlignHCenter,
            QStringLiteral("00,000")}},
          parent) {
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(true);
  header()->setSortIndicator(0, Qt::AscendingOrder);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int section) {
    const auto column = static_cast<LinkSortColumn>(section);
    order_.ascending = order_.column == column ? !order_.ascending : true;
    order_.column = column;
    header()->setSortIndicator(section,
                               order_.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    Q_EMIT orderChanged();
  });
}

bool ProjectLinksList::Load(DataSession& session, int projectId) {
  const auto links = LoadProjectLinks(session, projectId, order_);
  BeginFill();
  int number = 0;
  if (links) {
    for (const ProjectLinksRecord& link : *links) {
      AddRow(link.id, {QString::number(++number), QString::fromStdString(link.date),
                       QString::fromStdString(link.url),
                       QString::fromStdString(FormatThousands(link.photos))});
    }
  }
  EndFill();
  return links.has_value();
}

void ProjectLinksList::Clear() {
  BeginFill();
  EndFill();
}

}  // namespace trawlix::ui
