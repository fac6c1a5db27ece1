// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tessalune {

// Picture descriptions as HTML text: "&", "<" and ">" become entities (an
// entity already in the text is escaped again) and every line break (CR LF,
// as the gallery keeps descriptions) becomes "<br>". Quotes, a lone CR or LF
// and everything else stay as they are.
std::string TextToHtml(const std::string& text);

// A file name or a title as HTML text, fit for an element's content and for
// a quoted attribute (title, alt): "&", "<", ">" and both quotes become
// character references, and so does "{", so that a name is never taken for a
// placeholder of the page template.
std::string NameToHtml(const std::string& text);

// A relative link to a published file, built from the names as they lie on
// disk ("../my images/a b.jpg"), as a valid URL path that a browser follows
// back to that file: every byte a URL path may not hold, or that would change
// the link's meaning, becomes "%" and two hexadecimal digits (space, control
// bytes, '"', "#", "%", "&", "<", ">", "?", "\", "`", "{", "}", bytes that are
// not UTF-8, and ":" before the first "/", where it would start a scheme).
// "/" parts the folders. A name that needs none of this stays byte for byte.
std::string PathToUrl(const std::string& path);

// The colour (a TColor: $00BBGGRR, or a system colour with the high bit
// set) as six upper-case hexadecimal digits, red first, no "#". A system
// colour gives the colour the running application's palette shows for it, or
// the classic default when no GUI application runs. Bits above the 24 colour
// bits of a plain colour are ignored.
std::string ColorToHtml(std::int32_t color);

}  // namespace tessalune
