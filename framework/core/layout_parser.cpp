#include "framework/core/layout_parser.h"

#include <optional>

#include "base/hex_text.h"
#include "base/text_codec.h"

namespace framework {
namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Length of the UTF-8 sequence at text[i] and its code point; length 0 for
// bytes that are no valid UTF-8 (overlong forms and surrogates included).
struct CodePoint {
  std::size_t length;
  char32_t value;
};
CodePoint DecodeUtf8(std::string_view text, std::size_t i) {
  auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = b(i);
  if (lead < 0x80) return {1, lead};
  std::size_t n;
  char32_t cp;
  char32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4, cp = lead & 0x07, min = 0x10000;
  } else {
    return {0, 0};
  }
  if (i + n > text.size()) return {0, 0};
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return {0, 0};
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
  return {n, cp};
}

std::string CodePointName(char32_t cp) { return "U+" + base::UpperHex(cp, 4); }

enum class Tok { Word, Integer, String, Punct, Newline, End };

struct Token {
  Tok kind = Tok::End;
  TLayoutPosition position;
  std::string text;  // Word: the name or path; String: GBK
  std::int64_t integer = 0;
  char punct = 0;
};

std::string Describe(const Token& t) {
  switch (t.kind) {
    case Tok::Word: return "'" + t.text + "'";
    case Tok::Integer: return "a number";
    case Tok::String: return "a string";
    case Tok::Punct: return std::string("'") + t.punct + "'";
    case Tok::Newline: return "the end of the line";
    case Tok::End: return "the end of the text";
  }
  return "?";
}

class Lexer {
public:
  explicit Lexer(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") offset_ = 3;  // a byte order mark is no character
  }

  Token Next() {
    SkipBlanks();
    Token t;
    t.position = Here();
    if (offset_ >= text_.size()) return t;
    char c = text_[offset_];
    if (c == '\n') {
      t.kind = Tok::Newline;
      ++offset_;
      ++line_;
      column_ = 1;
    } else if (IsIdentStart(c)) {
      LexWord(t);
    } else if (IsDigit(c) ||
               (c == '-' && offset_ + 1 < text_.size() && IsDigit(text_[offset_ + 1]))) {
      LexNumber(t);
    } else if (c == '"') {
      LexString(t);
    } else if (std::string_view("=:,[]()+").find(c) != std::string_view::npos) {
      t.kind = Tok::Punct;
      t.punct = c;
      Advance(1);
    } else {
      throw TLayoutError(t.position, UnexpectedCharacter());
    }
    return t;
  }

private:
  TLayoutPosition Here() const { return {line_, column_}; }
  void Advance(std::size_t bytes) {
    offset_ += bytes;
    ++column_;
  }
  char Peek(std::size_t ahead = 0) const {
    return offset_ + ahead < text_.size() ? text_[offset_ + ahead] : '\0';
  }
  bool AtEnd() const { return offset_ >= text_.size(); }

  std::string UnexpectedCharacter() const {
    unsigned char c = static_cast<unsigned char>(text_[offset_]);
    if (c >= 0x80) {
      CodePoint cp = DecodeUtf8(text_, offset_);
      if (cp.length == 0) return "invalid UTF-8";
      return "unexpected character " + CodePointName(cp.value);
    }
    if (c < 0x20 || c == 0x7F) return "unexpected character " + CodePointName(c);
    if (c == '-') return "unexpected '-': a minus sign belongs right before a number";
    return std::string("unexpected character '") + static_cast<char>(c) + "'";
  }

  // Spaces, tabs, carriage returns (of CRLF line ends) and comments.
  void SkipBlanks() {
    while (!AtEnd()) {
      char c = text_[offset_];
      if (c == ' ' || c == '\t' || c == '\r') {
        Advance(1);
      } else if (c == '#') {
        while (!AtEnd() && text_[offset_] != '\n') {
          CodePoint cp = DecodeUtf8(text_, offset_);
          if (cp.length == 0) throw TLayoutError(Here(), "invalid UTF-8");
          Advance(cp.length);
        }
      } else {
        return;
      }
    }
  }

  void LexWord(Token& t) {
    t.kind = Tok::Word;
    while (true) {
      while (IsIdentChar(Peek())) {
        t.text += Peek();
        Advance(1);
      }
      if (Peek() != '.') return;
      t.text += '.';
      Advance(1);
      if (!IsIdentStart(Peek())) throw TLayoutError(Here(), "expected a name after '.'");
    }
  }

