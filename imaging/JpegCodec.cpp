// SPDX-License-Identifier: GPL-3.0-or-later
// The one wrapper around libjpeg. libjpeg reports errors by longjmp: every
// library call runs inside Guarded(), which alone holds the setjmp, through a
// plain function on trivially destructible data. The error is raised as a C++
// exception only after Guarded() has returned.
#include "JpegCodec.h"

#include "Errors.h"
#include "FileLib.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace tessalune {
namespace {

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[64];
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  std::snprintf(error->message, sizeof error->message, "JPEG error #%d", cinfo->err->msg_code);
  std::longjmp(error->jump, 1);
}

// True for the warnings that mean picture data is missing or damaged (libjpeg
// then paints grey or garbage and goes on). The others (stray bytes between
// markers, unknown versions, odd profiles) leave the picture whole and are
// common in camera files.
bool LosesPictureData(int warning) {
  switch (warning) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
      return true;
    default:
      return false;
  }
}

extern "C" void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && LosesPictureData(cinfo->err->msg_code)) JpegErrorExit(cinfo);
}

void InstallErrorManager(jpeg_common_struct* cinfo, JpegErrorManager* error) {
  cinfo->err = jpeg_std_error(&error->pub);
  error->pub.error_exit = JpegErrorExit;
  error->pub.emit_message = JpegEmitMessage;
  std::strcpy(error->message, "JPEG error");
}

// Runs step(context); false when libjpeg jumped out with an error. Nothing
// between the setjmp and a longjmp may own resources.
bool Guarded(JpegErrorManager* error, void (*step)(void*), void* context) {
  if (setjmp(error->jump) != 0) return false;
  step(context);
  return true;
}

// A decompressor and its error manager, destroyed exactly once.
struct Decompressor {
  jpeg_decompress_struct cinfo;
  JpegErrorManager error;
  const std::string* bytes;
  bool keepExif;  // keep the APP1 segments for the EXIF orientation

  Decompressor(const std::string& source, bool exif)
      : cinfo(), error(), bytes(&source), keepExif(exif) {
    InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&cinfo), &error);
  }
  ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  void Run(void (*step)(void*), void* context) {
    if (!Guarded(&error, step, context)) throw Exception(error.message);
  }
};

void ReadHeaderStep(void* context) {
  auto* d = static_cast<Decompressor*>(context);
  jpeg_create_decompress(&d->cinfo);
  jpeg_mem_src(&d->cinfo, reinterpret_cast<const unsigned char*>(d->bytes->data()),
               static_cast<unsigned long>(d->bytes->size()));
  if (d->keepExif) jpeg_save_markers(&d->cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&d->cinfo, TRUE);
}

void CalcOutputStep(void* context) { jpeg_calc_output_dimensions(static_cast<jpeg_decompress_struct*>(context)); }

// Where the decoded rows go: straight into the bitmap, or through a CMYK
// row that is turned into RGB.
struct ScanlineTarget {
  jpeg_decompress_struct* cinfo;
  unsigned char* bits;
  std::size_t stride;
  unsigned char* cmyk;
  TRowProgress* progress;
};

// Rows are announced in groups; waking the consumers per row costs more.
constexpr JDIMENSION kPublishEvery = 16;

// Adobe writes CMYK inverted (0 = full ink); other writers do not.
void CmykToRgb(const unsigned char* cmyk, unsigned char* rgb, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
      rgb[c] = static_cast<unsigned char>((ink * k + 127) / 255);
    }
  }
}

void ReadScanlinesStep(void* context) {
  auto* t = static_cast<ScanlineTarget*>(context);
  jpeg_start_decompress(t->cinfo);
  while (t->cinfo->output_scanline < t->cinfo->output_height) {
    unsigned char* row = t->bits + t->cinfo->output_scanline * t->stride;
    JSAMPROW target = t->cmyk ? t->cmyk : row;
    if (jpeg_read_scanlines(t->cinfo, &target, 1) != 1) {
      // Memory input never suspends; a row not delivered is missing data.
      t->cinfo->err->msg_code = JWRN_JPEG_EOF;
      t->cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(t->cinfo));
    }
    if (t->cmyk) CmykToRgb(t->cmyk, row, t->cinfo->output_width, t->cinfo->saw_Adobe_marker);
    if (t->progress && t->cinfo->output_scanline % kPublishEvery == 0) {
      t->progress->Publish(static_cast<int>(t->cinfo->output_scanline));
    }
  }
  jpeg_finish_decompress(t->cinfo);
}

bool IsCmyk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

// A compressor writing to memory; owns the output buffer libjpeg allocates.
struct Compressor {
  jpeg_compress_struct cinfo;
  JpegErrorManager error;
  unsigned char* output = nullptr;
  unsigned long outputSize = 0;
  const TBitmap* bitmap;
  int quality;

  Compressor(const TBitmap& source, int q) : cinfo(), error(), bitmap(&source), quality(q) {
    InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&cinfo), &error);
  }
  ~Compressor() {
    jpeg_destroy_compress(&cinfo);
    std::free(output);
  }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;
};

