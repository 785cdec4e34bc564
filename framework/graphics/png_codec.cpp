#include "framework/graphics/png_codec.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "base/crc32.h"
#include "base/error.h"

namespace graphics {
namespace {

[[noreturn]] void Invalid() { throw base::Error("Bitmap image is not valid"); }

// ---------------------------------------------------------------------------
// Chunks

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// A chunk is length (4), type (4), data (length), CRC of type and data (4).
constexpr std::size_t kChunkOverhead = 12;
constexpr std::uint32_t kIhdrLength = 13;

constexpr std::uint32_t Type(const char (&name)[5]) {
  return (std::uint32_t{static_cast<std::uint8_t>(name[0])} << 24) |
         (std::uint32_t{static_cast<std::uint8_t>(name[1])} << 16) |
         (std::uint32_t{static_cast<std::uint8_t>(name[2])} << 8) |
         std::uint32_t{static_cast<std::uint8_t>(name[3])};
}
constexpr std::uint32_t kIhdr = Type("IHDR");
constexpr std::uint32_t kPlte = Type("PLTE");
constexpr std::uint32_t kIdat = Type("IDAT");
constexpr std::uint32_t kIend = Type("IEND");

// Bit 5 of the first type byte (lower case) marks a chunk a decoder may
// skip; one without it that the decoder does not know makes the picture
// unreadable.
bool IsAncillary(std::uint32_t type) { return (type & 0x20000000) != 0; }

bool IsLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

struct Chunk {
  std::uint32_t type = 0;
  base::ByteView data;
};

// Hands out the chunks one by one, each checked against the input's end
// and its CRC before anything of it is looked at.
class ChunkReader {
public:
  explicit ChunkReader(base::ByteView in) : in_(in) {
    if (in_.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), in_.begin()))
      Invalid();
    pos_ = kSignature.size();
  }

  Chunk Next() {
    if (in_.size() - pos_ < kChunkOverhead) Invalid();  // also: no IEND before the end
    const std::uint8_t* head = in_.data() + pos_;
    const std::uint32_t length = base::GetU32Be(head);
    if (length > in_.size() - pos_ - kChunkOverhead) Invalid();
    for (int i = 4; i < 8; ++i) {
      if (!IsLetter(head[i])) Invalid();
    }
    // CRC-32 over type and data.
    if (base::Crc32(head + 4, 4 + length) != base::GetU32Be(head + 8 + length)) Invalid();
    pos_ += kChunkOverhead + length;
    return {base::GetU32Be(head + 4), base::ByteView(head + 8, length)};
  }

private:
  base::ByteView in_;
  std::size_t pos_ = 0;
};

// ---------------------------------------------------------------------------
// IHDR and PLTE

constexpr std::uint8_t kGrey = 0;
constexpr std::uint8_t kRgb = 2;
constexpr std::uint8_t kPalette = 3;

struct Header {
  int width = 0;
  int height = 0;
  int depth = 0;  // bits per sample
  std::uint8_t colour_type = 0;
  std::size_t row_bytes = 0;    // one row's samples, without its filter byte
  std::size_t filter_step = 0;  // the byte of the pixel before: bytes per pixel, at least 1
};

Header ReadHeader(base::ByteView ihdr) {
  if (ihdr.size() != kIhdrLength) Invalid();
  const std::uint32_t width = base::GetU32Be(ihdr.data());
  const std::uint32_t height = base::GetU32Be(ihdr.data() + 4);
  const std::uint8_t depth = ihdr[8];
  const std::uint8_t colour_type = ihdr[9];
  const std::uint8_t compression = ihdr[10];    // 0: Deflate, the only one defined
  const std::uint8_t filter_method = ihdr[11];  // 0: the five row filters
  const std::uint8_t interlace = ihdr[12];      // 0: none (1, Adam7, is not read here)
  if (width == 0 || height == 0 || width > static_cast<std::uint32_t>(kMaxBitmapSide) ||
      height > static_cast<std::uint32_t>(kMaxBitmapSide))
    Invalid();
  if (std::size_t{width} * std::size_t{height} > kMaxPngPixels) Invalid();
  if (compression != 0 || filter_method != 0 || interlace != 0) Invalid();

  int samples = 0;
  switch (colour_type) {
    case kGrey:
    case kPalette:
      if (depth != 1 && depth != 2 && depth != 4 && depth != 8) Invalid();
      samples = 1;
      break;
    case kRgb:
      if (depth != 8) Invalid();
      samples = 3;
      break;
    default:
      Invalid();  // grey with alpha (4), RGB with alpha (6), and undefined types
  }
  Header h;
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);
  h.depth = depth;
  h.colour_type = colour_type;
  const std::size_t bits_per_pixel = static_cast<std::size_t>(depth) * samples;
  h.row_bytes = (std::size_t{width} * bits_per_pixel + 7) / 8;
  h.filter_step = std::max<std::size_t>(1, bits_per_pixel / 8);
  return h;
}

