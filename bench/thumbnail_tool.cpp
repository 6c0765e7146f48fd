// Resized copies for the thumbnail benchmark (thumbnails.sh), and the photos it uses.
//   thumbnail_tool copies BOX QUALITY OUTDIR PHOTO...    one SaveResizedCopy per photo
//   thumbnail_tool tool BOX QUALITY OUTDIR FOLDER        the thumbnails tool over a folder
//   thumbnail_tool generate COUNT WIDTH HEIGHT OUTDIR    photo-like JPEGs
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vips/vips8>

#include "imaging/codec/PhotoCodec.h"
#include "imaging/tools/BatchJob.h"
#include "imaging/tools/ThumbnailTool.h"

namespace {

using vips::VImage;

int MakeCopies(int box, int quality, const std::string& folder, int count, char** photos) {
  int failed = 0;
  for (int i = 0; i < count; ++i) {
    const trawlix::SavedPhoto copy =
        trawlix::SaveResizedCopy(folder, "", photos[i], box, {trawlix::PhotoFormat::Jpeg, quality});
    if (!copy.written) {
      std::fprintf(stderr, "not written: %s\n", photos[i]);
      ++failed;
    }
  }
  return failed == 0 ? 0 : 1;
}

// The desktop tool's own run: work list, one step per photo, failures counted.
int RunTool(int box, int quality, const std::string& outFolder, const std::string& folder) {
  trawlix::ThumbnailToolOptions options;
  options.thumbnails.create = true;
  options.thumbnails.box = box;
  options.thumbnails.folder = outFolder;
  options.jpegQuality = quality;
  trawlix::ThumbnailTool tool(trawlix::BatchWorkList(folder, outFolder, ""), options);
  if (!tool.Prepare()) return 1;
  trawlix::RunBatchJob(tool);
  for (const std::string& photo : tool.Failures())
    std::fprintf(stderr, "failed: %s\n", photo.c_str());
  return tool.Failures().empty() ? 0 : 1;
}

// Smooth colour fields with fine grain, so the files compress and decode like photos.
int Generate(int count, int width, int height, const std::string& folder) {
  const int margin = 400;
  VImage xy = VImage::xyz(width + margin, height + margin);
  VImage x = xy[0];
  VImage y = xy[1];
  // vips' trigonometry works in degrees.
  VImage red = (x * 0.19).sin() * 90 + 128;
  VImage green = (y * 0.3).cos() * 90 + 128;
  VImage blue = ((x + y) * 1.0).sin() * 50 + (x * y * 1.0e-3).cos() * 40 + 128;
  VImage grain = VImage::gaussnoise(width + margin, height + margin,
                                    VImage::option()->set("sigma", 6.0)->set("mean", 0.0));
  VImage base = (red.bandjoin(green).bandjoin(blue) + grain).cast(VIPS_FORMAT_UCHAR).copy_memory();
  base = base.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  for (int i = 0; i < count; ++i) {
    const int left = (i * 37) % margin;
    const int top = (i * 53) % margin;
    char name[64];
    std::snprintf(name, sizeof name, "/photo%03d.jpg", i);
    base.crop(left, top, width, height)
        .jpegsave((folder + name).c_str(), VImage::option()->set("Q", 90));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  trawlix::InitImaging();
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "copies" && argc >= 5) {
    return MakeCopies(std::atoi(argv[2]), std::atoi(argv[3]), argv[4], argc - 5, argv + 5);
  }
  if (command == "tool" && argc == 6) {
    return RunTool(std::atoi(argv[2]), std::atoi(argv[3]), argv[4], argv[5]);
  }
  if (command == "generate" && argc == 6) {
    return Generate(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
  }
  std::fprintf(stderr,
               "usage: thumbnail_tool copies BOX QUALITY OUTDIR PHOTO...\n"
               "       thumbnail_tool tool BOX QUALITY OUTDIR FOLDER\n"
               "       thumbnail_tool generate COUNT WIDTH HEIGHT OUTDIR\n");
  return 2;
}
