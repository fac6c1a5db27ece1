// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishFixture.h"

#include <QColor>
#include <QImage>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <sstream>

namespace tessalune::test {

void PrintTo(const Report& report, std::ostream* out) {
  *out << '"' << report.Msg << "\" " << report.Percent << '%';
}

const std::vector<std::string>& AllPlaceholders() {
  static const std::vector<std::string> names = {
      "caption",     "first_page",     "last_page",     "col_spacing", "row_spacing",
      "table_style", "cell_style",     "link_color",    "alink_color", "vlink_color",
      "text_color",  "bgcolor",        "bgimage",       "link_style",  "link_size",
      "home_link",   "title",          "page_index",    "page_count",  "prev_page",
      "prev_link",   "next_page",      "next_link",     "pages",       "image_href",
      "first_image", "th_href",        "image_filename", "image_caption", "image_size",
      "image_index", "image_count",    "prev_image",    "next_image",  "th_page",
      "thumb_link"};
  return names;
}

std::string ProbeLine(const std::string& kind) {
  std::string line = kind + " ";
  for (const std::string& name : AllPlaceholders()) {
    line += name + "={" + name + "}|";
  }
  return line + "\n";
}

std::map<std::string, std::string> ProbeFields(const std::string& line) {
  std::map<std::string, std::string> fields;
  std::istringstream pairs(line.substr(line.find(' ') + 1));
  std::string pair;
  while (std::getline(pairs, pair, '|')) {
    const std::size_t equals = pair.find('=');
    if (equals != std::string::npos) {
      fields[pair.substr(0, equals)] = pair.substr(equals + 1);
    }
  }
  return fields;
}

std::vector<std::map<std::string, std::string>> ProbeLines(const std::string& page,
                                                           const std::string& kind) {
  std::vector<std::map<std::string, std::string>> lines;
  std::istringstream text(page);
  std::string line;
  while (std::getline(text, line)) {
    if (line.rfind(kind + " ", 0) == 0) {
      lines.push_back(ProbeFields(line));
    }
  }
  return lines;
}

PublishTest::PublishTest() : root(box.File("Templates")) {
  gallery.Clear();
  gallery.SetOutputFolder(box.File("out"));
  gallery.SetTemplate("Probe");
  gallery.SetHideBanner(true);
  generator.OnProgress = [this](TPageGenerator& sender, const std::string& msg, int percent,
                                bool& cancel) {
    EXPECT_EQ(&sender, &generator);
    EXPECT_FALSE(cancel);
    reports.push_back({msg, percent});
    cancel = msg == cancelAt;
  };
}

std::string PublishTest::Picture(const std::string& name, int width, int height) const {
  const std::string path = box.File(name);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(30 + int(name.size()) * 7 % 200, 120, 200));
  EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP")) << path;
  return path;
}

TImageFile& PublishTest::Add(const std::string& fileName, const std::string& caption) {
  TImageFile& picture = *gallery.ImageFiles().Add();
  picture.FileName = fileName;
  picture.Caption = caption;
  return picture;
}

void PublishTest::AddPictures(int count) {
  for (int i = 1; i <= count; ++i) {
    Add(Picture("pictures/p" + std::to_string(i) + ".bmp"));
  }
}

void PublishTest::WriteTemplate(const std::string& name, const std::string& page,
                                const std::string& image, const std::string& frameset) const {
  const std::string folder = "Templates/" + name + "/";
  std::filesystem::create_directories(box.File(folder));
  if (!page.empty()) box.Write(folder + "page.html", page);
  if (!image.empty()) box.Write(folder + "image.html", image);
  if (!frameset.empty()) box.Write(folder + "frameset.html", frameset);
}

void PublishTest::UseProbeTemplate(bool frameset, bool noThumbnails) {
  const std::string page = (noThumbnails ? "<!--no_thumbnails-->\n" : "") + ProbeLine("HEAD") +
                           "{begin_row}" + ProbeLine("ROWSTART") + "{begin_cell}" +
                           ProbeLine("CELL") + "{end_cell}" + ProbeLine("ROWEND") + "{end_row}" +
                           ProbeLine("TAIL");
  WriteTemplate("Probe", page, ProbeLine("IMAGE"), frameset ? ProbeLine("FRAMESET") : "");
  box.Write("Templates/Probe/style.css", "body {}\n");
  box.Write("Templates/Probe/settings.ini", "[Template]\n");
  box.Write("Templates/Probe/screenshot.jpg", "not copied");
}

void PublishTest::Publish() {
  reports.clear();
  generator.Publish(gallery);
}

std::vector<std::string> PublishTest::OutputFiles() const {
  std::vector<std::string> files;
  const std::filesystem::path out = box.File("out");
  if (!std::filesystem::exists(out)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
    if (entry.is_regular_file()) {
      files.push_back(entry.path().lexically_relative(out).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string PublishTest::Out(const std::string& relative) const {
  return ReadBytes(box.File("out/" + relative));
}

}  // namespace tessalune::test