  void LexNumber(Token& t) {
    t.kind = Tok::Integer;
    bool negative = Peek() == '-';
    if (negative) Advance(1);
    std::uint64_t magnitude = 0;
    constexpr std::uint64_t kLimit = static_cast<std::uint64_t>(INT64_MAX);
    bool overflow = false;
    auto accumulate = [&](std::uint64_t base, int digit) {
      if (magnitude > (kLimit - static_cast<std::uint64_t>(digit)) / base) overflow = true;
      else magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
    };
    if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
      Advance(1);  // two characters: columns advance per character
      Advance(1);
      if (HexDigit(Peek()) < 0) throw TLayoutError(Here(), "expected hex digits after 0x");
      while (HexDigit(Peek()) >= 0) {
        accumulate(16, HexDigit(Peek()));
        Advance(1);
      }
    } else {
      while (IsDigit(Peek())) {
        accumulate(10, Peek() - '0');
        Advance(1);
      }
    }
    if (IsIdentChar(Peek()) || Peek() == '.') {
      throw TLayoutError(t.position,
                         "invalid number: only decimal and 0x hex integers are allowed");
    }
    if (overflow) throw TLayoutError(t.position, "number out of range");
    auto value = static_cast<std::int64_t>(magnitude);
    t.integer = negative ? -value : value;
  }

  // The text between the quotes goes to GBK in runs between escapes; an
  // escape's bytes are put in as they are.
  void LexString(Token& t) {
    t.kind = Tok::String;
    Advance(1);
    std::string run;
    TLayoutPosition run_start = Here();
    auto flush = [&] {
      AppendGbk(t.text, run, run_start);
      run.clear();
    };
    while (true) {
      if (AtEnd() || Peek() == '\n' || (Peek() == '\r' && Peek(1) == '\n')) {
        throw TLayoutError(t.position, "string not closed before the end of the line");
      }
      char c = Peek();
      if (c == '"') {
        flush();
        Advance(1);
        return;
      }
      if (c == '\\') {
        flush();
        TLayoutPosition at = Here();
        Advance(1);
        char e = Peek();
        switch (e) {
          case '"': t.text += '"'; break;
          case '\\': t.text += '\\'; break;
          case 'n': t.text += '\n'; break;
          case 'r': t.text += '\r'; break;
          case 't': t.text += '\t'; break;
          case 'x': {
            int hi = HexDigit(Peek(1));
            int lo = hi < 0 ? -1 : HexDigit(Peek(2));
            if (lo < 0) throw TLayoutError(at, "\\x needs two hex digits");
            t.text += static_cast<char>(hi * 16 + lo);
            Advance(1);
            Advance(1);
            break;
          }
          default:
            throw TLayoutError(at, "unknown escape; use \\\" \\\\ \\n \\r \\t or \\xHH");
        }
        Advance(1);
        run_start = Here();
        continue;
      }
      auto byte = static_cast<unsigned char>(c);
      if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
        throw TLayoutError(Here(), "control character in a string; write it as \\xHH");
      }
      CodePoint cp = DecodeUtf8(text_, offset_);
      if (cp.length == 0) throw TLayoutError(Here(), "invalid UTF-8");
      run.append(text_.substr(offset_, cp.length));
      Advance(cp.length);
    }
  }

  // run is valid UTF-8 on one line starting at start: a character without
  // a GBK form is found by converting the run character by character.
  static void AppendGbk(std::string& out, std::string_view run, TLayoutPosition start) {
    if (run.empty()) return;
    if (auto gbk = base::Utf8ToGbk(run)) {
      out += *gbk;
      return;
    }
    TLayoutPosition at = start;
    for (std::size_t i = 0; i < run.size(); ++at.column) {
      CodePoint cp = DecodeUtf8(run, i);
      if (!base::Utf8ToGbk(run.substr(i, cp.length))) {
        throw TLayoutError(at, "character " + CodePointName(cp.value) + " has no GBK form");
      }
      i += cp.length;
    }
    throw TLayoutError(start, "the text cannot be converted to GBK");
  }

  std::string_view text_;
  std::size_t offset_ = 0;
  int line_ = 1;
  int column_ = 1;
};

class Parser {
public:
  explicit Parser(std::string_view text) : lexer_(text) { Next(); }

  TLayoutObject ParseRoot() {
    SkipNewlines();
    if (tok_.kind == Tok::End) throw Error("the layout is empty: expected 'object'");
    if (!IsWord("object")) throw Error("expected 'object' at the start of the layout");
    TLayoutObject root = ParseObject(1);
    SkipNewlines();
    if (tok_.kind != Tok::End) {
      throw Error("expected nothing after the root object, found " + Describe(tok_));
    }
    return root;
  }

private:
  void Next() { tok_ = lexer_.Next(); }
  void SkipNewlines() {
    while (tok_.kind == Tok::Newline) Next();
  }
  bool IsWord(std::string_view w) const { return tok_.kind == Tok::Word && tok_.text == w; }
  bool IsPunct(char c) const { return tok_.kind == Tok::Punct && tok_.punct == c; }
  TLayoutError Error(const std::string& detail) const {
    return TLayoutError(tok_.position, detail);
  }

  static bool IsKeyword(std::string_view w) {
    return w == "object" || w == "end" || w == "true" || w == "false" || w == "resource";
  }

  // A plain name (no dots, no keyword) for an object, a class or a value.
  std::string TakeName(const std::string& expected) {
    if (tok_.kind != Tok::Word) throw Error(expected);
    if (auto dot = tok_.text.find('.'); dot != std::string::npos) {
      TLayoutPosition at = tok_.position;
      at.column += static_cast<int>(dot);
      throw TLayoutError(at, "a name here cannot have a '.'");
    }
    if (IsKeyword(tok_.text)) throw Error("'" + tok_.text + "' is a keyword, not a name");
    std::string name = tok_.text;
    Next();
    return name;
  }

