#include "ui/viewer/PhotoCommandsMenu.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <filesystem>

#include "base/MessageBox.h"
#include "imaging/codec/PhotoFormat.h"
#include "operations/DataSession.h"
#include "platform/DesktopImageEditor.h"
#include "ui/ConfirmQuestion.h"
#include "ui/viewer/PhotoPropertiesDialog.h"

namespace trawlix::ui {

namespace fs = std::filesystem;

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

bool StartDetached(const DesktopCommand& command) {
  QStringList arguments;
  for (const std::string& argument : command.arguments) arguments << Q(argument);
  return QProcess::startDetached(Q(command.program), arguments);
}

QString ChooseTarget(QWidget* parent, const QString& suggestedPath, const QString& filter) {
  QFileDialog dialog(parent, QObject::tr("Copy Photo to..."));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(QFileInfo(suggestedPath).suffix());
  dialog.selectFile(suggestedPath);
  // Wide enough for the size and date columns to show whole.
  dialog.resize(dialog.sizeHint().expandedTo(QSize(820, 480)));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

// The screen in device pixels: what a wallpaper is fitted to.
PhotoSize ScreenSize(const QWidget* parent) {
  const QScreen* screen = parent != nullptr && parent->screen() != nullptr
                              ? parent->screen()
                              : QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QSize size = screen->size() * screen->devicePixelRatio();
  return {size.width(), size.height()};
}

}  // namespace

PhotoCommandsMenu::PhotoCommandsMenu(DataSession& session, MessageSink& messages, QWidget* parent)
    : QObject(parent),
      session_(session),
      messages_(messages),
      parent_(parent),
      desktop_(CurrentDesktop()),
      folders_(ApplicationFolders()) {
  chooseTarget_ = [this](const QString& suggested, const QString& filter) {
    return ChooseTarget(parent_, suggested, filter);
  };
  launch_ = StartDetached;
  BuildMenu();
}

void PhotoCommandsMenu::BuildMenu() {
  menu_ = new QMenu(parent_);
  menu_->setObjectName(QStringLiteral("photoCommandsMenu"));
  menu_->setAccessibleName(tr("Photo Commands"));
  const auto add = [this](QMenu* menu, const QString& text, auto run) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, run);
    return action;
  };
  add(menu_, tr("View Photo"), [this] { ViewPhoto(); });
  add(menu_, tr("Edit Photo"), [this] { EditPhoto(); });
  add(menu_, tr("E-mail Photo"), [this] { EmailPhoto(); });
  menu_->addSeparator();
  deletePhoto_ = add(menu_, tr("Delete Photo"), [this] { DeletePhoto(); });
  menu_->addSeparator();
  const std::pair<QString, PhotoTransform> transforms[] = {
      {tr("Rotate Right 90º"), PhotoTransform::RotateRight},
      {tr("Mirror Photo"), PhotoTransform::Mirror},
      {tr("Flip Top-Bottom"), PhotoTransform::FlipTopBottom},
      {tr("Convert to Grayscale"), PhotoTransform::Grayscale},
  };
  for (const auto& [text, transform] : transforms) {
    add(menu_, text, [this, t = transform] {
      // Ctrl held while choosing the entry asks for a new photo whatever the options say.
      Transform(t, QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier));
    });
  }
  menu_->addSeparator();
  add(menu_, tr("Copy Photo to..."), [this] { CopyPhotoTo(); });
  add(menu_, tr("Copy Photo to Clipboard"), [this] { CopyPhotoToClipboard(); });
  add(menu_, tr("Copy Photo Path to Clipboard"), [this] { CopyPhotoPathToClipboard(); });
  menu_->addSeparator();
  QMenu* background = menu_->addMenu(tr("Set Desktop Background"));
  const std::pair<QString, WallpaperStyle> styles[] = {
      {tr("Tiled"), WallpaperStyle::Tiled},
      {tr("Stretched"), WallpaperStyle::Stretched},
      {tr("Centered"), WallpaperStyle::Centered},
      {tr("Centered (Resized)"), WallpaperStyle::CenteredResized},
  };
  for (const auto& [text, style] : styles) {
    add(background, text, [this, s = style] { SetDesktopBackground(s); });
  }
  background->addSeparator();
  add(background, tr("Fit"), [this] { SetDesktopBackground(WallpaperStyle::Fit); });
  clearBackground_ =
      add(menu_, tr("Clear Desktop Background"), [this] { ClearDesktopBackground(); });
  menu_->addSeparator();
  add(menu_, tr("Open Containing Folder"), [this] { OpenContainingFolder(); });
  menu_->addSeparator();
  add(menu_, tr("Properties"), [this] { ShowProperties(); });
}

void PhotoCommandsMenu::SetPhotos(std::vector<std::string> paths, int current,
                                  VisibleRows visible) {
  paths_ = std::move(paths);
  current_ = current >= 0 && current < static_cast<int>(paths_.size()) ? current : -1;
  visible_ = visible;
}

std::string PhotoCommandsMenu::currentPath() const {
  return current_ >= 0 ? paths_[static_cast<std::size_t>(current_)] : std::string();
}

void PhotoCommandsMenu::Popup(const QPoint& globalPos) {
  // Clearing the background needs no photo; everything else does.
  for (QAction* action : menu_->actions()) {
    if (!action->isSeparator()) action->setEnabled(current_ >= 0 || action == clearBackground_);
  }
  if (!deleteAllowed_) deletePhoto_->setEnabled(false);
  menu_->popup(globalPos);
}

