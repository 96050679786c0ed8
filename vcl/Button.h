// Push buttons and bitmap buttons.
#pragma once

#include "rtl/Controls.h"
#include "vcl/Form.h"

class QPushButton;

namespace qnl {

QNL_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)
QNL_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
QNL_ENUM(TButtonStyle, bsAutoDetect, bsWin31, bsNew)

// A push button. Default makes Enter press it, Cancel makes Escape press it; a click runs
// OnClick and then gives a ModalResult other than mrNone to the modal form it is on. "&"
// marks the accelerator (Alt+letter presses it). What OnClick raises reaches the
// application's exception handler.
class TButton : public TWinControl, public IButtonControl {
  QNL_CLASS(TButton, TWinControl)
public:
  explicit TButton(TComponent* AOwner);

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  bool IsDefault() const override { return FDefault; }
  bool IsCancel() const override { return FCancel; }

  TNotifyEvent OnClick;
  // What a click does: OnClick, then the form's ModalResult.
  void Click() override;
  QPushButton* ButtonWidget() const;

private:
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
};

// A button's bitmap as the form stores it (Glyph.Data).
class TGlyphBitmap : public TBitmap {
  QNL_CLASS(TGlyphBitmap, TBitmap)
public:
  TGlyphBitmap() = default;
  std::string Data() const { return WriteData(); }
  void SetData(const std::string& Value) {
    ReadData(Value);
    if (OnDataChange) OnDataChange();
  }
  std::function<void()> OnDataChange;
};

// A button with a picture. Kind gives a standard button its caption (when none is stored),
// its ModalResult and whether it is the default or the cancel button; bkClose closes the
// form it is on. Glyph holds NumGlyphs images side by side (up, disabled, down, held).
class TBitBtn : public TButton {
  QNL_CLASS(TBitBtn, TButton)
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind Value);
  TBitmap* Glyph() const { return FGlyph; }
  TGlyphBitmap* StoredGlyph() const { return FGlyph; }
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value) { FLayout = Value; }
  TButtonStyle Style() const { return FStyle; }
  void SetStyle(TButtonStyle Value) { FStyle = Value; }
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t Value) { FSpacing = Value; }
  int32_t Margin() const { return FMargin; }
  void SetMargin(int32_t Value) { FMargin = Value; }
  int32_t NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int32_t Value);

  void Click() override;
  void Loaded() override;

private:
  TBitBtnKind FKind = bkCustom;
  TGlyphBitmap* FGlyph;
  TButtonLayout FLayout = blGlyphLeft;
  TButtonStyle FStyle = bsAutoDetect;
  int32_t FSpacing = 4;
  int32_t FMargin = -1;
  int32_t FNumGlyphs = 1;
};

} // namespace qnl
