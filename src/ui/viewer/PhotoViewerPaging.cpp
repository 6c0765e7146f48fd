#include "ui/viewer/PhotoViewerPaging.h"

#include <algorithm>

#include "ui/viewer/PhotoViewerLayout.h"

namespace trawlix::ui {

PhotoViewerPaging::PhotoViewerPaging() {
  SetViewIndex(0);
}

bool PhotoViewerPaging::singleView() const {
  return viewIndex_ == PhotoViewerLayout::kSingleView;
}

void PhotoViewerPaging::Reset(int count) {
  count_ = std::max(count, 0);
  firstShown_ = 0;
  selected_ = count_ > 0 ? 0 : -1;
}

void PhotoViewerPaging::SetViewIndex(int index) {
  const bool same = index == viewIndex_;
  const PhotoViewerView view = PhotoViewerLayout::View(index);
  viewIndex_ = std::clamp(index, PhotoViewerLayout::kSingleView, PhotoViewerLayout::kLastView);
  perPage_ = view.perPage;
  columns_ = view.columns;
  rows_ = view.rows;
  firstShown_ = same || selected_ < 0 ? 0 : PageStart(selected_);
  if (singleView() && count_ > 0) selected_ = firstShown_;
}

int PhotoViewerPaging::PageStart(int index) const {
  return index - index % perPage_;
}

bool PhotoViewerPaging::MoveTo(int first) {
  if (first == firstShown_) return false;
  firstShown_ = first;
  // One photo at a time: the photo shown is the one the commands work on.
  if (singleView() && count_ > 0) selected_ = firstShown_;
  return true;
}

bool PhotoViewerPaging::FirstPage() {
  return MoveTo(0);
}

bool PhotoViewerPaging::PreviousPage() {
  return MoveTo(std::max(0, firstShown_ - perPage_));
}

bool PhotoViewerPaging::NextPage() {
  if (firstShown_ + perPage_ >= count_) return false;
  return MoveTo(firstShown_ + perPage_);
}

bool PhotoViewerPaging::LastPage() {
  if (count_ == 0) return false;
  const int remainder = count_ % perPage_;
  return MoveTo(remainder == 0 ? count_ - perPage_ : count_ - remainder);
}

bool PhotoViewerPaging::ShowPageOf(int index) {
  if (index < 0 || index >= count_) return false;
  return MoveTo(PageStart(index));
}

void PhotoViewerPaging::Select(int index) {
  if (index < -1 || index >= count_) return;
  selected_ = index;
}

void PhotoViewerPaging::Inserted(int index) {
  ++count_;
  if (selected_ >= index) ++selected_;
  if (selected_ < 0) selected_ = 0;
}

void PhotoViewerPaging::Removed(int index) {
  if (index < 0 || index >= count_) return;
  --count_;
  if (count_ == 0) {
    firstShown_ = 0;
    selected_ = -1;
    return;
  }
  if (selected_ > index || selected_ == count_) --selected_;
  if (firstShown_ >= count_) firstShown_ = PageStart(count_ - 1);
  if (singleView()) firstShown_ = selected_;
}

int PhotoViewerPaging::shownCount() const {
  return std::clamp(count_ - firstShown_, 0, perPage_);
}

bool PhotoViewerPaging::IsShown(int index) const {
  return index >= firstShown_ && index < firstShown_ + shownCount();
}

}  // namespace trawlix::ui
