// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "AsciiText.h"
#include "Colors.h"

namespace tessalune {

// The one list of a gallery's publishing settings, in the order in which the
// gallery file stores them. Everything that walks the settings (the members and
// their accessors, the defaults, the binary and text forms, the reader) expands
// this list, so a setting is named in exactly one place.
//
// X(Name, Kind, Default, Flags)
//   Kind:  Text (8-bit string), Integer (signed 32-bit), Boolean, Color
//   Flags: Plain; Trimmed (the setter strips codes 0 to 32 from both ends);
//          FileOnly (kept only in the file: Clear leaves it alone)
#define TESSALUNE_GALLERY_SETTINGS(X)              \
  X(OutputFolder, Text, "", Trimmed)               \
  X(Template, Text, "Grid", Plain)                 \
  X(IconsFolder, Text, "thums", Trimmed)           \
  X(PagesFolder, Text, "", Trimmed)                \
  X(ImagesFolder, Text, "images", Trimmed)         \
  X(IconPrefix, Text, "th_", Plain)                \
  X(FirstPageName, Text, "index.html", Trimmed)    \
  X(IsCopyImages, Boolean, false, FileOnly)        \
  X(IsConvertImages, Boolean, false, Plain)        \
  X(ImageResize, Boolean, false, Plain)            \
  X(ImageQuality, Integer, 85, Plain)              \
  X(ImageWidth, Integer, 800, Plain)               \
  X(ImageHeight, Integer, 600, Plain)              \
  X(IsCreateImagePages, Boolean, true, Plain)      \
  X(IsNotOverrideImages, Boolean, false, FileOnly) \
  X(IsNotOverrideIcons, Boolean, false, FileOnly)  \
  X(OverrideFiles, Boolean, false, Plain)          \
  X(LaunchBrouser, Boolean, true, Plain)           \
  X(IconWidth, Integer, 128, Plain)                \
  X(IconHeight, Integer, 96, Plain)                \
  X(IconQuality, Integer, 75, Plain)               \
  X(ColCount, Integer, 3, Plain)                   \
  X(RowCount, Integer, 3, Plain)                   \
  X(IsCellWidth, Boolean, true, Plain)             \
  X(IsCellHeight, Boolean, true, Plain)            \
  X(ColSpacing, Integer, 150, Plain)               \
  X(RowSpacing, Integer, 150, Plain)               \
  X(IsTableColor, Boolean, true, Plain)            \
  X(TableColor, Color, 0xF5F5F5, Plain)            \
  X(IconBorder, Integer, 0, Plain)                 \
  X(CellsSpacing, Integer, 2, Plain)               \
  X(CellsPadding, Integer, 3, Plain)               \
  X(LightBorderColor, Color, 0xC0C0C0, Plain)      \
  X(DarkBorderColor, Color, 0x808080, Plain)       \
  X(Title, Text, "", Plain)                        \
  X(Caption, Text, "", Plain)                      \
  X(ShowIconCaption, Boolean, false, Plain)        \
  X(ShowImageCaption, Boolean, false, Plain)       \
  X(HideBanner, Boolean, false, Plain)             \
  X(LinkColor, Color, 0xFF0000, Plain)             \
  X(ActiveLinkColor, Color, 0x800080, Plain)       \
  X(VisitedLinkColor, Color, 0x800080, Plain)      \
  X(TextColor, Color, 0x000000, Plain)             \
  X(BackgroundColor, Color, 0xFFFFFF, Plain)       \
  X(BackgroundImage, Text, "", Plain)              \
  X(LinkSize, Integer, 0, Plain)                   \
  X(ShowPageLink, Boolean, true, Plain)            \
  X(PageLinkStyle, Text, "", Plain)                \
  X(BeforePageLink, Text, "", Plain)               \
  X(AfterPageLink, Text, "", Plain)                \
  X(BetweenPageLink, Text, "", Plain)              \
  X(IsThHomeLink, Boolean, false, Plain)           \
  X(ThHomeLink, Text, "Home", Plain)               \
  X(ThHomeLinkAddr, Text, "", Plain)               \
  X(IsThPrevLink, Boolean, true, Plain)            \
  X(ThPrevLink, Text, "PREV", Plain)               \
  X(IsThNextLink, Boolean, true, Plain)            \
  X(ThNextLink, Text, "NEXT", Plain)               \
  X(IsImHomeLink, Boolean, false, Plain)           \
  X(ImHomeLink, Text, "Home", Plain)               \
  X(ImHomeLinkAddr, Text, "", Plain)               \
  X(IsImPrevLink, Boolean, true, Plain)            \
  X(ImPrevLink, Text, "PREV", Plain)               \
  X(IsImThumbLink, Boolean, true, Plain)           \
  X(ImThumbLink, Text, "Thumbnails", Plain)        \
  X(IsImNextLink, Boolean, true, Plain)            \
  X(ImNextLink, Text, "NEXT", Plain)

enum class TSettingKind { Text, Integer, Boolean, Color };
enum class TSettingFlags { Plain, Trimmed, FileOnly };

template <TSettingKind Kind> struct TSettingValue;
template <> struct TSettingValue<TSettingKind::Text> { using Type = std::string; };
template <> struct TSettingValue<TSettingKind::Integer> { using Type = std::int32_t; };
template <> struct TSettingValue<TSettingKind::Boolean> { using Type = bool; };
template <> struct TSettingValue<TSettingKind::Color> { using Type = TColor; };

template <TSettingKind Kind> using TSettingType = typename TSettingValue<Kind>::Type;
// Scalars go by value, strings by reference.
template <TSettingKind Kind>
using TSettingArg = std::conditional_t<std::is_scalar_v<TSettingType<Kind>>, TSettingType<Kind>,
                                       const TSettingType<Kind>&>;

// The value a setting with these flags keeps when it is given value.
inline std::string StoredValue(TSettingFlags flags, const std::string& value) {
  return flags == TSettingFlags::Trimmed ? Trim(value) : value;
}
inline std::int32_t StoredValue(TSettingFlags, std::int32_t value) { return value; }
inline bool StoredValue(TSettingFlags, bool value) { return value; }
// A bare C string would silently become a bool.
void StoredValue(TSettingFlags, const char*) = delete;

class TPicGallery;

// One row of the settings list, for the code that walks all of them. Exactly
// one member pointer is set: Text for Text, Number for Integer and Color, Flag
// for Boolean.
struct TGallerySetting {
  const char* Name;
  TSettingKind Kind;
  TSettingFlags Flags;
  std::string TPicGallery::*Text;
  std::int32_t TPicGallery::*Number;
  bool TPicGallery::*Flag;
  const char* DefaultText;
  std::int32_t DefaultNumber;  // Boolean defaults as 0 or 1
};

#define TESSALUNE_COUNT_SETTING(Name, Kind, Default, Flags) +1
inline constexpr int kGallerySettingCount = 0 TESSALUNE_GALLERY_SETTINGS(TESSALUNE_COUNT_SETTING);
#undef TESSALUNE_COUNT_SETTING

}  // namespace tessalune
