#pragma once

#include <cstdint>
#include <string>

#include "imaging/PhotoCodec.h"
#include "imaging/PhotoFormat.h"
#include "scan/ScanHost.h"
#include "scan/ScanOptions.h"
#include "scan/ScanThreadBlock.h"
#include "storage/ProjectsRecord.h"

namespace trawlix {

class CXWebFile;

// What the photo processor works with, copied when it starts.
struct PhotoJob {
  CProjectsRecord project;
  ScanOptions options;
  std::string startFolderPath;  // folder path of the scan's start URL
  std::uint64_t workerId = 0;
};

// The photo processor: takes queued photos one at a time from the host, downloads each into
// the temporary folder, checks it against the project's filters, names it, stores it with its
// thumbnail and mobile copies, and reports every step to the host.
class PhotoProcessor {
 public:
  PhotoProcessor(const PhotoJob& job, ScanHost& host, ScanThreadBlock& block, CXWebFile& web,
                 ScanCounters& counters);

  // The whole run; returns how it ended. Does not arm the end timer.
  WorkerEnd Run();

 private:
  enum class Outcome { Saved, DownloadFailed, TempMissing, Rejected, Stopped };

  Outcome Process(const NextPhotoRequest& request);
  bool Validate(const std::string& tempPath, PhotoSize& size, PhotoOrientation& orientation) const;
  std::string FinalPath(const std::string& target, const std::string& downloadName) const;
  bool ChooseAutoRenamePath(const std::string& folder, PhotoSize size,
                            const std::string& downloadName, std::string& target);
  void SaveCopies(const std::string& tempPath, const std::string& finalPath,
                  PhotoOrientation orientation) const;
  bool SavePhoto(const std::string& tempPath, const std::string& finalPath) const;
  PhotoEncoding Encoding(PhotoFormat format) const;
  void Skip(const std::string& tempPath);
  bool Reencodes() const;

  const PhotoJob& job_;
  const CProjectsRecord& project_;
  ScanHost& host_;
  ScanThreadBlock& block_;
  CXWebFile& web_;
  ScanCounters& counters_;
  int renameCounter_ = 0;
  bool anyDownload_ = false;
};

// The photo-processor thread: runs a PhotoProcessor, never lets an error escape, and ends
// by arming timer 1032 (stopped) or 1033 (finished) and marking the block ended.
void PhotoProcessorThread(const PhotoJob& job, ScanHost& host, ScanThreadBlock& block,
                          CXWebFile& web, ScanCounters& counters);

}  // namespace trawlix