void PhotoCommandsMenu::Tell(const std::string& text) {
  MessageRequest request{text};
  request.icon = MessageIcon::Warning;
  messages_.Show(request);
}

void PhotoCommandsMenu::ViewPhoto() {
  const std::string path = currentPath();
  if (path.empty()) return;
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)))) {
    Tell("The photo '" + fs::path(path).filename().string() +
         "' could not be opened: no program of the desktop shows photos of this kind.");
  }
}

void PhotoCommandsMenu::EditPhoto() {
  const std::string path = currentPath();
  if (path.empty()) return;
  const std::string mimeType = PhotoFormatMimeType(PhotoFormatFromPath(path));
  if (const auto editor = ImageEditorCommand(folders_, mimeType, path)) {
    if (launch_(*editor)) return;
  }
  // Without an image editor the desktop's own program for the photo is the next best.
  ViewPhoto();
}

void PhotoCommandsMenu::EmailPhoto() {
  const std::string path = currentPath();
  if (path.empty()) return;
  if (!launch_(EmailPhotoCommand(path))) {
    Tell("The photo could not be e-mailed: the desktop's 'xdg-email' program was not found.");
  }
}

bool PhotoCommandsMenu::AskToDelete(const std::string& path) {
  return AskUnlessSwitchedOff(messages_, session_.settings(), DeletePhotoQuestion(path),
                              session_.settings().Values().confirmDeletePhotos);
}

void PhotoCommandsMenu::DeletePhoto() {
  const std::string path = currentPath();
  if (path.empty() || !AskToDelete(path)) return;
  if (!DeletePhotoFile(path)) {
    Tell(DeleteFailureText(path));
    return;
  }
  const int index = current_;
  paths_.erase(paths_.begin() + index);
  Q_EMIT photoRemoved(index, Q(path));
  current_ = CurrentAfterDelete(index, static_cast<int>(paths_.size()), visible_);
  Q_EMIT currentChanged(current_);
}

void PhotoCommandsMenu::Transform(PhotoTransform transform, bool controlHeld) {
  const std::string path = currentPath();
  if (path.empty()) return;
  const TransformResult result = TransformPhoto(
      path, transform, TransformReplacesPhoto(session_.settings().Values(), controlHeld));
  switch (result.outcome) {
    case TransformOutcome::Replaced:
      Q_EMIT photoChanged(Q(path));
      return;
    case TransformOutcome::Copied: {
      // The viewer's order: by path, letter case aside.
      const QString added = Q(result.path);
      const auto at = std::find_if(paths_.begin(), paths_.end(), [&added](const std::string& p) {
        return Q(p).compare(added, Qt::CaseInsensitive) > 0;
      });
      current_ = static_cast<int>(at - paths_.begin());
      paths_.insert(at, result.path);
      Q_EMIT photoAdded(current_, added);
      Q_EMIT currentChanged(current_);
      return;
    }
    case TransformOutcome::NoFreeName:
    case TransformOutcome::Failed:
      break;
  }
  Tell(TransformFailureText(result, path));
}

void PhotoCommandsMenu::CopyPhotoTo() {
  const std::string path = currentPath();
  if (path.empty()) return;
  const QString target = chooseTarget_(Q(path), Q(CopyPhotoFilter(path)));
  if (target.isEmpty()) return;
  if (!trawlix::CopyPhotoTo(path, target.toStdString())) {
    Tell("The photo could not be copied to '" + target.toStdString() + "'.");
    return;
  }
  Q_EMIT photoCopied(target);
}

void PhotoCommandsMenu::CopyPhotoToClipboard() {
  const std::string path = currentPath();
  if (path.empty()) return;
  QImageReader reader(Q(path));
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  if (image.isNull()) {
    Tell("The photo '" + fs::path(path).filename().string() + "' could not be read.");
    return;
  }
  QGuiApplication::clipboard()->setImage(image);
}

void PhotoCommandsMenu::CopyPhotoPathToClipboard() {
  const std::string path = currentPath();
  if (!path.empty()) QGuiApplication::clipboard()->setText(Q(path));
}

void PhotoCommandsMenu::SetDesktopBackground(WallpaperStyle style) {
  const std::string path = currentPath();
  std::error_code error;
  if (path.empty() || !fs::is_regular_file(path, error)) return;
  const std::string& wallpaper = session_.settings().Paths().wallpaperPath;
  if (!WriteWallpaper(path, wallpaper, style, ScreenSize(parent_))) {
    Tell("The photo '" + fs::path(path).filename().string() +
         "' could not be made into a desktop picture.");
    return;
  }
  const BackgroundResult result =
      trawlix::SetDesktopBackground(*runner_, desktop_, wallpaper, style);
  if (!result.applied) {
    Tell(result.message + "\n\nThe picture was saved as '" + wallpaper + "'.");
  }
}

void PhotoCommandsMenu::ClearDesktopBackground() {
  const BackgroundResult result = trawlix::ClearDesktopBackground(*runner_, desktop_);
  if (!result.applied) Tell(result.message);
}

void PhotoCommandsMenu::OpenContainingFolder() {
  const std::string path = currentPath();
  if (path.empty()) return;
  if (runner_->Run(ShowInFileManagerCommand(path)) == 0) return;
  // No file manager selects files on request: the folder alone is shown.
  const QString folder = Q(fs::path(path).parent_path().string());
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
    Tell("The folder '" + folder.toStdString() + "' could not be opened.");
  }
}

void PhotoCommandsMenu::ShowProperties() {
  const std::string path = currentPath();
  if (path.empty()) return;
  auto* dialog = new PhotoPropertiesDialog(path, parent_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

}  // namespace trawlix::ui
