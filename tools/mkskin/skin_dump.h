#pragma once
// What `mkskin dump` tells about a skin file, found through the reader's
// own code (archive extraction, the container's chain, its value decoders
// and the BMP reader), so that what it shows is what a program reading the
// skin gets.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "skin/reader/skin_archive.h"

namespace mkskin {

struct DumpEntry {
  std::string name;  // as stored (GBK)
  std::uint8_t kind = 0;
  base::Bytes data;  // as stored
  // Integer entries: the decoded value; boolean entries: the stored byte.
  std::int32_t value = 0;
  // Bitmap entries, when the picture decodes.
  int width = 0, height = 0, bits_per_pixel = 0;
  // Why a bitmap entry's picture does not decode.
  std::optional<std::string> problem;
};

struct SkinDump {
  skin::reader::TExtractResult result = skin::reader::erFailed;
  // Extracted whole, the chain parsed to its end and every picture decodes:
  // what the reader needs to be complete.
  bool complete = false;
  std::vector<DumpEntry> entries;  // chain order
  std::optional<std::string> failure;  // why the container could not be parsed
};

// Never throws for a damaged file: what cannot be read is reported.
SkinDump DumpSkinFile(base::ByteView skin_file, const std::string& password);

// "bitmap", "integer", "boolean", "string", or "unknown" for kinds above 3.
const char* KindName(std::uint8_t kind);
// "done", "failed", "rejected".
const char* ResultName(skin::reader::TExtractResult result);

// The bits per pixel a BMP file's header states (0 when it has no header
// this reader knows).
int BmpBitsPerPixel(base::ByteView bmp_file);

// UTF-8 text for a terminal: one line per entry.
std::string DumpText(const SkinDump& dump);
// {"result", "complete", "entries": [{"name", "kind", "value" | "width", "height",
// "bits_per_pixel"}]}; names and strings in UTF-8.
std::string DumpJson(const SkinDump& dump);

}  // namespace mkskin