void CompressStep(void* context) {
  auto* c = static_cast<Compressor*>(context);
  jpeg_create_compress(&c->cinfo);
  jpeg_mem_dest(&c->cinfo, &c->output, &c->outputSize);
  c->cinfo.image_width = static_cast<JDIMENSION>(c->bitmap->width());
  c->cinfo.image_height = static_cast<JDIMENSION>(c->bitmap->height());
  c->cinfo.input_components = 3;
  c->cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c->cinfo);
  jpeg_set_quality(&c->cinfo, c->quality, TRUE);
  jpeg_simple_progression(&c->cinfo);
  jpeg_start_compress(&c->cinfo, TRUE);
  while (c->cinfo.next_scanline < c->cinfo.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(c->bitmap->constScanLine(static_cast<int>(c->cinfo.next_scanline)));
    jpeg_write_scanlines(&c->cinfo, &row, 1);
  }
  jpeg_finish_compress(&c->cinfo);
}

int Scaled(int size, TJPEGScale scale) {
  const int denominator = 1 << scale;
  return static_cast<int>((std::int64_t{size} + denominator - 1) / denominator);
}

// The orientation of the first APP1 segment that holds EXIF data.
TOrientation SavedOrientation(const jpeg_decompress_struct& cinfo) {
  static constexpr unsigned char kExif[] = {'E', 'x', 'i', 'f', 0, 0};
  for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker; marker = marker->next) {
    if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= sizeof kExif &&
        std::memcmp(marker->data, kExif, sizeof kExif) == 0) {
      return ExifOrientation(marker->data, marker->data_length);
    }
  }
  return kUpright;
}

}  // namespace

void TJPEGImage::LoadFromFile(const std::string& fileName) { LoadFromBytes(ReadFileBytes(fileName)); }

void TJPEGImage::LoadFromBytes(std::string bytes) {
  Decompressor decompressor(bytes, true);
  decompressor.Run(ReadHeaderStep, &decompressor);
  CheckPictureSize(decompressor.cinfo.image_width, decompressor.cinfo.image_height);
  storedWidth_ = static_cast<int>(decompressor.cinfo.image_width);
  storedHeight_ = static_cast<int>(decompressor.cinfo.image_height);
  orientation_ = SavedOrientation(decompressor.cinfo);
  bytes_ = std::move(bytes);
}

int TJPEGImage::Width() const { return SwapsSides(orientation_) ? storedHeight_ : storedWidth_; }
int TJPEGImage::Height() const { return SwapsSides(orientation_) ? storedWidth_ : storedHeight_; }
int TJPEGImage::ScaledWidth() const { return Scaled(Width(), Scale); }
int TJPEGImage::ScaledHeight() const { return Scaled(Height(), Scale); }

TBitmap TJPEGImage::Decode() const {
  TBitmap bitmap;
  DecodeTo(bitmap);
  return bitmap;
}

void TJPEGImage::DecodeTo(TBitmap& bitmap, unsigned threads) const {
  ReuseBitmap(bitmap, Scaled(storedWidth_, Scale), Scaled(storedHeight_, Scale));
  DecodeInto(PixelRows(bitmap), nullptr);
  bitmap = TurnBitmap(std::move(bitmap), orientation_, threads);
}

void TJPEGImage::DecodeInto(const TPixelRows& rows, TRowProgress* progress) const {
  Decompressor decompressor(bytes_, false);
  jpeg_decompress_struct& cinfo = decompressor.cinfo;
  decompressor.Run(ReadHeaderStep, &decompressor);
  cinfo.scale_num = 1;
  cinfo.scale_denom = 1u << Scale;
  cinfo.dct_method = Performance == jpBestSpeed ? JDCT_IFAST : JDCT_ISLOW;
  cinfo.do_block_smoothing = TRUE;
  const bool cmyk = IsCmyk(cinfo.jpeg_color_space);
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  decompressor.Run(CalcOutputStep, &cinfo);
  if (!rows.bits || rows.width != static_cast<int>(cinfo.output_width) ||
      rows.height != static_cast<int>(cinfo.output_height)) {
    throw Exception("JPEG image does not match its header");
  }
  std::vector<unsigned char> cmykRow(cmyk ? 4 * std::size_t{cinfo.output_width} : 0);
  ScanlineTarget target{&cinfo, rows.bits, rows.stride, cmyk ? cmykRow.data() : nullptr, progress};
  decompressor.Run(ReadScanlinesStep, &target);
  if (progress) progress->Publish(rows.height);
}

std::string EncodeProgressiveJpeg(const TBitmap& bitmap, int quality) {
  const TBitmap pixels = ToBitmap24(bitmap);
  Compressor compressor(pixels, quality);
  if (!Guarded(&compressor.error, CompressStep, &compressor)) throw Exception(compressor.error.message);
  return std::string(reinterpret_cast<const char*>(compressor.output), compressor.outputSize);
}

}  // namespace tessalune
