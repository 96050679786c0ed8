// Labels, bitmap buttons and panels.
#pragma once

#include <QPointer>
#include <QShortcut>

#include "vcl/Controls.h"

class QLabel;
class QPushButton;

namespace qnl {

QNL_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)
QNL_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)

// The result a button gives its modal form; the Windows IDxxx values.
using TModalResult = int32_t;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

// A static text. "&&" shows one ampersand and a single "&" marks the accelerator, which is
// not drawn. While AutoSize is set the label takes the size of its text (only its height
// when it wraps words).
class TLabel : public TControl {
  QNL_CLASS(TLabel, TControl)
public:
  explicit TLabel(TComponent* AOwner);

  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  QLabel* LabelWidget() const;

protected:
  void ApplyCaption() override;
  void AdjustSize() override;

private:
  void ApplyLook();
  bool FWordWrap = false;
  TAlignment FAlignment = taLeftJustify;
  bool FTransparent = false;
  TColor FColor = clBtnFace;
};

// A push button. Kind gives a standard button its caption (when none is stored), its
// ModalResult and whether it is the default or the cancel button; bkClose closes the form
// it is on. Default makes Enter press it, Cancel makes Escape press it. OnClick runs on a
// click; what it raises reaches the application's exception handler.
class TBitBtn : public TWinControl {
  QNL_CLASS(TBitBtn, TWinControl)
public:
  explicit TBitBtn(TComponent* AOwner);

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value);
  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value) { FLayout = Value; }
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t Value) { FSpacing = Value; }
  int32_t Margin() const { return FMargin; }
  void SetMargin(int32_t Value) { FMargin = Value; }
  int32_t NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int32_t Value) { FNumGlyphs = Value; }
  int32_t TabOrder() const { return FTabOrder; }
  void SetTabOrder(int32_t Value) { FTabOrder = Value; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }

  TNotifyEvent OnClick;
  // What a click does: OnClick, then closing the form for bkClose.
  virtual void Click();
  QPushButton* ButtonWidget() const;
  void Loaded() override;

protected:
  void ApplyCaption() override;

private:
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
  TBitBtnKind FKind = bkCustom;
  TButtonLayout FLayout = blGlyphLeft;
  int32_t FSpacing = 4;
  int32_t FMargin = -1;
  int32_t FNumGlyphs = 1;
  int32_t FTabOrder = -1;
  bool FTabStop = true;
  QPointer<QShortcut> FEscape; // goes with the button's widget
};

// A raised frame holding other controls, its caption centred.
class TPanel : public TWinControl {
  QNL_CLASS(TPanel, TWinControl)
public:
  explicit TPanel(TComponent* AOwner);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;

protected:
  void ApplyCaption() override;

private:
  QLabel* FCaptionLabel = nullptr;
  TColor FColor = clBtnFace;
};

} // namespace qnl
