// SPDX-License-Identifier: GPL-3.0-or-later
// Publishes a sample gallery from one template, for the template's
// screenshot: draws a dozen landscape pictures, builds a gallery with
// descriptions and two thumbnail pages, and publishes it. With "long", the
// pictures have long names and long descriptions, to see how a template
// copes with them.
//
//   tessalune_publish_sample <templates folder> <template> <output folder> [long]
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <filesystem>
#include <iostream>

#include "GalleryProp.h"
#include "Globals.h"
#include "PageGen.h"

namespace tessalune {
namespace {

// A landscape: a sky gradient, a sun and two mountain ranges, varied by n.
QImage Landscape(int n) {
  QImage image(1200, 800, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const int hue = (n * 37) % 360;
  QLinearGradient sky(0, 0, 0, 800);
  sky.setColorAt(0, QColor::fromHsv(hue, 90, 250));
  sky.setColorAt(1, QColor::fromHsv((hue + 40) % 360, 40, 255));
  painter.fillRect(image.rect(), sky);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromHsv((hue + 180) % 360, 120, 255));
  painter.drawEllipse(QPointF(250 + n * 61 % 700, 180 + n * 23 % 120), 70, 70);
  for (int range = 0; range < 2; ++range) {
    QPolygonF ridge;
    ridge << QPointF(0, 800);
    for (int x = 0; x <= 1200; x += 40) {
      const double y = 430 + range * 140 + 90 * std::sin((x + n * 97 + range * 300) / 170.0) +
                       40 * std::sin((x * 3 + n * 53) / 90.0);
      ridge << QPointF(x, y);
    }
    ridge << QPointF(1200, 800);
    painter.setBrush(QColor::fromHsv((hue + 120 + range * 20) % 360, 110 + range * 60, 150 - range * 60));
    painter.drawPolygon(ridge);
  }
  return image;
}

const char* const kDescriptions[] = {
    "Morning on the ridge", "", "The old lighthouse\r\nseen from the beach", "Low tide",
    "", "Sunset over the bay", "Path to the summit", "", "Wild flowers & grasses",
    "The harbour at noon", "", "Evening light"};

const char* const kLongDescription =
    "A long description: the path climbs from the harbour through the old pine wood, past the "
    "ruined chapel and along the cliffs, until the whole bay lies open below, with the islands "
    "in the haze and the evening ferry just leaving.";

int Run(const std::string& templates, const std::string& name, const std::string& output,
        bool longTexts) {
  namespace fs = std::filesystem;
  const fs::path pictures = fs::path(output).parent_path() / (name + "-pictures");
  fs::create_directories(pictures);
  ScopedTemplatesRoot root(templates);
  TPicGallery gallery;
  gallery.Clear();
  gallery.SetTemplate(name);
  gallery.SetOutputFolder(output);
  gallery.SetOverrideFiles(true);
  gallery.SetTitle("Along the coast");
  gallery.SetCaption("Along the coast");
  gallery.SetShowIconCaption(true);
  gallery.SetShowImageCaption(true);
  gallery.SetImageResize(true);
  gallery.SetIconWidth(160);
  gallery.SetIconHeight(120);
  gallery.SetColSpacing(180);
  gallery.SetRowSpacing(175);
  gallery.SetIsThHomeLink(true);
  gallery.SetThHomeLinkAddr("https://example.org/");
  gallery.SetBackgroundColor(0xFAF8F6);
  gallery.SetTableColor(0xFFFFFF);
  gallery.SetLinkColor(0x8F5A2A);
  gallery.SetVisitedLinkColor(0x6B4A7A);
  gallery.SetTextColor(0x333333);
  for (int n = 0; n < 12; ++n) {
    const std::string stem = longTexts && n % 3 == 0
                                 ? "a-rather-long-file-name-from-the-camera-DSC_2024_0" + std::to_string(n)
                                 : "coast-" + std::to_string(n + 1);
    const std::string file = (pictures / (stem + ".bmp")).string();
    if (!Landscape(n).save(QString::fromStdString(file), "BMP")) {
      std::cerr << "cannot write " << file << "\n";
      return 1;
    }
    TImageFile& picture = *gallery.ImageFiles().Add();
    picture.FileName = file;
    picture.Caption = longTexts && n % 2 == 0 ? kLongDescription : kDescriptions[n];
  }
  TPageGenerator generator;
  generator.Publish(gallery);
  return 0;
}

}  // namespace
}  // namespace tessalune

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const bool longTexts = argc == 5 && std::string(argv[4]) == "long";
  if (argc != 4 && !longTexts) {
    std::cerr << "usage: tessalune_publish_sample <templates folder> <template> <output folder> [long]\n";
    return 2;
  }
  try {
    return tessalune::Run(argv[1], argv[2], argv[3], longTexts);
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
