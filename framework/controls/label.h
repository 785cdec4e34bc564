#pragma once
// TCustomLabel / TLabel: a non-windowed text. With AutoSize it takes the
// size of its text; WordWrap breaks lines at the width; a Transparent label
// lets its parent show through, an opaque one fills its colour first. An
// '&' marks the accelerator (drawn underlined), "&&" is a plain '&'.
#include "framework/controls/custom_control.h"

namespace framework {

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
public:
  explicit TCustomLabel(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool v);

protected:
  void Paint() override;
  void FontChanged() override;
  void TextChanged() override;
  void Loaded() override;
  // Sizes the label to its text when AutoSize is set.
  void AdjustBounds();
  unsigned TextFlags() const;

private:
  bool auto_size_ = true;
  bool word_wrap_ = false;
  bool transparent_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool show_accel_char_ = true;
};

class TLabel : public TCustomLabel {
public:
  using TCustomLabel::TCustomLabel;
  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();
};

}  // namespace framework