std::vector<Pixel32> ReadPalette(base::ByteView plte) {
  if (plte.empty() || plte.size() % 3 != 0 || plte.size() / 3 > 256) Invalid();
  std::vector<Pixel32> palette(plte.size() / 3);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const std::uint8_t* e = plte.data() + 3 * i;  // red, green, blue
    palette[i] = (Pixel32{e[0]} << 16) | (Pixel32{e[1]} << 8) | e[2];
  }
  return palette;
}

// ---------------------------------------------------------------------------
// Inflating the image data

// Image data smaller than the rows over Deflate's best ratio cannot hold
// them (the zlib header and Adler-32 inside IDAT only add to the input);
// refusing it early saves allocating a bitmap it could never fill.
using base::kMaxDeflateRatio;

// The concatenated data of the IDAT chunks, inflated on demand. avail_in is
// 32 bits wide, as a chunk's length is.
class ImageData {
public:
  explicit ImageData(const std::vector<base::ByteView>& chunks) : chunks_(chunks) {
    if (inflateInit(&z_) != Z_OK) throw base::Error("Out of memory");
  }
  ImageData(const ImageData&) = delete;
  ImageData& operator=(const ImageData&) = delete;
  ~ImageData() { inflateEnd(&z_); }

  // Exactly count bytes of image data into out; a stream that ends sooner
  // or is damaged is refused.
  void Read(std::uint8_t* out, std::size_t count) {
    z_.next_out = out;
    z_.avail_out = static_cast<uInt>(count);
    while (z_.avail_out > 0) {
      if (ended_) Invalid();  // short: the rows need more than the stream holds
      Inflate();
    }
  }

  // After the last row: the stream must end there (its Adler-32 checked by
  // zlib), and no image data may follow it.
  void ExpectEnd() {
    std::uint8_t extra;
    while (!ended_) {
      z_.next_out = &extra;
      z_.avail_out = 1;
      Inflate();
      if (z_.avail_out == 0) Invalid();  // overlong: more data than the rows
    }
    if (z_.avail_in != 0) Invalid();
    for (; next_ < chunks_.size(); ++next_) {
      if (!chunks_[next_].empty()) Invalid();
    }
  }

private:
  void Inflate() {
    while (z_.avail_in == 0) {
      if (next_ == chunks_.size()) Invalid();  // the data ends inside the stream
      z_.next_in = const_cast<Bytef*>(chunks_[next_].data());
      z_.avail_in = static_cast<uInt>(chunks_[next_].size());
      ++next_;
    }
    const int rc = inflate(&z_, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      ended_ = true;
    } else if (rc != Z_OK) {
      Invalid();  // Z_DATA_ERROR (also a wrong Adler-32), Z_NEED_DICT, Z_MEM_ERROR
    }
  }

  const std::vector<base::ByteView>& chunks_;
  std::size_t next_ = 0;
  bool ended_ = false;
  z_stream z_{};
};

// ---------------------------------------------------------------------------
// Rows

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  if (pb <= pc) return static_cast<std::uint8_t>(b);
  return static_cast<std::uint8_t>(c);
}

// Undoes the row's filter in place: each byte was stored as its difference
// from a prediction out of the byte one pixel to the left (a), the byte
// above (b) and the byte above that left one (c); outside the picture they
// are 0.
void Unfilter(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* above, std::size_t size,
              std::size_t step) {
  switch (filter) {
    case 0:  // None
      return;
    case 1:  // Sub: a
      for (std::size_t i = step; i < size; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + row[i - step]);
      return;
    case 2:  // Up: b
      for (std::size_t i = 0; i < size; ++i) row[i] = static_cast<std::uint8_t>(row[i] + above[i]);
      return;
    case 3:  // Average: (a + b) / 2, rounded down
      for (std::size_t i = 0; i < size; ++i) {
        const int a = i >= step ? row[i - step] : 0;
        row[i] = static_cast<std::uint8_t>(row[i] + ((a + above[i]) >> 1));
      }
      return;
    case 4:  // Paeth: whichever of a, b, c is nearest a + b - c
      for (std::size_t i = 0; i < size; ++i) {
        const int a = i >= step ? row[i - step] : 0;
        const int c = i >= step ? above[i - step] : 0;
        row[i] = static_cast<std::uint8_t>(row[i] + Paeth(a, above[i], c));
      }
      return;
    default:
      Invalid();
  }
}

