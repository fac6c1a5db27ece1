// SPDX-License-Identifier: GPL-3.0-or-later
#include "GalleryTestSupport.h"

#include "TestSupport.h"

namespace tessalune::test {

std::string SavedText(const TPicGallery& gallery) {
  Sandbox sandbox;
  const std::string file = sandbox.File("saved.gmf");
  gallery.SaveToFile(file);
  return ReadBytes(file);
}

void FillExampleGallery(TPicGallery& gallery) {
  gallery.Clear();
  gallery.SetOutputFolder("C:\\My Web\\holiday");
  gallery.SetTitle("Holiday pictures: three weeks by the sea, in sun, wind and a lot of rain");
  TImageFile* beach = gallery.AddFile("C:\\Photos\\beach.jpg");
  beach->Caption = "Sunset at the beach\r\n(it's cold)";
  gallery.AddFile("C:\\Photos\\harbour.jpg");
}

std::string ExampleGalleryText() {
  return CrLfLines({
      "object TPicGallery",
      "  ImageFiles = <",
      "    item",
      "      FileName = 'C:\\Photos\\beach.jpg'",
      "      Caption = 'Sunset at the beach'#13#10'(it'#39's cold)'",
      "    end",
      "    item",
      "      FileName = 'C:\\Photos\\harbour.jpg'",
      "    end>",
      "  OutputFolder = 'C:\\My Web\\holiday'",
      "  Template = 'Grid'",
      "  IconsFolder = 'thums'",
      "  ImagesFolder = 'images'",
      "  IconPrefix = 'th_'",
      "  FirstPageName = 'index.html'",
      "  IsCopyImages = False",
      "  IsConvertImages = False",
      "  ImageResize = False",
      "  ImageQuality = 85",
      "  ImageWidth = 800",
      "  ImageHeight = 600",
      "  IsCreateImagePages = True",
      "  IsNotOverrideImages = False",
      "  IsNotOverrideIcons = False",
      "  OverrideFiles = False",
      "  LaunchBrouser = True",
      "  IconWidth = 128",
      "  IconHeight = 96",
      "  IconQuality = 75",
      "  ColCount = 3",
      "  RowCount = 3",
      "  IsCellWidth = True",
      "  IsCellHeight = True",
      "  ColSpacing = 150",
      "  RowSpacing = 150",
      "  IsTableColor = True",
      "  TableColor = 16119285",
      "  IconBorder = 0",
      "  CellsSpacing = 2",
      "  CellsPadding = 3",
      "  LightBorderColor = clSilver",
      "  DarkBorderColor = clGray",
      "  Title = ",
      "    'Holiday pictures: three weeks by the sea, in sun, wind and a lot' +",
      "    ' of rain'",
      "  ShowIconCaption = False",
      "  ShowImageCaption = False",
      "  HideBanner = False",
      "  LinkColor = clBlue",
      "  ActiveLinkColor = clPurple",
      "  VisitedLinkColor = clPurple",
      "  TextColor = clBlack",
      "  BackgroundColor = clWhite",
      "  LinkSize = 0",
      "  ShowPageLink = True",
      "  IsThHomeLink = False",
      "  ThHomeLink = 'Home'",
      "  IsThPrevLink = True",
      "  ThPrevLink = 'PREV'",
      "  IsThNextLink = True",
      "  ThNextLink = 'NEXT'",
      "  IsImHomeLink = False",
      "  ImHomeLink = 'Home'",
      "  IsImPrevLink = True",
      "  ImPrevLink = 'PREV'",
      "  IsImThumbLink = True",
      "  ImThumbLink = 'Thumbnails'",
      "  IsImNextLink = True",
      "  ImNextLink = 'NEXT'",
      "end",
  });
}

}  // namespace tessalune::test
