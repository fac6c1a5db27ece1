// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "DataLib.h"

namespace tessalune {

// The five sections of a page template, cut at the markers "{begin_row}",
// "{begin_cell}", "{end_cell}" and "{end_row}".
enum TTemplateSection {
  tsHead,      // before "{begin_row}"
  tsTail,      // after "{end_row}"
  tsRowStart,  // between "{begin_row}" and "{begin_cell}"
  tsRowEnd,    // between "{end_cell}" and "{end_row}"
  tsCell,      // between "{begin_cell}" and "{end_cell}"
};

// Turns one HTML template file into page text: cuts the file into sections,
// fills the placeholders "{name}" of a section from the Properties table
// whenever the caller adds that section to the output, and writes the output
// to a file. Text is bytes throughout: nothing is converted, no line end is
// changed. Outside the markers, the placeholders and the search for the
// closing body tag, the template is never parsed.
class TPageTemplate {
public:
  // Reads the file and replaces all five sections; Output and Properties
  // stay. A file that cannot be read raises EFOpenError "Cannot open file %s"
  // and leaves the sections as they were.
  void LoadFromFile(const std::string& fileName);

  // Appends the section to Output with its placeholders filled: entry by
  // entry in table order, every "{name}" in any letter case (Unicode case
  // folding) becomes the value. Text that an entry inserts is searched by
  // the later entries only. A placeholder without an entry stays as written.
  void AddSection(TTemplateSection section);

  // Empties Output; the sections and the table stay.
  void Clear() { output_.clear(); }

  // Writes Output to the file, first inserting the "Created by" line into
  // Output when withBanner is set. Output is not cleared. The old file is
  // replaced only once the new one is complete; a symbolic link of that name
  // gives way to the page, and the file it led to stays as it was. A file
  // that cannot be created raises EFCreateError "Cannot create file %s", a
  // write that fails part-way EWriteError with the file system's message;
  // the inserted line then stays in Output.
  void SaveToFile(const std::string& fileName, bool withBanner);

  // The placeholder table; the caller fills and clears it.
  TProperties& Properties() { return properties_; }
  const TProperties& Properties() const { return properties_; }

  // The page text built so far.
  const std::string& Output() const { return output_; }

private:
  // Inserts the "Created by" line before the first "</body" of Output (ASCII
  // letters in any case), or at its end when there is none.
  void InsertBanner();

  std::array<std::string, 5> sections_;
  std::string output_;
  TProperties properties_;
};

}  // namespace tessalune
