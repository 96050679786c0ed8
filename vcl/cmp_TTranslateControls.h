// A label and a bitmap button that the translator translates by line identifier.
#pragma once

#include "vcl/StdCtrls.h"

namespace qnl {

// A label whose GLID chooses how the translator treats its caption: 0 translates it by
// its text, a positive GLID takes the target language's line of that identifier, a
// negative one leaves it untranslated.
class TTranslateLabel : public TLabel {
  QNL_CLASS(TTranslateLabel, TLabel)
public:
  explicit TTranslateLabel(TComponent* AOwner) : TLabel(AOwner) {}
  int32_t GLID() const { return FGLID; }
  void SetGLID(int32_t Value) { FGLID = Value; }

private:
  int32_t FGLID = 0;
};

// A bitmap button with a GLID of the same meaning as TTranslateLabel's.
class TTranslateBitBtn : public TBitBtn {
  QNL_CLASS(TTranslateBitBtn, TBitBtn)
public:
  explicit TTranslateBitBtn(TComponent* AOwner) : TBitBtn(AOwner) {}
  int32_t GLID() const { return FGLID; }
  void SetGLID(int32_t Value) { FGLID = Value; }

private:
  int32_t FGLID = 0;
};

} // namespace qnl
