// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifDecoder.h"

#include "Errors.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace tessalune {
namespace {

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int ignored = 0;
    DGifCloseFile(gif, &ignored);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

struct MemoryInput {
  const std::string* bytes;
  std::size_t position;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int length) {
  auto* input = static_cast<MemoryInput*>(gif->UserData);
  const std::size_t left = input->bytes->size() - input->position;
  const std::size_t count = std::min(left, static_cast<std::size_t>(std::max(length, 0)));
  std::memcpy(buffer, input->bytes->data() + input->position, count);
  input->position += count;
  return static_cast<int>(count);
}

[[noreturn]] void RaiseGifError(int code) {
  const char* text = GifErrorString(code);
  throw Exception(text ? text : Format("GIF error #%d", code));
}

void Check(const GifHandle& gif, int result) {
  if (result == GIF_ERROR) RaiseGifError(gif->Error);
}

// Reads the extensions before the first frame; answers its transparent
// colour index, or -1.
int ReadExtension(const GifHandle& gif, int transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  Check(gif, DGifGetExtension(gif.get(), &code, &block));
  if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] == 4) {
    GraphicsControlBlock control{};
    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) transparent = control.TransparentColor;
  }
  while (block) Check(gif, DGifGetExtensionNext(gif.get(), &block));
  return transparent;
}

// The rows of the frame in the order they are stored.
std::vector<int> FrameRowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  }
  return rows;
}

void PaintFrame(const GifHandle& gif, int transparent, TBitmap& screen) {
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (!colours) throw Exception("GIF image has no colour table");
  CheckPictureSize(frame.Width, frame.Height);
  std::vector<GifPixelType> line(static_cast<std::size_t>(std::max(frame.Width, 1)));
  for (int row : FrameRowOrder(frame.Height, frame.Interlace)) {
    Check(gif, DGifGetLine(gif.get(), line.data(), frame.Width));
    const int y = frame.Top + row;
    if (y < 0 || y >= screen.height()) continue;
    std::uint8_t* out = screen.scanLine(y);
    for (int x = 0; x < frame.Width; ++x) {
      const int sx = frame.Left + x;
      const int index = line[static_cast<std::size_t>(x)];
      if (sx < 0 || sx >= screen.width() || index == transparent || index >= colours->ColorCount) continue;
      const GifColorType& colour = colours->Colors[index];
      out[3 * sx] = colour.Red;
      out[3 * sx + 1] = colour.Green;
      out[3 * sx + 2] = colour.Blue;
    }
  }
}

}  // namespace

TBitmap DecodeGif(const std::string& bytes) {
  MemoryInput input{&bytes, 0};
  int error = 0;
  GifHandle gif(DGifOpen(&input, ReadMemory, &error));
  if (!gif) RaiseGifError(error);
  TBitmap screen = NewBitmap(gif->SWidth, gif->SHeight);
  int transparent = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    Check(gif, DGifGetRecordType(gif.get(), &type));
    if (type == EXTENSION_RECORD_TYPE) {
      transparent = ReadExtension(gif, transparent);
    } else if (type == IMAGE_DESC_RECORD_TYPE) {
      Check(gif, DGifGetImageDesc(gif.get()));
      PaintFrame(gif, transparent, screen);
      return screen;
    } else if (type == TERMINATE_RECORD_TYPE) {
      throw Exception("GIF image has no frame");
    }
  }
}

}  // namespace tessalune
