#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "scan/engine/ScanObserver.h"
#include "ui/window/DesktopNotifier.h"
#include "ui/window/ScanDesktopReport.h"

namespace trawlix {
class MessageSink;
}

namespace trawlix::ui {

class MainWindow;

// Hands the scan's reports to the main window and its pages as signals; every call comes on
// the GUI thread. The desktop hears of the scan too: task bar progress, and a notification at
// its end.
class MainWindowScan final : public QObject, public ScanObserver {
  Q_OBJECT

 public:
  MainWindowScan(MainWindow& window, MessageSink& messages);
  ~MainWindowScan() override;

  void OnProgress(const ScanProgress& progress) override;
  void OnPhotoSaved(const std::string& path) override;
  void OnScanStateChanged() override;
  void OnLinkStarted(const std::string& urlBoxText) override;
  void OnHistoryRowAdded(const ScanHistoryRecord& row) override;
  void OnProjectLinksChanged() override;
  void ShowResults(const std::string& text, bool warning) override;
  void OnScanEnded(const std::string& resultsText) override;

 Q_SIGNALS:
  void progressShown(const QString& pageLine, const QString& photoLine);
  void photoSaved(const std::string& path);
  void stateChanged();
  void linkStarted(const QString& urlBoxText);
  void historyRowAdded();
  void linksChanged();
  // The results are about to be shown: the window comes back first.
  void resultsComing();
  void ended();

 private:
  void ReportEnd(const std::string& resultsText);

  MainWindow& window_;
  MessageSink& messages_;
  std::unique_ptr<DesktopNotifier> notifier_;
  ScanDesktopReport desktop_;
};

}  // namespace trawlix::ui
