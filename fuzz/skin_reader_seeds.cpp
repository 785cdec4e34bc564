// Writes the seed inputs of the skin_reader and skin_inflate fuzz targets:
// small valid skin files made by the skin file writer, plain and encrypted
// with the targets' password, with the member's stream stored, in fixed and
// in dynamic Huffman blocks, split into blocks by flushes, and two made by
// Info-ZIP's zip (when it is on the PATH); and the raw Deflate streams of
// the same kinds, behind their 2-byte expected size. Every file is written
// the same way on every run except the zip-made encrypted one (zip draws
// its encryption header at random).
//
// Usage: skin_reader_seeds READER_DIR INFLATE_DIR
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/error.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/reader/pkware_cipher.h"
#include "skin/reader/skin_archive_layout.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

namespace {

namespace archive = skin::reader::archive;
namespace fs = std::filesystem;

// The password the fuzz target tries besides the empty one.
constexpr char kPassword[] = "fuzz";
// Seeds larger than this teach the fuzzer little and slow every run.
constexpr std::size_t kMaxSeedSize = 4096;

// The local header's fields that skin_archive_layout.h leaves out because
// the reader takes them from the central header.
constexpr std::size_t kLocalFlags = 6;
constexpr std::size_t kLocalCompressedSize = 18;

void Write(const fs::path& path, base::ByteView bytes) {
  if (bytes.size() > kMaxSeedSize) {
    std::fprintf(stderr, "%s: %zu bytes is too large for a seed\n", path.c_str(), bytes.size());
    std::exit(1);
  }
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  std::printf("%-40s %5zu bytes\n", path.filename().c_str(), bytes.size());
}

base::Bytes Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return base::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A picture whose pixels depend on their place.
graphics::TBitmap Picture(int width, int height, int seed) {
  graphics::TBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap.SetPixel(x, y,
                      static_cast<graphics::TColor>((x * 37 + y * 91 + seed * 13) & 0xFFFFFF));
  return bitmap;
}

// An 8-bit BMP with a 4-colour palette (BITMAPINFOHEADER, bottom-up), the
// pixels either plain or run-length encoded (BI_RLE8), so that the seeds
// reach the palette and RLE paths of the BMP decoder, not only WriteBmp's.
base::Bytes Bmp8(int width, int height, bool rle) {
  constexpr std::size_t kPalette = 4;
  const std::size_t pixels_at = 14 + 40 + kPalette * 4;
  base::Bytes pixels;
  const int stride = (width + 3) / 4 * 4;
  for (int y = 0; y < height; ++y) {
    if (rle) {
      // Two runs per row, then end of line; end of bitmap after the last.
      pixels.insert(pixels.end(), {static_cast<std::uint8_t>(width / 2), 1,
                                   static_cast<std::uint8_t>(width - width / 2),
                                   static_cast<std::uint8_t>(2 + y % 2), 0, 0});
    } else {
      for (int x = 0; x < stride; ++x) pixels.push_back(x < width ? (x + y) % kPalette : 0);
    }
  }
  if (rle) pixels.insert(pixels.end(), {0, 1});
  base::Bytes b(pixels_at, 0);
  b[0] = 'B';
  b[1] = 'M';
  base::PutU32(&b[10], static_cast<std::uint32_t>(pixels_at));
  base::PutU32(&b[14], 40);
  base::PutU32(&b[18], static_cast<std::uint32_t>(width));
  base::PutU32(&b[22], static_cast<std::uint32_t>(height));
  base::PutU16(&b[26], 1);
  base::PutU16(&b[28], 8);
  base::PutU32(&b[30], rle ? 1 : 0);
  base::PutU32(&b[34], static_cast<std::uint32_t>(pixels.size()));
  base::PutU32(&b[46], kPalette);
  const std::uint32_t palette[kPalette] = {0x000000, 0xFFFFFF, 0x3366CC, 0xCC6633};
  for (std::size_t i = 0; i < kPalette; ++i) base::PutU32(&b[54 + 4 * i], palette[i]);
  b.insert(b.end(), pixels.begin(), pixels.end());
  base::PutU32(&b[2], static_cast<std::uint32_t>(b.size()));
  return b;
}

// An RLE8 picture of the largest size the BMP decoder allows that ends at
// once: some 60 bytes for 256 MiB of pixels.
base::Bytes HugeEmptyRle8() {
  const int side = 8192;  // 8192 x 8192 = kMaxBmpPixels
  base::Bytes b(14 + 40 + 4, 0);
  b[0] = 'B';
  b[1] = 'M';
  base::PutU32(&b[10], static_cast<std::uint32_t>(b.size()));
  base::PutU32(&b[14], 40);
  base::PutU32(&b[18], side);
  base::PutU32(&b[22], side);
  base::PutU16(&b[26], 1);
  base::PutU16(&b[28], 8);
  base::PutU32(&b[30], 1);    // BI_RLE8
  base::PutU32(&b[46], 1);    // one palette entry
  b.insert(b.end(), {0, 1});  // end of bitmap
  base::PutU32(&b[2], static_cast<std::uint32_t>(b.size()));
  return b;
}

// A few entries of every kind, vocabulary names first, then one of each
// kind under a name of no item.
base::Bytes Container() {
  return mkskin::WriteContainer({
      mkskin::IntegerEntry("SKIN2_FORMCOLOR", 0x00F0E8E0),
      mkskin::IntegerEntry("SKIN2_TRANSCOLOR", 0x00FF00FF),
      mkskin::IntegerEntry("SKIN2_TITLEBARCAPTIONTOP", -7),
      mkskin::BooleanEntry("SKIN2_BUTTONTRANS", 1),
      mkskin::BooleanEntry("SKIN2_TITLEFIVESECT", 0),
      mkskin::StringEntry("SKIN_NAME", "seed"),
      mkskin::BitmapEntry("SKIN2_BUTTON", graphics::WriteBmp(Picture(6, 3, 1), 24)),
      mkskin::BitmapEntry("SKIN2_CHECKBOX", graphics::WriteBmp(Picture(6, 1, 2), 32)),
      mkskin::BitmapEntry("SKIN2_RADIOBUTTON", Bmp8(4, 2, false)),
      mkskin::BitmapEntry("skin2_titlebuttons", Bmp8(9, 2, true)),
      mkskin::IntegerEntry("OTHER_INTEGER", 12),
      mkskin::StringEntry("OTHER=STRING", "a=b"),
  });
}

// Raw Deflate by zlib with the given level and strategy; flush_at > 0 ends
// a block there with a full flush (an empty stored block follows it), and
// then_fixed writes the rest in fixed Huffman blocks.
base::Bytes ZlibDeflateRaw(base::ByteView data, int level, int strategy, std::size_t flush_at = 0,
                           bool then_fixed = false) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 9, strategy) != Z_OK) std::abort();
  base::Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 64);
  z.next_in = const_cast<Bytef*>(data.data());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (flush_at) {
    z.avail_in = static_cast<uInt>(flush_at);
    if (deflate(&z, Z_FULL_FLUSH) != Z_OK) std::abort();
    if (then_fixed && deflateParams(&z, 9, Z_FIXED) != Z_OK) std::abort();
  }
  z.avail_in = static_cast<uInt>(data.size() - flush_at);
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// A skin file of the writer whose member stream is replaced by the given
// one, encrypted with the password when one is given. With data_descriptor
// the check byte is the time's high byte, as for streamed archives.
base::Bytes WithStream(base::ByteView content, base::ByteView stream, const std::string& password,
                       bool data_descriptor = false) {
  const base::Bytes original = mkskin::WriteSkinArchive(archive::kSkinDataMember, content);
  const std::uint8_t* end = &original[original.size() - archive::kEndRecordSize];
  const std::size_t central_at = base::GetU32(end + archive::kEndDirectoryOffset);
  const std::size_t data_at =
      archive::kLocalHeaderSize + base::GetU16(&original[archive::kLocalNameLength]);

  base::Bytes data(stream.begin(), stream.end());
  std::uint16_t flags = base::GetU16(&original[kLocalFlags]);
  if (!password.empty()) {
    flags |= archive::kFlagEncrypted;
    if (data_descriptor) flags |= archive::kFlagDataDescriptor;
    const std::uint8_t* central = &original[central_at];
    const std::uint8_t check =
        data_descriptor
            ? static_cast<std::uint8_t>(base::GetU16(central + archive::kCentralTime) >> 8)
            : static_cast<std::uint8_t>(base::GetU32(central + archive::kCentralCrc) >> 24);
    base::Bytes header = {0x5E, 0xED, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, check};
    data.insert(data.begin(), header.begin(), header.end());
    skin::reader::TPkwareKeys(password).Encrypt(data.data(), data.size());
  }

  base::Bytes out(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(data_at));
  out.insert(out.end(), data.begin(), data.end());
  const std::size_t new_central_at = out.size();
  out.insert(out.end(), original.begin() + static_cast<std::ptrdiff_t>(central_at), original.end());
  const auto stored = static_cast<std::uint32_t>(data.size());
  base::PutU16(&out[kLocalFlags], flags);
  base::PutU32(&out[kLocalCompressedSize], stored);
  base::PutU16(&out[new_central_at + archive::kCentralFlags], flags);
  base::PutU32(&out[new_central_at + archive::kCentralCompressedSize], stored);
  base::PutU32(&out[out.size() - archive::kEndRecordSize + archive::kEndDirectoryOffset],
               static_cast<std::uint32_t>(new_central_at));
  return out;
}

