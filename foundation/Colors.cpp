// SPDX-License-Identifier: GPL-3.0-or-later
#include "Colors.h"

#include <array>

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace tessalune {
namespace {

constexpr std::uint32_t kSystemColorBit = 0x80000000u;

constexpr std::uint32_t Rgb(unsigned red, unsigned green, unsigned blue) {
  return red | (green << 8) | (blue << 16);
}

// One system colour index: the palette role that shows it in a running
// application, and the classic desktop's colour for it.
struct TSystemColor {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;  // NoRole: the palette has no counterpart
  std::uint32_t classic;
};

constexpr QPalette::ColorGroup kActive = QPalette::Active;
constexpr QPalette::ColorGroup kInactive = QPalette::Inactive;

// Indexed by the system colour number, from the scroll bar (0) to the menu
// bar (30).
constexpr std::array<TSystemColor, 31> kSystemColors{{
    {kActive, QPalette::Button, Rgb(212, 208, 200)},           // scroll bar
    {kActive, QPalette::NoRole, Rgb(58, 110, 165)},            // desktop
    {kActive, QPalette::Highlight, Rgb(10, 36, 106)},          // active caption
    {kInactive, QPalette::Highlight, Rgb(128, 128, 128)},      // inactive caption
    {kActive, QPalette::Window, Rgb(212, 208, 200)},           // menu
    {kActive, QPalette::Base, Rgb(255, 255, 255)},             // window
    {kActive, QPalette::Shadow, Rgb(0, 0, 0)},                 // window frame
    {kActive, QPalette::WindowText, Rgb(0, 0, 0)},             // menu text
    {kActive, QPalette::Text, Rgb(0, 0, 0)},                   // window text
    {kActive, QPalette::HighlightedText, Rgb(255, 255, 255)},  // caption text
    {kActive, QPalette::Window, Rgb(212, 208, 200)},           // active border
    {kInactive, QPalette::Window, Rgb(212, 208, 200)},         // inactive border
    {kActive, QPalette::Dark, Rgb(128, 128, 128)},             // application workspace
    {kActive, QPalette::Highlight, Rgb(10, 36, 106)},          // highlight
    {kActive, QPalette::HighlightedText, Rgb(255, 255, 255)},  // highlight text
    {kActive, QPalette::Button, Rgb(212, 208, 200)},           // button face
    {kActive, QPalette::Dark, Rgb(128, 128, 128)},             // button shadow
    {QPalette::Disabled, QPalette::Text, Rgb(128, 128, 128)},  // grey text
    {kActive, QPalette::ButtonText, Rgb(0, 0, 0)},             // button text
    {kInactive, QPalette::HighlightedText, Rgb(212, 208, 200)},  // inactive caption text
    {kActive, QPalette::Light, Rgb(255, 255, 255)},            // button highlight
    {kActive, QPalette::Shadow, Rgb(64, 64, 64)},              // 3-D dark shadow
    {kActive, QPalette::Midlight, Rgb(212, 208, 200)},         // 3-D light
    {kActive, QPalette::ToolTipText, Rgb(0, 0, 0)},            // tool tip text
    {kActive, QPalette::ToolTipBase, Rgb(255, 255, 225)},      // tool tip background
    {kActive, QPalette::NoRole, Rgb(0, 0, 0)},                 // unused
    {kActive, QPalette::Link, Rgb(0, 0, 128)},                 // hot-tracked item
    {kActive, QPalette::NoRole, Rgb(166, 202, 240)},           // active caption gradient
    {kActive, QPalette::NoRole, Rgb(192, 192, 192)},           // inactive caption gradient
    {kActive, QPalette::Highlight, Rgb(10, 36, 106)},          // menu highlight
    {kActive, QPalette::Window, Rgb(212, 208, 200)},           // menu bar
}};

std::uint32_t SystemColorToRgb(unsigned index) {
  if (index >= kSystemColors.size()) {
    return 0;
  }
  const TSystemColor& entry = kSystemColors[index];
  if (entry.role == QPalette::NoRole ||
      qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    return entry.classic;
  }
  const QColor shown = QGuiApplication::palette().color(entry.group, entry.role);
  return Rgb(unsigned(shown.red()), unsigned(shown.green()), unsigned(shown.blue()));
}

}  // namespace

std::uint32_t ColorToRGB(TColor color) {
  const auto value = std::uint32_t(color);
  return (value & kSystemColorBit) != 0 ? SystemColorToRgb(value & 0xFFu) : value & 0xFFFFFFu;
}

}  // namespace tessalune
