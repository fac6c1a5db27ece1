// SPDX-License-Identifier: GPL-3.0-or-later
// Text output of the device context: the logical font becomes a QFont in
// target pixels, placed by the text alignment and turned by the escapement.
#include "MetafileDC.h"

#include "MetafileLimits.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessalune::metafile {

namespace {

constexpr std::uint32_t kAlignUpdatePosition = 0x01;
constexpr std::uint32_t kAlignHorizontalMask = 0x06;
constexpr std::uint32_t kAlignRight = 0x02;
constexpr std::uint32_t kAlignCenter = 0x06;
constexpr std::uint32_t kAlignVerticalMask = 0x18;
constexpr std::uint32_t kAlignBottom = 0x08;
constexpr std::uint32_t kAlignBaseline = 0x18;
constexpr std::uint32_t kOptionOpaque = 0x02;
constexpr std::uint32_t kOptionClipped = 0x04;
constexpr int kBackgroundOpaque = 2;
// The height of GDI's default font: 16 pixels at 96 pixels per inch.
constexpr double kDefaultFontMm = 16 * 25.4 / 96;
constexpr double kMaxFontPixels = 2048;

// The face text of the logical font is drawn in. Text of a symbol font has
// become the Unicode characters of the Symbol font, which the face it names
// does not hold by those codes, and which the font a machine substitutes for
// it ("Standard Symbols PS" for Symbol, say) may not hold at all; so that
// text is drawn in the default face, which with its fallbacks holds them.
QString FaceOf(const TMetaFont& logical) {
  if (logical.face.isEmpty() || logical.charset == kSymbolCharset)
    return QStringLiteral("Sans Serif");
  return logical.face;
}

// A QFont of the logical font at pixelHeight; a positive logical height is
// the character cell (ascent plus descent), a negative one the em height.
QFont MakeFont(const TMetaFont& logical, double pixelHeight, double pixelWidth) {
  QFont font(FaceOf(logical));
  font.setPixelSize(100);
  if (logical.height > 0) {
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell > 0) pixelHeight = pixelHeight * 100 / cell;
  }
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelHeight))));
  font.setWeight(static_cast<QFont::Weight>(
      std::clamp(logical.weight == 0 ? 400 : logical.weight, 1, 1000)));
  font.setItalic(logical.italic);
  font.setUnderline(logical.underline);
  font.setStrikeOut(logical.strikeOut);
  if (pixelWidth > 0) {
    const double average = QFontMetricsF(font).averageCharWidth();
    if (average > 0)
      font.setStretch(std::clamp(static_cast<int>(std::lround(100 * pixelWidth / average)), 1,
                                 4000));
  }
  return font;
}

double AxisScale(double a, double b) { return std::hypot(a, b); }

}  // namespace

// A line of text laid out in target pixels, relative to its reference point
// before the escapement turns it: where each character starts and where the
// baseline lies.
struct TTextLine {
  QFont font;
  std::vector<double> starts;
  double width = 0;
  double baseline = 0;
};

namespace {

TTextLine LayOut(const QString& text, const std::vector<double>& dx, double xScale, QFont font,
                 std::uint32_t align) {
  const QFontMetricsF metrics(font);
  TTextLine line{std::move(font), {}, 0, 0};
  for (qsizetype i = 0; i < text.size(); ++i) {
    line.starts.push_back(line.width);
    line.width += i < static_cast<qsizetype>(dx.size()) ? dx[static_cast<std::size_t>(i)] * xScale
                                                         : metrics.horizontalAdvance(text[i]);
  }
  if (dx.empty()) line.width = metrics.horizontalAdvance(text);
  const std::uint32_t horizontal = align & kAlignHorizontalMask;
  const double left = horizontal == kAlignCenter  ? -line.width / 2
                      : horizontal == kAlignRight ? -line.width
                                                  : 0;
  for (double& start : line.starts) start += left;
  const std::uint32_t vertical = align & kAlignVerticalMask;
  line.baseline = vertical == kAlignBaseline ? 0
                  : vertical == kAlignBottom ? -metrics.descent()
                                             : metrics.ascent();
  return line;
}

}  // namespace