// The container zipped by Info-ZIP with the given options, its first two
// bytes made "SK". None when zip is missing or fails.
bool ZipMade(const base::Bytes& content, const std::string& options, base::Bytes& out) {
  const fs::path dir = fs::temp_directory_path() / ("vanto-skin-seeds-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / archive::kSkinDataMember, std::ios::binary)
      .write(reinterpret_cast<const char*>(content.data()),
             static_cast<std::streamsize>(content.size()));
  // A fixed modification time, which zip stores, keeps the file the same.
  const std::string command = "cd '" + dir.string() + "' && touch -t 202001010000 " +
                              archive::kSkinDataMember + " && zip -q -X -9 " + options +
                              " skin.zip " + archive::kSkinDataMember + " >/dev/null 2>&1";
  const bool made = std::system(command.c_str()) == 0;
  if (made) out = Read(dir / "skin.zip");
  fs::remove_all(dir);
  if (!made || out.size() < 2) return false;
  out[0] = archive::kMagic[0];
  out[1] = archive::kMagic[1];
  return true;
}

// The expected size (2 bytes), then the stream.
base::Bytes InflateSeed(std::size_t expected, base::ByteView stream) {
  base::Bytes out(2 + stream.size());
  base::PutU16(out.data(), static_cast<std::uint16_t>(expected));
  std::copy(stream.begin(), stream.end(), out.begin() + 2);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skin_reader_seeds READER_DIR INFLATE_DIR\n");
    return 2;
  }
  const fs::path reader_dir = argv[1];
  const fs::path inflate_dir = argv[2];
  fs::create_directories(reader_dir);
  fs::create_directories(inflate_dir);

  try {
    const base::Bytes content = Container();
    mkskin::ArchiveOptions encrypted;
    encrypted.password = kPassword;
    encrypted.seed = 1;
    Write(reader_dir / "writer-plain.skn",
          mkskin::WriteSkinArchive(archive::kSkinDataMember, content));
    Write(reader_dir / "writer-encrypted.skn",
          mkskin::WriteSkinArchive(archive::kSkinDataMember, content, encrypted));

    struct Variant {
      const char* name;
      base::Bytes stream;
    };
    const std::size_t half = content.size() / 2;
    const Variant variants[] = {
        {"stored", ZlibDeflateRaw(content, 0, Z_DEFAULT_STRATEGY)},
        {"fixed", ZlibDeflateRaw(content, 9, Z_FIXED)},
        {"dynamic", ZlibDeflateRaw(content, 9, Z_DEFAULT_STRATEGY)},
        {"huffman-only", ZlibDeflateRaw(content, 9, Z_HUFFMAN_ONLY)},
        {"rle", ZlibDeflateRaw(content, 9, Z_RLE)},
        {"flushed", ZlibDeflateRaw(content, 6, Z_DEFAULT_STRATEGY, half)},
        {"stored-then-fixed", ZlibDeflateRaw(content, 0, Z_DEFAULT_STRATEGY, half, true)},
    };
    for (const Variant& v : variants) {
      Write(inflate_dir / (std::string(v.name) + ".bin"), InflateSeed(content.size(), v.stream));
      // A stream the writer makes too is in the writer's files already.
      if (v.stream == mkskin::DeflateRaw(content)) continue;
      Write(reader_dir / (std::string("plain-") + v.name + ".skn"),
            WithStream(content, v.stream, ""));
      Write(reader_dir / (std::string("encrypted-") + v.name + ".skn"),
            WithStream(content, v.stream, kPassword));
    }
    Write(reader_dir / "encrypted-descriptor.skn",
          WithStream(content, ZlibDeflateRaw(content, 9, Z_DEFAULT_STRATEGY), kPassword, true));
    // A stream cut short, and one that says it is larger than the member.
    const base::Bytes dynamic = ZlibDeflateRaw(content, 9, Z_DEFAULT_STRATEGY);
    Write(inflate_dir / "cut.bin",
          InflateSeed(content.size(), base::ByteView(dynamic).first(dynamic.size() / 2)));
    Write(inflate_dir / "too-long.bin", InflateSeed(content.size() / 3, dynamic));
    const std::string text = "mov eax, call 0x00401000 install VANTO-X registry shortcut\r\n";
    std::string texts;
    for (int i = 0; i < 20; ++i) texts += text.substr(static_cast<std::size_t>(i) % 7);
    Write(inflate_dir / "text.bin",
          InflateSeed(texts.size(), ZlibDeflateRaw(base::AsBytes(texts), 9, Z_DEFAULT_STRATEGY)));
    Write(inflate_dir / "empty.bin", InflateSeed(0, ZlibDeflateRaw({}, 9, Z_DEFAULT_STRATEGY)));

    // Regression inputs: files that once broke an invariant of the target.
    // Two pictures of the decoder's largest size: 512 MiB of pixels from a
    // file of under 200 bytes.
    Write(reader_dir / "regression-pictures-over-budget.skn",
          mkskin::WriteSkinArchive(archive::kSkinDataMember,
                                   mkskin::WriteContainer({
                                       mkskin::BitmapEntry("SKIN2_TITLEBAR1", HugeEmptyRle8()),
                                       mkskin::BitmapEntry("SKIN2_TITLEBAR2", HugeEmptyRle8()),
                                   })));

    base::Bytes zipped;
    for (const auto& [name, options] :
         {std::pair{"zip-plain.skn", ""}, std::pair{"zip-encrypted.skn", "-e -P fuzz"}}) {
      if (ZipMade(content, options, zipped))
        Write(reader_dir / name, zipped);
      else
        std::fprintf(stderr, "zip is missing or failed: %s not written\n", name);
    }
  } catch (const base::Error& e) {
    std::fprintf(stderr, "skin_reader_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
