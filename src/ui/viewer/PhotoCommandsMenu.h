#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "operations/PhotoCommands.h"
#include "platform/DesktopBackground.h"
#include "platform/DesktopCommand.h"

class QAction;
class QMenu;
class QWidget;

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

namespace trawlix::ui {

// The pop-up menu of the photo viewer and the commands it runs on the current photo: view,
// edit, e-mail, delete, the four transforms, copies, desktop background, open the folder and
// properties. It works on a list of photo paths and reports what changed, so the viewer
// keeps its list in step.
class PhotoCommandsMenu : public QObject {
  Q_OBJECT

 public:
  PhotoCommandsMenu(DataSession& session, MessageSink& messages, QWidget* parent);

  // The photos in the viewer's order, the current one (-1: none) and the rows on show.
  void SetPhotos(std::vector<std::string> paths, int current, VisibleRows visible = {});
  const std::vector<std::string>& photos() const { return paths_; }
  int current() const { return current_; }
  // Empty when there is no current photo.
  std::string currentPath() const;

  QMenu* menu() const { return menu_; }
  void Popup(const QPoint& globalPos);
  // Whether "Delete Photo" is offered (not while a scan that does not follow its photos
  // stores into the folder under the photos' own names).
  void SetDeleteAllowed(bool allowed) { deleteAllowed_ = allowed; }

  // The commands, as the menu runs them.
  void ViewPhoto();
  void EditPhoto();
  void EmailPhoto();
  void DeletePhoto();
  void Transform(PhotoTransform transform, bool controlHeld);
  void CopyPhotoTo();
  void CopyPhotoToClipboard();
  void CopyPhotoPathToClipboard();
  void SetDesktopBackground(WallpaperStyle style);
  void ClearDesktopBackground();
  void OpenContainingFolder();
  void ShowProperties();

  // What the commands reach outside the program; tests put recorders in.
  using TargetChooser = std::function<QString(const QString& suggestedPath, const QString& filter)>;
  using Launcher = std::function<bool(const DesktopCommand& command)>;
  void SetTargetChooser(TargetChooser chooser) { chooseTarget_ = std::move(chooser); }
  void SetLauncher(Launcher launcher) { launch_ = std::move(launcher); }
  void SetCommandRunner(DesktopCommandRunner& runner) { runner_ = &runner; }
  void SetDesktop(DesktopKind desktop) { desktop_ = desktop; }
  void SetApplicationFolders(std::vector<std::string> folders) { folders_ = std::move(folders); }

 Q_SIGNALS:
  // The photo's file is gone and it left the list.
  void photoRemoved(int index, const QString& path);
  // The photo's file was replaced: its picture is made again.
  void photoChanged(const QString& path);
  // A new photo beside the others, already in the list.
  void photoAdded(int index, const QString& path);
  // "Copy Photo to..." wrote this file; it may lie in the viewer's folder.
  void photoCopied(const QString& path);
  // The current photo after a delete or a copy; -1 when none is left.
  void currentChanged(int index);

 private:
  void BuildMenu();
  bool AskToDelete(const std::string& path);
  void Tell(const std::string& text);

  DataSession& session_;
  MessageSink& messages_;
  QWidget* parent_;
  QMenu* menu_ = nullptr;
  QAction* deletePhoto_ = nullptr;
  bool deleteAllowed_ = true;
  QAction* clearBackground_ = nullptr;
  std::vector<std::string> paths_;
  int current_ = -1;
  VisibleRows visible_;

  TargetChooser chooseTarget_;
  Launcher launch_;
  DesktopProcessRunner processRunner_;
  DesktopCommandRunner* runner_ = &processRunner_;
  DesktopKind desktop_;
  std::vector<std::string> folders_;
};

}  // namespace trawlix::ui