// Sample x of a row of depth-bit samples, packed from the high bits down.
unsigned Sample(const std::uint8_t* row, int x, int depth) {
  if (depth == 8) return row[x];
  const int bit = x * depth;
  const int shift = 8 - depth - (bit & 7);
  return (row[bit >> 3] >> shift) & ((1u << depth) - 1);
}

void ConvertRow(const Header& h, const std::vector<Pixel32>& palette, const std::uint8_t* row,
                Pixel32* out) {
  switch (h.colour_type) {
    case kRgb:
      for (int x = 0; x < h.width; ++x) {
        const std::uint8_t* p = row + 3 * x;
        out[x] = (Pixel32{p[0]} << 16) | (Pixel32{p[1]} << 8) | p[2];
      }
      break;
    case kGrey: {
      const unsigned top = (1u << h.depth) - 1;  // scaled so that the top is 255
      for (int x = 0; x < h.width; ++x) {
        const Pixel32 v = Sample(row, x, h.depth) * 255 / top;
        out[x] = (v << 16) | (v << 8) | v;
      }
      break;
    }
    default:
      for (int x = 0; x < h.width; ++x) {
        const unsigned index = Sample(row, x, h.depth);
        if (index >= palette.size()) Invalid();
        out[x] = palette[index];
      }
      break;
  }
}

}  // namespace

TPictureSize ReadPngSize(base::ByteView data) {
  ChunkReader chunks(data);
  const Chunk chunk = chunks.Next();
  if (chunk.type != kIhdr) Invalid();
  const Header h = ReadHeader(chunk.data);
  return {h.width, h.height};
}

TBitmap ReadPng(base::ByteView data) {
  ChunkReader chunks(data);
  Chunk chunk = chunks.Next();
  if (chunk.type != kIhdr) Invalid();
  const Header h = ReadHeader(chunk.data);

  // The chunks up to IEND: PLTE at most once and before the image data,
  // never for greyscale (RGB may carry one as a hint, which is skipped);
  // the IDAT chunks one run.
  std::vector<Pixel32> palette;
  bool seen_palette = false;
  std::vector<base::ByteView> idat;
  bool idat_over = false;
  std::uint64_t idat_bytes = 0;
  for (chunk = chunks.Next(); chunk.type != kIend; chunk = chunks.Next()) {
    if (chunk.type == kIdat) {
      if (idat_over) Invalid();
      idat.push_back(chunk.data);
      idat_bytes += chunk.data.size();
      continue;
    }
    if (!idat.empty()) idat_over = true;
    if (chunk.type == kPlte) {
      if (seen_palette || !idat.empty() || h.colour_type == kGrey) Invalid();
      seen_palette = true;
      std::vector<Pixel32> entries = ReadPalette(chunk.data);
      if (h.colour_type == kPalette) {
        if (entries.size() > (std::size_t{1} << h.depth)) Invalid();
        palette = std::move(entries);
      }
    } else if (chunk.type == kIhdr || !IsAncillary(chunk.type)) {
      Invalid();  // a second IHDR, or a critical chunk this reader does not know
    }
  }
  if (!chunk.data.empty()) Invalid();  // IEND is empty
  if (idat.empty()) Invalid();
  if (h.colour_type == kPalette && palette.empty()) Invalid();

  const std::uint64_t inflated = static_cast<std::uint64_t>(h.height) * (1 + h.row_bytes);
  if (inflated > idat_bytes * kMaxDeflateRatio) Invalid();

  TBitmap out(h.width, h.height);
  ImageData image(idat);
  // Each row is its filter type byte and its samples; the first row's
  // "above" is zeros.
  std::vector<std::uint8_t> row(1 + h.row_bytes);
  std::vector<std::uint8_t> above(1 + h.row_bytes, 0);
  for (int y = 0; y < h.height; ++y) {
    image.Read(row.data(), row.size());
    Unfilter(row[0], row.data() + 1, above.data() + 1, h.row_bytes, h.filter_step);
    ConvertRow(h, palette, row.data() + 1, out.Row(y));
    row.swap(above);
  }
  image.ExpectEnd();
  return out;
}

}  // namespace graphics
