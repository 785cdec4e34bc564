// Stored layouts in both forms: text as it is, and packed as the build
// packs them (length, then a zlib stream), with every way a packed one can
// be damaged refused rather than read as text or cut short.
#include "framework/core/stored_layout.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "base/bytes.h"
#include "base/error.h"

namespace {

using framework::UnpackStoredLayout;

const std::string kLayout =
    "object Form1: TForm\n  Caption = 'x'\n  object Label1: TLabel\n    Left = 8\n  end\nend\n";

// As mklayout packs (a packed block), written out here so that the test pins the form.
base::Bytes Packed(const std::string& text, std::uint32_t length) {
  base::Bytes out(4 + compressBound(static_cast<uLong>(text.size())));
  base::PutU32(out.data(), length);
  uLongf size = static_cast<uLongf>(out.size() - 4);
  EXPECT_EQ(compress2(out.data() + 4, &size, reinterpret_cast<const Bytef*>(text.data()),
                      static_cast<uLong>(text.size()), 9),
            Z_OK);
  out.resize(4 + size);
  return out;
}

std::string ErrorOf(const base::Bytes& stored) {
  try {
    UnpackStoredLayout(stored, "TFORM1");
  } catch (const base::Error& e) {
    return e.what();
  }
  return "no error";
}

TEST(StoredLayout, TextAndItsPackedFormReadTheSame) {
  EXPECT_EQ(UnpackStoredLayout(base::AsBytes(kLayout), "TFORM1"), kLayout);
  EXPECT_EQ(UnpackStoredLayout(Packed(kLayout, kLayout.size()), "TFORM1"), kLayout);
  // A text shorter than the length field is text too.
  EXPECT_EQ(UnpackStoredLayout(base::AsBytes("end"), "TFORM1"), "end");
  EXPECT_EQ(UnpackStoredLayout(Packed("", 0), "TFORM1"), "");
}

TEST(StoredLayout, ADamagedPackedLayoutIsRefused) {
  const std::string damaged = "Stored layout TFORM1 is damaged";
  const auto size = static_cast<std::uint32_t>(kLayout.size());
  EXPECT_EQ(ErrorOf(Packed(kLayout, size + 1)), damaged);  // the stream ends too soon
  EXPECT_EQ(ErrorOf(Packed(kLayout, size - 1)), damaged);  // it goes on past the length
  base::Bytes flipped = Packed(kLayout, size);
  flipped[flipped.size() - 6] ^= 0x01;  // a deflated byte: a wrong Adler-32 at the least
  EXPECT_EQ(ErrorOf(flipped), damaged);
  base::Bytes cut = Packed(kLayout, size);
  cut.resize(cut.size() - 2);  // half the Adler-32
  EXPECT_EQ(ErrorOf(cut), damaged);
  // A length no stream of that size could reach is refused before anything
  // that large is allocated.
  base::Bytes huge = Packed(kLayout, size);
  base::PutU32(huge.data(), 0x00FFFFFF);
  EXPECT_EQ(ErrorOf(huge), damaged);
}

}  // namespace
