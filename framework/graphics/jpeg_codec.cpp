#include "framework/graphics/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "base/error.h"
#include "framework/graphics/jpeg_messages.h"

namespace graphics {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not
// return. It jumps back to the setjmp of the C-side step that is running.
// Those steps (ReadHeader, ReadPixels) hold nothing with a destructor, so
// the jump skips no C++ clean-up; the C++ caller turns their failure into
// an exception once it is back in ordinary code.
struct ErrorManager {
  jpeg_error_mgr pub;  // first, so that libjpeg's pointer to it is ours too
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// libjpeg's message for the error at hand, as its own formatter would
// write it, cut to the buffer libjpeg's interface promises.
void FormatMessage(j_common_ptr cinfo, char* buffer) {
  const jpeg_error_mgr& err = *cinfo->err;
  std::string text;
  try {
    if (const char* format = JpegMessageText(err.msg_code)) {
      const char* s = err.msg_parm.s;
      const std::string_view parm(s, std::find(s, s + JMSG_STR_PARM_MAX, '\0') - s);
      text = FormatJpegMessage(format, err.msg_parm.i, parm);
    } else {
      const int code[] = {err.msg_code};
      text = FormatJpegMessage(JpegMessageText(0), code, {});  // "Bogus message code %d"
    }
  } catch (const std::bad_alloc&) {
    std::strcpy(buffer, "Insufficient memory");
    return;
  }
  const std::size_t n = std::min<std::size_t>(text.size(), JMSG_LENGTH_MAX - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  FormatMessage(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings are counted, not printed; trace messages are dropped.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0) ++cinfo->err->num_warnings;
}

void OnOutput(j_common_ptr) {}

void OnReset(j_common_ptr cinfo) {
  cinfo->err->num_warnings = 0;
  cinfo->err->msg_code = 0;
}

struct Session {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  bool created;
  int components;
  bool inverted_cmyk;
};

// Reads the header and starts decompression. False on a libjpeg error.
bool ReadHeader(Session& s, const unsigned char* data, unsigned long size) {
  if (setjmp(s.err.jump)) return false;
  jpeg_create_decompress(&s.cinfo);
  s.created = true;
  jpeg_mem_src(&s.cinfo, data, size);
  jpeg_read_header(&s.cinfo, TRUE);
  switch (s.cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
      s.cinfo.out_color_space = JCS_GRAYSCALE;
      s.components = 1;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      s.cinfo.out_color_space = JCS_CMYK;
      s.components = 4;
      s.inverted_cmyk = s.cinfo.saw_Adobe_marker;
      break;
    default:
      s.cinfo.out_color_space = JCS_RGB;
      s.components = 3;
      break;
  }
  return true;
}

bool StartDecompress(Session& s) {
  if (setjmp(s.err.jump)) return false;
  jpeg_start_decompress(&s.cinfo);
  return true;
}

unsigned Scale(unsigned a, unsigned b) { return (a * b + 127) / 255; }

// Decodes every scanline into pixels (width * height, top-down). False on
// a libjpeg error.
bool ReadPixels(Session& s, Pixel32* pixels) {
  if (setjmp(s.err.jump)) return false;
  const JDIMENSION width = s.cinfo.output_width;
  JSAMPARRAY line = (*s.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.cinfo),
                                                 JPOOL_IMAGE, width * s.components, 1);
  while (s.cinfo.output_scanline < s.cinfo.output_height) {
    Pixel32* out = pixels + static_cast<std::size_t>(s.cinfo.output_scanline) * width;
    jpeg_read_scanlines(&s.cinfo, line, 1);
    const JSAMPLE* in = line[0];
    for (JDIMENSION x = 0; x < width; ++x) {
      unsigned r, g, b;
      if (s.components == 1) {
        r = g = b = in[x];
      } else if (s.components == 3) {
        r = in[3 * x];
        g = in[3 * x + 1];
        b = in[3 * x + 2];
      } else {
        const JSAMPLE* p = in + 4 * x;
        unsigned c = p[0], m = p[1], y = p[2], k = p[3];
        if (!s.inverted_cmyk) {
          c = 255 - c;
          m = 255 - m;
          y = 255 - y;
          k = 255 - k;
        }
        // Inverted values: 255 means no ink.
        r = Scale(c, k);
        g = Scale(m, k);
        b = Scale(y, k);
      }
      out[x] = (r << 16) | (g << 8) | b;
    }
  }
  jpeg_finish_decompress(&s.cinfo);
  return true;
}

class SessionGuard {
public:
  SessionGuard() {
    s_.cinfo = {};
    s_.err = {};
    s_.created = false;
    s_.components = 0;
    s_.inverted_cmyk = false;
    // Every field libjpeg reads, set here rather than by jpeg_std_error
    // (jpeg_messages.h says why); the message tables stay empty because
    // FormatMessage reads its own.
    s_.err.pub.error_exit = OnError;
    s_.err.pub.emit_message = OnMessage;
    s_.err.pub.output_message = OnOutput;
    s_.err.pub.format_message = FormatMessage;
    s_.err.pub.reset_error_mgr = OnReset;
    s_.cinfo.err = &s_.err.pub;
  }
  SessionGuard(const SessionGuard&) = delete;
  SessionGuard& operator=(const SessionGuard&) = delete;
  ~SessionGuard() {
    if (s_.created) jpeg_destroy_decompress(&s_.cinfo);
  }
  Session& operator*() { return s_; }

  [[noreturn]] void Fail() { throw base::Error(std::string("JPEG error: ") + s_.err.message); }

private:
  Session s_;
};

}  // namespace

TBitmap ReadJpeg(base::ByteView data) {
  SessionGuard session;
  Session& s = *session;
  if (!ReadHeader(s, data.data(), static_cast<unsigned long>(data.size()))) session.Fail();
  const JDIMENSION w = s.cinfo.image_width;
  const JDIMENSION h = s.cinfo.image_height;
  if (w == 0 || h == 0 || w > static_cast<JDIMENSION>(kMaxBitmapSide) ||
      h > static_cast<JDIMENSION>(kMaxBitmapSide) ||
      static_cast<std::size_t>(w) * static_cast<std::size_t>(h) > kMaxJpegPixels) {
    throw base::Error("JPEG error: picture too large");
  }
  if (!StartDecompress(s)) session.Fail();

  TBitmap bitmap(static_cast<int>(s.cinfo.output_width), static_cast<int>(s.cinfo.output_height));
  if (!ReadPixels(s, bitmap.Row(0))) session.Fail();
  return bitmap;
}

}  // namespace graphics
