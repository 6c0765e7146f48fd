#include "ui/tools/DeletePhotosToolDialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include "base/MessageBox.h"
#include "base/Number.h"
#include "base/Text.h"
#include "imaging/tools/DeletePhotosTool.h"

namespace trawlix::ui {

DeletePhotosToolDialog::DeletePhotosToolDialog(const ProjectsRecord& project, MessageSink& messages,
                                               QWidget* parent)
    : BatchToolDialog(project, messages, parent) {
  auto* options = new QWidget(this);
  auto* layout = new QVBoxLayout(options);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* text =
      new QLabel(tr("Deletes the photos in the project's 'Save To' folder and its sub-folders.\n"
                    "Thumbnails and mobile photos stay."),
                 options);
  layout->addWidget(text);
  Build(options, tr("&Delete"));
}

QString DeletePhotosToolDialog::Caption() const {
  return QString::fromStdString(
      Format("Delete Photos - %s, %s %s", project_.title.c_str(),
             FormatThousands(static_cast<std::int64_t>(workList().size())).c_str(),
             PhotoWord(workList().size())));
}

std::unique_ptr<BatchJob> DeletePhotosToolDialog::CreateJob() {
  if (workList().empty()) return nullptr;
  MessageRequest question;
  question.text = Format("Delete %s %s of the project %s?\n\nDeleted photos cannot be restored.",
                         FormatThousands(static_cast<std::int64_t>(workList().size())).c_str(),
                         PhotoWord(workList().size()), project_.title.c_str());
  question.icon = MessageIcon::Question;
  question.buttons = MessageButtons::YesNo;
  if (messages_.Show(question).answer != MessageAnswer::Yes) return nullptr;
  return std::make_unique<DeletePhotosTool>(workList());
}

}  // namespace trawlix::ui
