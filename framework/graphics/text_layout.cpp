#include "framework/graphics/text_layout.h"

#include <algorithm>

#include "base/gbk_text.h"
#include "framework/graphics/text_renderer.h"

namespace graphics {
namespace {

// A line of display text and the byte offsets of its underlined
// characters.
struct Line {
  std::string text;
  std::vector<std::size_t> underlined;
};

bool IsDoubleByte(std::string_view text, std::size_t i) {
  return base::GbkCharLength(text, i) == 2;
}

// Removes prefix marks: "&&" is '&', "&x" underlines x, a lone '&' at the
// end vanishes.
Line StripPrefixes(std::string_view text) {
  Line out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '&' && i + 1 < text.size()) {
      if (text[i + 1] == '&') {
        out.text += '&';
        i += 2;
        continue;
      }
      ++i;
      out.underlined.push_back(out.text.size());
      std::size_t n = base::GbkCharLength(text, i);
      out.text.append(text.substr(i, n));
      i += n;
      continue;
    }
    if (text[i] == '&') break;  // the lone '&' at the end
    std::size_t n = base::GbkCharLength(text, i);
    out.text.append(text.substr(i, n));
    i += n;
  }
  return out;
}

Line Slice(const Line& line, std::size_t begin, std::size_t end) {
  end = std::max(begin, end);
  Line out{line.text.substr(begin, end - begin), {}};
  for (std::size_t u : line.underlined) {
    if (u >= begin && u < end) out.underlined.push_back(u - begin);
  }
  return out;
}

std::vector<Line> SplitParagraphs(const Line& all) {
  std::vector<Line> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < all.text.size(); ++i) {
    char c = all.text[i];
    if (c != '\r' && c != '\n') continue;
    lines.push_back(Slice(all, start, i));
    if (c == '\r' && i + 1 < all.text.size() && all.text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(Slice(all, start, all.text.size()));
  return lines;
}

class Measurer {
public:
  Measurer(const TextMetrics& m, bool tabs) : m_(m), tabs_(tabs) {}

  // Calls run(offset, piece, x) for every tab-free piece of the line, with
  // its x from the line's start; returns the line's width.
  template <typename Run>
  int Walk(std::string_view text, Run run) const {
    int x = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
      bool end = i == text.size();
      if (!end && !(tabs_ && text[i] == '\t')) continue;
      if (i > start) {
        run(start, text.substr(start, i - start), x);
        x += m_.width(text.substr(start, i - start));
      }
      if (!end && m_.tab_width > 0) x = (x / m_.tab_width + 1) * m_.tab_width;
      start = i + 1;
    }
    return x;
  }

  int Width(std::string_view text) const {
    return Walk(text, [](std::size_t, std::string_view, int) {});
  }

private:
  const TextMetrics& m_;
  bool tabs_;
};

std::size_t TrimmedEnd(std::string_view text, std::size_t end) {
  while (end > 0 && text[end - 1] == ' ') --end;
  return end;
}

// Greedy wrapping at the break opportunities described in the header.
std::vector<Line> Wrap(const Line& line, int limit, const Measurer& measure) {
  const std::string& t = line.text;
  // Token ends: after a space run, and around double-byte characters.
  std::vector<std::size_t> breaks;
  for (std::size_t i = 0; i < t.size();) {
    std::size_t n = base::GbkCharLength(t, i);
    bool dbcs = n == 2;
    std::size_t next = i + n;
    bool space_run_ends = t[i] == ' ' && (next == t.size() || t[next] != ' ');
    bool before_dbcs = next < t.size() && IsDoubleByte(t, next);
    if (dbcs || space_run_ends || before_dbcs || next == t.size()) breaks.push_back(next);
    i = next;
  }

  std::vector<Line> out;
  std::size_t line_start = 0;
  std::size_t line_end = 0;  // last accepted token end
  for (std::size_t b : breaks) {
    std::size_t trimmed = TrimmedEnd(t, b);
    std::string_view candidate = std::string_view(t).substr(line_start, trimmed - line_start);
    bool fits = measure.Width(candidate) <= limit;
    if (!fits && line_end > line_start) {
      out.push_back(Slice(line, line_start, TrimmedEnd(t, line_end)));
      line_start = line_end;
    }
    line_end = b;
  }
  out.push_back(Slice(line, line_start, TrimmedEnd(t, std::max(line_end, line_start))));
  return out;
}

}  // namespace

TextLayout LayoutText(std::string_view text, const TRect& rect, unsigned flags,
                      const TextMetrics& metrics) {
  const bool single = flags & dt::SingleLine;
  Measurer measure(metrics, (flags & dt::ExpandTabs) != 0);

  Line all = (flags & dt::NoPrefix) ? Line{std::string(text), {}} : StripPrefixes(text);
  std::vector<Line> lines;
  if (single) {
    lines.push_back(std::move(all));
  } else {
    for (Line& paragraph : SplitParagraphs(all)) {
      if (flags & dt::WordBreak) {
        for (Line& l : Wrap(paragraph, rect.Width(), measure)) lines.push_back(std::move(l));
      } else {
        lines.push_back(std::move(paragraph));
      }
    }
  }

  TextLayout layout;
  const int lh = metrics.line_height;
  layout.height = static_cast<int>(lines.size()) * lh;
  int y = rect.Top;
  if (single && (flags & dt::VCenter)) {
    y = rect.Top + (rect.Height() - lh) / 2;
  } else if (single && (flags & dt::Bottom)) {
    y = rect.Bottom - lh;
  }
  layout.result = (single && (flags & (dt::VCenter | dt::Bottom))) ? y - rect.Top + lh
                                                                    : layout.height;

  for (const Line& line : lines) {
    const int width = measure.Width(line.text);
    layout.width = std::max(layout.width, width);
    int x = rect.Left;
    if (flags & dt::Center) {
      x = rect.Left + (rect.Width() - width) / 2;
    } else if (flags & dt::Right) {
      x = rect.Right - width;
    }
    measure.Walk(line.text, [&](std::size_t offset, std::string_view piece, int px) {
      layout.runs.push_back({x + px, y, std::string(piece)});
      for (std::size_t u : line.underlined) {
        if (u < offset || u >= offset + piece.size()) continue;
        std::size_t n = base::GbkCharLength(piece, u - offset);
        int ux = x + px + metrics.width(piece.substr(0, u - offset));
        int uw = metrics.width(piece.substr(u - offset, n));
        layout.underlines.push_back({ux, y + lh - 1, ux + uw, y + lh});
      }
    });
    y += lh;
  }
  return layout;
}

}  // namespace graphics
