#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace trawlix {

// One tool run over a list of photos, one photo per step, so that a worker thread can
// report progress and stop between photos. Every photo is whole after every step: a
// step either finishes its photo or leaves it as it was and lists it as failed.
class BatchJob {
 public:
  explicit BatchJob(std::vector<std::string> photos);
  virtual ~BatchJob() = default;
  BatchJob(const BatchJob&) = delete;
  BatchJob& operator=(const BatchJob&) = delete;

  std::size_t Count() const { return photos_.size(); }
  std::size_t NextIndex() const { return next_; }
  bool Done() const { return next_ >= photos_.size() || Cancelled(); }

  // May be called from any thread; the run stops before the next photo.
  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }

  // The status line before the next photo.
  virtual std::string ProgressText() const = 0;

  // Handles the next photo and moves on; false when it failed (it then joins Failures).
  bool Step();

  // The message shown when the run has ended.
  virtual std::string Summary() const = 0;

  const std::vector<std::string>& Failures() const { return failures_; }
  // The photos under their current names.
  const std::vector<std::string>& Photos() const { return photos_; }

 protected:
  // Works on photos_[index]; may change that entry when the photo moves.
  virtual bool Handle(std::size_t index) = 0;

  std::vector<std::string> photos_;

 private:
  std::size_t next_ = 0;
  std::vector<std::string> failures_;
  std::atomic<bool> cancelled_{false};
};

// Steps through the job until it is done or cancelled; `progress` gets the index and the
// status text before each photo. Returns the number of photos handled.
std::size_t RunBatchJob(BatchJob& job,
                        const std::function<void(std::size_t, const std::string&)>& progress = {});

// The photos every tool works on: the project's folder and its sub-folders, without the
// thumbnail and mobile folders, in ascending case-insensitive path order. ".jpeg" files
// are not part of it.
inline constexpr const char* kBatchPhotoMask = "*.jpg;*.png;*.bmp;*.tif;*.tiff;*.gif";
std::vector<std::string> BatchWorkList(const std::string& saveTo,
                                       const std::string& thumbnailFolder,
                                       const std::string& mobileFolder);

// "Photo" for exactly one, otherwise "Photos".
const char* PhotoWord(std::size_t count);

// The same folder as the file system sees it (links, "." and ".." resolved), ignoring letter
// case and a trailing slash.
bool SameFolder(const std::string& a, const std::string& b);

// A rename that never replaces a file; false when the target exists.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);
bool PathExists(const std::string& path);

// Deletes every photo (kBatchPhotoMask) directly in the folder; returns how many went.
std::size_t ClearPhotoFolder(const std::string& folder);

}  // namespace trawlix
