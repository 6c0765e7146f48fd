#pragma once

namespace trawlix::ui {

// Which photos the viewer shows: the view, the first photo shown, the selection, and how
// they move when the user pages or the list grows or shrinks. No widget, no files.
class PhotoViewerPaging {
 public:
  PhotoViewerPaging();

  // A freshly loaded list: the first page, the first photo selected (none when empty).
  void Reset(int count);

  // The view already in use returns to the first page; another keeps the selected photo
  // on the page it shows.
  void SetViewIndex(int index);

  // Each returns true when the first photo shown changed.
  bool FirstPage();
  bool PreviousPage();
  bool NextPage();
  bool LastPage();
  // Shows the page that holds the photo.
  bool ShowPageOf(int index);

  // -1 clears the selection; an index outside the list is ignored.
  void Select(int index);

  // A photo was inserted at `index` of the list. The selection keeps its photo.
  void Inserted(int index);
  // The photo at `index` left the list. When it was the selected one, the photo that took
  // its place is selected (the new last one when it was the last); the page follows.
  void Removed(int index);

  int viewIndex() const { return viewIndex_; }
  int perPage() const { return perPage_; }
  int columns() const { return columns_; }
  int rows() const { return rows_; }
  int count() const { return count_; }
  int firstShown() const { return firstShown_; }
  int selected() const { return selected_; }
  bool singleView() const;
  bool atFirstPage() const { return firstShown_ == 0; }
  bool atLastPage() const { return firstShown_ + perPage_ >= count_; }
  // How many photos the page shows (fewer than per page on the last one).
  int shownCount() const;
  bool IsShown(int index) const;

 private:
  int PageStart(int index) const;
  bool MoveTo(int first);

  int viewIndex_ = 0;
  int perPage_ = 1;
  int columns_ = 1;
  int rows_ = 1;
  int count_ = 0;
  int firstShown_ = 0;
  int selected_ = -1;
};

}  // namespace trawlix::ui
