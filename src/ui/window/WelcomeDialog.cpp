#include "ui/window/WelcomeDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "storage/DatabaseSeed.h"
#include "ui/Icons.h"

namespace trawlix::ui {

WelcomeDialog::WelcomeDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Welcome to Trawlix() PRO"));
  setWindowIcon(Icon(IconName::Application));

  auto* page = new QTextBrowser(this);
  page->setAccessibleName(QStringLiteral("Welcome"));
  page->setOpenLinks(false);
  page->setHtml(PageText());
  page->setFrameShape(QFrame::NoFrame);
  page->viewport()->setAutoFillBackground(false);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setAccessibleName(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(page);
  layout->addWidget(buttons);

  setTabOrder(ok, page);
  ok->setFocus();
  resize(540, 470);
}

QString WelcomeDialog::PageText() {
  return QStringLiteral(
             "<h2>Welcome to Trawlix() PRO</h2>"
             "<p>Trawlix() PRO visits the web pages you name, picks out the photos you want "
             "and stores them in your folders, named and sized as you like.</p>"
             "<p>To get you going, your project list already holds three sample projects in "
             "the category <b>%1</b>:</p>"
             "<ul>"
             "<li><b>NASA Image of the Day</b>: wide landscape photos of at least 600 pixels, "
             "made to fit into 1800 pixels.</li>"
             "<li><b>Livia Brandt</b>: portrait photos from three gallery pages, renamed as "
             "they arrive.</li>"
             "<li><b>Marisol Fenwick</b>: photos of at least 450 pixels, converted to "
             "PNG.</li>"
             "</ul>"
             "<h3>Where to start</h3>"
             "<ol>"
             "<li>Select a project in the project list.</li>"
             "<li>Press the green <b>Start</b> button. The photos appear in the viewer as they "
             "are saved.</li>"
             "<li>To harvest a site of your own, press <b>New Project</b> and give it a name "
             "and a start address.</li>"
             "</ol>"
             "<p>Open a sample with <b>Edit Project</b> to see how its filters and "
             "post-processing are set up.</p>")
      .arg(QString::fromUtf8(kSampleProjectsCategory).toHtmlEscaped());
}

}  // namespace trawlix::ui
