#include "search/extras/preview_rules.h"

#include <gtest/gtest.h>

namespace sercavo {
namespace {

TEST(ViewerChoice, WholeEntriesOfTheListsIgnoringCase) {
  EXPECT_EQ(ChooseViewer(L"C:\\music\\song.MP3"), Viewer::Media);
  EXPECT_EQ(ChooseViewer(L"C:\\v\\movie.rm"), Viewer::Media);
  EXPECT_EQ(ChooseViewer(L"C:\\v\\clip.wmv"), Viewer::Media);
  EXPECT_EQ(ChooseViewer(L"C:\\v\\clip.asf"), Viewer::Media);
  EXPECT_EQ(ChooseViewer(L"C:\\x.ind"), Viewer::None);  // no longer found inside "find"
  EXPECT_EQ(ChooseViewer(L"C:\\x.find"), Viewer::None);
  EXPECT_EQ(ChooseViewer(L"C:\\x.iff"), Viewer::None);  // nor inside "tiff"
  EXPECT_EQ(ChooseViewer(L"C:\\p\\photo.jpeg"), Viewer::Picture);
  EXPECT_EQ(ChooseViewer(L"C:\\p\\scan.TIFF"), Viewer::Picture);
  EXPECT_EQ(ChooseViewer(L"C:\\w\\page.html"), Viewer::Web);
  EXPECT_EQ(ChooseViewer(L"C:\\w\\anim.swf"), Viewer::Web);
  EXPECT_EQ(ChooseViewer(L"C:\\w\\readme.TXT"), Viewer::Text);
  EXPECT_EQ(ChooseViewer(L"C:\\w\\setup.ini"), Viewer::Text);
  EXPECT_EQ(ChooseViewer(L"C:\\w\\data.xml"), Viewer::Text);
  EXPECT_EQ(ChooseViewer(L"C:\\v\\film.MOV"), Viewer::DefaultProgram);
  EXPECT_EQ(ChooseViewer(L"C:\\v\\film.flv"), Viewer::DefaultProgram);
  EXPECT_EQ(ChooseViewer(L"C:\\dir.jpg\\noext"), Viewer::None);
  EXPECT_EQ(ChooseViewer(L"C:\\a\\trailing."), Viewer::None);
  EXPECT_EQ(ChooseViewer(L""), Viewer::None);
}

TEST(ViewerChoice, CaptionNamesTheFile) {
  EXPECT_EQ(PreviewCaption(L"C:\\照片\\photo.jpeg"), L"窗口预览 - photo.jpeg");
  EXPECT_EQ(PreviewCaption(L"photo.jpeg"), L"窗口预览 - photo.jpeg");
}

TEST(PictureFitting, NarrowedThenLoweredNeverEnlargedAndCentred) {
  EXPECT_EQ(FitPicture(800, 600, 400, 400), (Box{0, 50, 400, 300}));
  EXPECT_EQ(FitPicture(600, 800, 400, 400), (Box{50, 0, 300, 400}));
  EXPECT_EQ(FitPicture(200, 100, 400, 400), (Box{100, 150, 200, 100}));
  EXPECT_EQ(FitPicture(400, 400, 400, 400), (Box{0, 0, 400, 400}));
  EXPECT_EQ(FitPicture(0, 0, 400, 400), (Box{200, 200, 0, 0}));
  EXPECT_EQ(FitPicture(1000, 10, 100, 100), (Box{0, 49, 100, 1}));
}

TEST(PictureDecoding, AtTheBoxsSizeWithinThePixelCap) {
  // A 12000 x 12000 picture for a 306-pixel box is decoded at the box's size, not its own.
  EXPECT_EQ(DecodeSize(12000, 12000, 306, 250, 1 << 24), (PixelSize{250, 250}));
  EXPECT_EQ(DecodeSize(800, 600, 400, 400, 1 << 24), (PixelSize{400, 300}));
  EXPECT_EQ(DecodeSize(200, 100, 400, 400, 1 << 24), (PixelSize{200, 100}));  // never enlarged
  // A box larger than the cap allows: the proportions kept within it.
  PixelSize capped = DecodeSize(40000, 20000, 40000, 20000, 1000000);
  EXPECT_LE(int64_t(capped.width) * capped.height, 1000000);
  EXPECT_NEAR(double(capped.width) / capped.height, 2.0, 0.01);
  EXPECT_EQ(DecodeSize(100000, 1, 50, 50, 1 << 24), (PixelSize{50, 1}));
  EXPECT_EQ(DecodeSize(0, 10, 50, 50, 1 << 24), (PixelSize{}));
  EXPECT_EQ(DecodeSize(10, 10, 0, 0, 1 << 24), (PixelSize{1, 1}));
}

}  // namespace
}  // namespace sercavo
