// Controls placed on forms, each shown through a Qt widget it owns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "rtl/Classes.h"
#include "rtl/Graphics.h"

namespace qnl {

QNL_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
QNL_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)

class TControl;

// What controls are placed in (a form or a windowed control): keeps its child controls in
// the order they were placed, lends them its widget and its font, and lays the aligned
// ones out over its client area.
class TControlParent {
public:
  virtual ~TControlParent() = default;
  const std::vector<TControl*>& Controls() const { return FControls; }
  virtual QWidget* ClientWidget() const = 0;
  virtual const TFont* ParentFontSource() const = 0;
  virtual int32_t ClientAreaWidth() const = 0;
  virtual int32_t ClientAreaHeight() const = 0;
  // Places the aligned visible controls again: top, bottom, left, right, then client.
  void Realign();
  // Gives the children whose ParentFont is set this container's font again.
  void ParentFontChanged();

protected:
  // Takes every child off this container; its destructor calls it before the widget goes.
  void ReleaseControls();

private:
  friend class TControl;
  std::vector<TControl*> FControls;
  bool FAligning = false;
};

// The container a component is, or nullptr.
TControlParent* AsControlParent(TComponent* Component);

// A control: bounds relative to its parent, a caption and hint shown in the code page of
// its font's character set, a font that follows the parent's while ParentFont is set,
// visibility, enabling and alignment. Its widget is owned by the control and lies in the
// parent's widget; without a parent it is hidden. No exception leaves a Qt handler: each
// one reaches the application's exception handler.
class TControl : public TComponent {
  QNL_CLASS(TControl, TComponent)
public:
  ~TControl() override;

  // The form or windowed control this control is placed in; nullptr when none.
  // EInvalidOperation for a component that holds no controls.
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* Value);
  void SetParentComponent(TComponent* Value) override { SetParent(Value); }

  int32_t Left() const { return FLeft; }
  void SetLeft(int32_t Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  int32_t Top() const { return FTop; }
  void SetTop(int32_t Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight);

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  TFont* Font() const { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value) { FParentShowHint = Value; }

  QWidget* Widget() const { return FWidget.data(); }
  void Loaded() override;

protected:
  // Widget: the control's own widget, made by the concrete class.
  TControl(TComponent* AOwner, QWidget* Widget);
  // Text in the code page of the font's character set.
  QString DisplayText(const std::string& Text) const;
  // Shows the caption in the widget.
  virtual void ApplyCaption() {}
  virtual void ApplyFont();
  // Sizes the control to its contents while AutoSize is set (not while loading).
  virtual void AdjustSize() {}
  // Runs F for a Qt handler, handing anything it raises to the application.
  template <class F>
  void Guard(F Handler) {
    try {
      Handler();
    } catch (...) {
      HandleControlException();
    }
  }

private:
  void ApplyBounds();
  void ApplyVisible();
  void TakeParentFont();
  void HandleControlException();
  friend class TControlParent;

  TComponent* FParent = nullptr;
  TControlParent* FParentContainer = nullptr;
  QPointer<QWidget> FWidget;
  int32_t FLeft = 0;
  int32_t FTop = 0;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  std::string FCaption;
  TFont* FFont;
  bool FParentFont = true;
  bool FTakingParentFont = false;
  bool FVisible = true;
  bool FEnabled = true;
  bool FAutoSize = false;
  TAlign FAlign = alNone;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
};

// EInvalidOperation unless the application object (TApplication) exists.
void RequireApplicationForControls();

// Makes a control's widget; EInvalidOperation before the application object exists.
template <class W>
W* NewControlWidget() {
  RequireApplicationForControls();
  return new W();
}

// A control that holds other controls in its widget.
class TWinControl : public TControl, public TControlParent {
  QNL_CLASS(TWinControl, TControl)
public:
  ~TWinControl() override;
  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  QWidget* ClientWidget() const override { return Widget(); }
  const TFont* ParentFontSource() const override { return Font(); }
  int32_t ClientAreaWidth() const override { return Width(); }
  int32_t ClientAreaHeight() const override { return Height(); }

protected:
  TWinControl(TComponent* AOwner, QWidget* Widget) : TControl(AOwner, Widget) {}
  void ApplyFont() override;
};

// Registers the control classes for streaming and lets the translator see the control
// tree (children, windowed controls, realignment).
void RegisterControlsClasses();

} // namespace qnl