void TMetafileDC::TextOutA(const QPointF& reference, std::string_view bytes,
                           const std::vector<double>& dx, std::uint32_t options,
                           const std::optional<QRectF>& rect) {
  const TDecodedText decoded = charsets_.Decode(state_.font.charset, bytes);
  // A character made of several bytes advances by all of theirs.
  std::vector<double> advances;
  if (!dx.empty()) {
    std::size_t from = 0;
    for (const std::size_t end : decoded.ends) {
      double advance = 0;
      for (; from < end && from < dx.size(); ++from) advance += dx[from];
      advances.push_back(advance);
      from = end;
    }
  }
  TextOut(reference, decoded.text, advances, options, rect);
}

void TMetafileDC::TextOutW(const QPointF& reference, const QString& text,
                           const std::vector<double>& dx, std::uint32_t options,
                           const std::optional<QRectF>& rect) {
  TextOut(reference, state_.font.charset == kSymbolCharset ? SymbolToUnicode(text) : text, dx,
          options, rect);
}

void TMetafileDC::TextOut(const QPointF& reference, const QString& text,
                          const std::vector<double>& dx, std::uint32_t options,
                          const std::optional<QRectF>& rect) {
  if (!Spend(1)) return;
  const QTransform toTarget = LogicalToTarget();
  const double xScale = AxisScale(toTarget.m11(), toTarget.m12());
  const TMetaFont& logical = state_.font;
  const double height = logical.height == 0
                            ? kDefaultFontMm * frame_.pixelsPerMmY * LengthScale(deviceToTarget_)
                            : std::abs(logical.height) * AxisScale(toTarget.m21(), toTarget.m22());
  const bool updatePosition = state_.textAlign & kAlignUpdatePosition;
  const QPointF anchor = toTarget.map(updatePosition ? state_.position : reference);
  const bool opaqueBox = rect && (options & kOptionOpaque);
  if (opaqueBox) {
    QPainterPath box;
    box.addRect(rect->normalized());
    FillArea(box, TMetaBrush{0, state_.bkColor, 0, QImage()});
  }
  const double tallest =
      std::min(kMaxFontPixels, kMaxFontToTarget * std::max(target_.width(), target_.height()) + 64);
  // Text too small to draw is counted all the same: drawn larger, it must
  // not cost more than the cap grows.
  if (!std::isfinite(height) || height > tallest ||
      !Spend(static_cast<double>(text.size()) *
             (kTextWorkPerCharacter + height + height * height / kImagePixelsPerWorkUnit)) ||
      height < 0.5)
    return;
  const TTextLine line = LayOut(text, dx, xScale,
                                MakeFont(logical, height, std::abs(logical.width) * xScale),
                                state_.textAlign);
  if (updatePosition && xScale > 0) state_.position.rx() += line.width / xScale;
  if (!Drawable(QRectF(anchor, anchor)) || !std::isfinite(line.width) ||
      std::abs(line.width) > kMaxTargetCoordinate)
    return;
  if (rect && (options & kOptionClipped)) {
    QPainterPath box;
    box.addRect(rect->normalized());
    painter_.setClipPath(toTarget.map(box), Qt::IntersectClip);
  }
  PaintText(text, line, anchor, !opaqueBox && state_.bkMode == kBackgroundOpaque,
            dx.empty());
  ApplyClip();
}

void TMetafileDC::PaintText(const QString& text, const TTextLine& line, const QPointF& anchor,
                            bool background, bool whole) {
  const QFontMetricsF metrics(line.font);
  painter_.setTransform(
      QTransform().translate(anchor.x(), anchor.y()).rotate(-state_.font.escapement / 10.0));
  const double left = line.starts.empty() ? 0 : line.starts.front();
  if (background)
    painter_.fillRect(QRectF(left, line.baseline - metrics.ascent(), line.width, metrics.height()),
                      state_.bkColor);
  painter_.setFont(line.font);
  painter_.setPen(state_.textColor);
  painter_.setBackgroundMode(Qt::TransparentMode);
  if (whole) {
    painter_.drawText(QPointF(left, line.baseline), text);
    return;
  }
  for (qsizetype i = 0; i < text.size(); ++i)
    painter_.drawText(QPointF(line.starts[static_cast<std::size_t>(i)], line.baseline),
                      QString(text[i]));
}

}  // namespace tessalune::metafile
