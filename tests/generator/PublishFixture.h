// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "GalleryProp.h"
#include "Globals.h"
#include "FileLib.h"
#include "PageGen.h"
#include "TestSupport.h"

namespace tessalune::test {

// One progress report as the handler saw it.
struct Report {
  std::string Msg;
  int Percent;
  bool operator==(const Report&) const = default;
};
void PrintTo(const Report& report, std::ostream* out);

// Every placeholder a page can carry.
const std::vector<std::string>& AllPlaceholders();

// A template section that shows every placeholder as "name=value|".
std::string ProbeLine(const std::string& kind);

// The "name=value" pairs of one probe line.
std::map<std::string, std::string> ProbeFields(const std::string& line);

// The probe lines of a page that begin with kind ("HEAD", "CELL", ...).
std::vector<std::map<std::string, std::string>> ProbeLines(const std::string& page,
                                                           const std::string& kind);

// A gallery published from templates made by the test into a sandbox: the
// templates root points into the sandbox, pictures are small bitmaps the
// test writes, and every report is recorded.
class PublishTest : public ::testing::Test {
protected:
  PublishTest();

  // Writes a picture of the given size and returns its path.
  std::string Picture(const std::string& name, int width = 40, int height = 30) const;
  // Appends a picture to the gallery.
  TImageFile& Add(const std::string& fileName, const std::string& caption = "");
  // Appends count pictures "p1.bmp" ... written in the sandbox.
  void AddPictures(int count);

  // Writes a template; an empty text leaves that file out.
  void WriteTemplate(const std::string& name, const std::string& page, const std::string& image,
                     const std::string& frameset = "") const;
  // The probe template "Probe" (page and image), with an extra file
  // "style.css"; frameset adds "frameset.html", noThumbnails the marker.
  void UseProbeTemplate(bool frameset = false, bool noThumbnails = false);

  // Publishes the gallery and records the reports; cancelAt stops the run
  // at the first report whose text it names.
  void Publish();

  // The files below the output folder, relative and sorted.
  std::vector<std::string> OutputFiles() const;
  std::string Out(const std::string& relative) const;

  Sandbox box;
  ScopedTemplatesRoot root;
  TPicGallery gallery;
  TPageGenerator generator;
  std::vector<Report> reports;
  std::string cancelAt;
};

}  // namespace tessalune::test
