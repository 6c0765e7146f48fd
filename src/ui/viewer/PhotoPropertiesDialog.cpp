#include "ui/viewer/PhotoPropertiesDialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "operations/PhotoCommands.h"

namespace trawlix::ui {

namespace {

constexpr int kPreviewBox = 240;

}  // namespace

PhotoPropertiesDialog::PhotoPropertiesDialog(const std::string& photoPath, QWidget* parent)
    : QDialog(parent) {
  const QString path = QString::fromStdString(photoPath);
  setWindowTitle(tr("Photo Properties - %1").arg(QFileInfo(path).fileName()));

  auto* preview = new QLabel;
  preview->setObjectName(QStringLiteral("preview"));
  preview->setAlignment(Qt::AlignCenter);
  preview->setFixedSize(kPreviewBox + 8, kPreviewBox + 8);
  preview->setFrameShape(QFrame::StyledPanel);
  // Decoded at the preview's size, not whole.
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QSize full = reader.size();
  if (full.isValid()) {
    reader.setScaledSize(full.scaled(QSize(kPreviewBox, kPreviewBox), Qt::KeepAspectRatio)
                             .boundedTo(full)
                             .expandedTo(QSize(1, 1)));
  }
  const QImage image = reader.read();
  hasPreview_ = !image.isNull();
  if (hasPreview_) {
    preview->setPixmap(QPixmap::fromImage(image));
  } else {
    preview->setText(tr("No preview"));
  }
  preview->setAccessibleName(tr("Preview"));

  // The text comes as "Label:<tabs>value" lines.
  auto* form = new QFormLayout;
  QStringList lines;
  for (const QString& line :
       QString::fromStdString(PhotoPropertiesText(photoPath)).split(QLatin1Char('\n'))) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    const QString label = tab < 0 ? line : line.left(tab);
    const QString value = tab < 0 ? QString() : line.mid(tab).trimmed();
    auto* field = new QLabel(value);
    field->setTextFormat(Qt::PlainText);  // names and tags come from the web
    field->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    field->setAccessibleName(QString(label).remove(QLatin1Char(':')));
    auto* caption = new QLabel(label);  // a line without a tab is the photo's own name
    caption->setTextFormat(Qt::PlainText);
    form->addRow(caption, field);
    lines << label + QLatin1Char(' ') + value;
  }
  details_ = lines.join(QLatin1Char('\n'));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* close = buttons->button(QDialogButtonBox::Close);
  close->setText(tr("&Close"));
  close->setAccessibleName(tr("Close"));
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* body = new QHBoxLayout;
  body->addWidget(preview, 0, Qt::AlignTop);
  body->addLayout(form, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addWidget(buttons);
  close->setFocus();
}

}  // namespace trawlix::ui
