// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the README's picture of the main window (scripts/make-main-screenshot):
// draws a dozen landscape photographs of its own, makes a gallery of them
// with descriptions, opens it in the real main window on a first run, selects
// one picture and photographs the window once every thumbnail and the
// preview are there.
//
//   tessalune_main_screenshot <source folder> <work folder> <png to write>
#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <filesystem>
#include <iostream>

#include "Application.h"
#include "GalleryProp.h"
#include "Globals.h"
#include "HelpTopics.h"
#include "ImageView.h"
#include "MainForm.h"
#include "MainSidePanel.h"
#include "PicIcon.h"
#include "PicturePreview.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

// The light of one time of day: the sky from the top down, the sun and
// the far haze that hills fade into.
struct TLight {
  QColor Zenith, Horizon, Sun, Haze;
  double SunHeight;  // 0 at the horizon, 1 at the top
};

const TLight kLights[] = {
    {QColor(36, 82, 160), QColor(170, 205, 235), QColor(255, 252, 235), QColor(160, 190, 215), 0.78},
    {QColor(52, 64, 128), QColor(250, 176, 110), QColor(255, 214, 140), QColor(214, 150, 120), 0.22},
    {QColor(64, 120, 190), QColor(215, 232, 245), QColor(255, 255, 245), QColor(190, 210, 225), 0.62},
    {QColor(30, 34, 84), QColor(236, 120, 90), QColor(255, 190, 120), QColor(170, 100, 110), 0.12},
};

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
                          float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// A ridge line of summed waves, the same for the same seed.
QPainterPath Ridge(int width, int height, double base, double amplitude, int seed) {
  QPainterPath path(QPointF(0, height));
  for (int x = 0; x <= width; x += 8) {
    const double u = x / double(width);
    const double y = base - amplitude * (0.55 * std::sin(u * 5.1 + seed) + 0.3 * std::sin(u * 11.7 + seed * 1.7) +
                                         0.15 * std::sin(u * 27.3 + seed * 0.6));
    path.lineTo(x, y);
  }
  path.lineTo(width, height);
  path.closeSubpath();
  return path;
}

void DrawSky(QPainter& painter, const QSize& size, const TLight& light, int n) {
  QLinearGradient sky(0, 0, 0, size.height() * 0.7);
  sky.setColorAt(0, light.Zenith);
  sky.setColorAt(1, light.Horizon);
  painter.fillRect(QRect(QPoint(), size), sky);
  const QPointF sun(size.width() * (0.2 + 0.6 * ((n * 37) % 100) / 100.0),
                    size.height() * (0.62 - 0.5 * light.SunHeight));
  QRadialGradient glow(sun, size.height() * 0.45);
  QColor warm = light.Sun;
  warm.setAlphaF(0.55f);
  glow.setColorAt(0, warm);
  warm.setAlphaF(0);
  glow.setColorAt(1, warm);
  painter.fillRect(QRect(QPoint(), size), glow);
  painter.setPen(Qt::NoPen);
  painter.setBrush(light.Sun);
  painter.drawEllipse(sun, size.height() * 0.045, size.height() * 0.045);
}

// Ranges of hills, far ones pale with haze, near ones dark and green.
void DrawHills(QPainter& painter, const QSize& size, const TLight& light, int n) {
  const QColor land = QColor::fromHsv(90 + (n * 23) % 50, 120, 110);
  for (int range = 0; range < 4; ++range) {
    const double depth = range / 3.0;
    QLinearGradient fill(0, size.height() * (0.45 + 0.12 * range), 0, size.height());
    fill.setColorAt(0, Mix(light.Haze, land, 0.25 + 0.7 * depth));
    fill.setColorAt(1, Mix(light.Haze, land.darker(160), 0.35 + 0.65 * depth));
    painter.setBrush(fill);
    painter.drawPath(Ridge(size.width(), size.height(), size.height() * (0.5 + 0.13 * range),
                           size.height() * (0.12 - 0.02 * range), n * 7 + range * 3));
  }
}

// A calm lake in the middle distance, mirroring the sky.
void DrawLake(QPainter& painter, const QSize& size, const TLight& light) {
  const QRectF water(0, size.height() * 0.74, size.width(), size.height() * 0.08);
  QLinearGradient fill(water.topLeft(), water.bottomLeft());
  fill.setColorAt(0, Mix(light.Horizon, light.Zenith, 0.3));
  fill.setColorAt(1, Mix(light.Horizon, light.Zenith, 0.7));
  painter.fillRect(water, fill);
}