  void EndOfLine(const std::string& after) {
    if (tok_.kind == Tok::Newline || tok_.kind == Tok::End) return;
    if (IsPunct('+')) throw Error("'+' joins strings only");
    throw Error("expected the end of the line after " + after + ", found " + Describe(tok_));
  }

  TLayoutObject ParseObject(int depth) {
    TLayoutObject obj;
    obj.position = tok_.position;
    if (depth > kMaxLayoutDepth) {
      throw Error("objects nested too deeply (more than " + std::to_string(kMaxLayoutDepth) +
                  " levels)");
    }
    Next();
    obj.name_position = tok_.position;
    obj.name = TakeName("expected the object's name after 'object'");
    if (!IsPunct(':')) throw Error("expected ':' after the object's name");
    Next();
    obj.class_position = tok_.position;
    obj.class_name = TakeName("expected a class name after ':'");
    EndOfLine("the class name");
    while (true) {
      SkipNewlines();
      if (tok_.kind == Tok::End) {
        throw Error("'end' of object " + obj.name + " (" + PositionText(obj.position) +
                    ") is missing");
      }
      if (IsWord("end")) {
        Next();
        EndOfLine("'end'");
        return obj;
      }
      if (IsWord("object")) {
        obj.children.push_back(ParseObject(depth + 1));
        continue;
      }
      if (tok_.kind != Tok::Word) throw Error("expected a property, 'object' or 'end'");
      if (!obj.children.empty()) {
        throw Error("properties of " + obj.name + " come before the objects inside it");
      }
      TLayoutProperty prop;
      prop.path = tok_.text;
      prop.position = tok_.position;
      Next();
      if (!IsPunct('=')) throw Error("expected '=' after property name");
      Next();
      prop.value = ParseValue();
      EndOfLine("the value");
      obj.properties.push_back(std::move(prop));
    }
  }

  TLayoutValue ParseValue() {
    TLayoutValue v;
    v.position = tok_.position;
    switch (tok_.kind) {
      case Tok::Integer:
        v.kind = TLayoutValueKind::Integer;
        v.integer = tok_.integer;
        Next();
        return v;
      case Tok::String:
        v.kind = TLayoutValueKind::String;
        v.text = ParseConcatenation();
        return v;
      case Tok::Word:
        if (IsWord("true") || IsWord("false")) {
          v.kind = TLayoutValueKind::Boolean;
          v.boolean = IsWord("true");
          Next();
        } else if (IsWord("resource")) {
          v.kind = TLayoutValueKind::Resource;
          Next();
          if (!IsPunct('(')) throw Error("expected '(' after resource");
          Next();
          if (tok_.kind != Tok::String) throw Error("expected the resource's name as a string");
          v.text = tok_.text;
          Next();
          if (!IsPunct(')')) throw Error("expected ')' after the resource's name");
          Next();
        } else {
          v.kind = TLayoutValueKind::Identifier;
          v.text = TakeName("expected a value");
        }
        return v;
      case Tok::Punct:
        if (IsPunct('[')) return ParseList(TLayoutValueKind::Set, ']');
        if (IsPunct('(')) return ParseList(TLayoutValueKind::StringList, ')');
        break;
      case Tok::Newline:
      case Tok::End:
        throw Error("expected a value after '='");
    }
    throw Error("expected a value, found " + Describe(tok_));
  }

  // "a" + "b" + ...: a '+' at the end of a line continues on the next.
  std::string ParseConcatenation() {
    std::string text = tok_.text;
    Next();
    while (IsPunct('+')) {
      Next();
      SkipNewlines();
      if (tok_.kind != Tok::String) throw Error("expected a string after '+'");
      text += tok_.text;
      Next();
    }
    return text;
  }

  // [name, ...] or ("text", ...); line breaks inside are free.
  TLayoutValue ParseList(TLayoutValueKind kind, char close) {
    TLayoutValue list;
    list.kind = kind;
    list.position = tok_.position;
    Next();
    SkipNewlines();
    if (IsPunct(close)) {
      Next();
      return list;
    }
    while (true) {
      TLayoutValue item;
      item.position = tok_.position;
      if (kind == TLayoutValueKind::Set) {
        item.kind = TLayoutValueKind::Identifier;
        item.text = TakeName("expected a name in the set");
      } else {
        if (tok_.kind != Tok::String) throw Error("expected a string in the list");
        item.kind = TLayoutValueKind::String;
        item.text = ParseConcatenation();
      }
      list.items.push_back(std::move(item));
      SkipNewlines();
      if (IsPunct(close)) {
        Next();
        return list;
      }
      if (!IsPunct(',')) throw Error(std::string("expected ',' or '") + close + "'");
      Next();
      SkipNewlines();
    }
  }

  Lexer lexer_;
  Token tok_;
};

}  // namespace

TLayoutObject ParseLayout(std::string_view utf8) { return Parser(utf8).ParseRoot(); }

}  // namespace framework