// Fine grain, as a camera's sensor leaves it.
void AddGrain(QImage& image, int n) {
  QRandomGenerator random(quint32(n + 1));
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int d = int(random.bounded(9)) - 4;
      const QRgb p = line[x];
      line[x] = qRgb(std::clamp(qRed(p) + d, 0, 255), std::clamp(qGreen(p) + d, 0, 255),
                     std::clamp(qBlue(p) + d, 0, 255));
    }
  }
}

QImage SamplePhoto(int n) {
  QImage image(1500, 1000, QImage::Format_RGB32);
  const TLight& light = kLights[n % 4];
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawSky(painter, image.size(), light, n);
  DrawHills(painter, image.size(), light, n);
  if (n % 3 == 1) DrawLake(painter, image.size(), light);
  painter.end();
  AddGrain(image, n);
  return image;
}

const char* const kNames[] = {"ridge-morning", "lake-evening", "valley-noon", "coast-dusk",
                              "highlands",     "still-water",  "pass-noon",   "last-light",
                              "green-hills",   "mirror-lake",  "long-valley", "after-sunset"};
const char* const kDescriptions[] = {"Morning on the ridge", "The lake at evening", "", "Dusk over the coast",
                                     "", "Still water\r\nbelow the pass", "Noon on the pass", "", "", "",
                                     "The long valley", ""};

// Draws the photographs and saves a gallery of them.
std::string MakeGallery(const std::filesystem::path& work) {
  std::filesystem::create_directories(work / "Highlands");
  TPicGallery gallery;
  gallery.Clear();
  gallery.SetTitle("Highlands");
  TPicIcon writer;
  writer.Quality = 88;
  for (int n = 0; n < 12; ++n) {
    const std::string file = (work / "Highlands" / (std::string(kNames[n]) + ".jpg")).string();
    writer.Bitmap = SamplePhoto(n).convertToFormat(kBitmapFormat);
    writer.SaveToFile(file);
    TImageFile& picture = *gallery.ImageFiles().Add();
    picture.FileName = file;
    picture.Caption = kDescriptions[n];
  }
  const std::string name = (work / "Highlands.gmf").string();
  gallery.SaveToFile(name);
  return name;
}

// Opens the one gallery file it is given; nothing else is asked.
class TOpenGallery final : public TUserPrompt {
public:
  explicit TOpenGallery(std::string file) : file_(std::move(file)), previous_(SetUserPrompt(this)) {}
  ~TOpenGallery() override { SetUserPrompt(previous_); }
  TModalResult MessageDlg(const TMessageDlgRequest& request) override {
    std::cerr << request.Message << "\n";
    return mrCancel;
  }
  void ShowErrorMessage(const std::string& text) override { std::cerr << text << "\n"; }
  bool OpenDialog(const TFileDialogRequest&, std::vector<std::string>& files) override {
    files = {file_};
    return true;
  }
  bool SaveDialog(const TFileDialogRequest&, std::string&) override { return false; }

private:
  std::string file_;
  TUserPrompt* previous_;
};

bool Shoot(const std::string& source, const std::filesystem::path& work, const QString& png) {
  ScopedTemplatesRoot templates(source + "/templates");
  ScopedHelpFolder help(source + "/help");
  TOpenGallery prompt(MakeGallery(work));
  TfrmMain window;
  window.resize(980, 640);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return false;
  window.findChild<QAction*>("acnOpen")->trigger();
  window.findChild<QAction*>("miIconSize100x100")->trigger();
  TImageView& list = window.ImageView();
  list.SetSelected(5, true);
  const bool ready = QTest::qWaitFor(
      [&] {
        for (int i = 0; i < list.Count(); ++i)
          if (!list.HasThumbnail(i)) return false;
        return !window.PreviewPanel().Preview().Picture().isNull();
      },
      60000);
  return ready && window.grab().save(png, "PNG");
}

}  // namespace
}  // namespace tessalune

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: tessalune_main_screenshot <source folder> <work folder> <png to write>\n";
    return 2;
  }
  tessalune::TApplication application(argc, argv);
  tessalune::TApplication::SetTitle("Tessalune");
  QApplication::setWindowIcon(QIcon(":/icons/tessalune.svg"));
  try {
    if (tessalune::Shoot(argv[1], argv[2], argv[3])) return 0;
    std::cerr << "the window did not show its pictures\n";
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
  }
  return 1;
}
