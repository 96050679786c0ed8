// The model of controls: the values of every control and form, without any window. A
// windowing library attaches a view to each control (TControlView) that mirrors the values
// on a real widget; without a view a control is only its values.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rtl/Classes.h"
#include "rtl/Graphics.h"
#include "rtl/TSet.h"

namespace qnl {

QNL_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
QNL_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
QNL_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;

// Which values of a control changed; its view applies them to the widget. acLook stands for
// the values a control class adds of its own.
enum class TControlAspect { acParent, acBounds, acCaption, acColor, acFont, acVisible, acEnabled, acHint, acLook };

QNL_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateFlag>;
// Key is the Windows virtual-key code; a handler may set it to 0 to swallow the key.
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;

class TControl;
class TWinControl;

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

// The windowing side of one control. The control owns it and tells it every change made
// outside loading; after loading it is told every aspect once.
class TControlView {
public:
  virtual ~TControlView() = default;
  virtual void Changed(TControlAspect Aspect) = 0;
};

// A control: bounds relative to its parent, alignment and anchors, caption and hint, a font
// and colour that follow the parent's while ParentFont/ParentColor are set, visibility and
// enabling. Its parent is a windowed control (a form, a panel...), not necessarily its
// owner.
class TControl : public TComponent {
  QNL_CLASS(TControl, TComponent)
public:
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  // EInvalidOperation when Value is this control or one of its children.
  void SetParent(TWinControl* Value);
  // EInvalidOperation for a component that holds no controls.
  void SetParentComponent(TComponent* Value) override;

  int32_t Left() const { return FLeft; }
  void SetLeft(int32_t Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  int32_t Top() const { return FTop; }
  void SetTop(int32_t Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight);
  // The inner area where children go; a form's is its outer size less the frame.
  virtual int32_t ClientWidth() const { return FWidth; }
  virtual int32_t ClientHeight() const { return FHeight; }
  void SetClientWidth(int32_t Value) { SetWidth(Value + FWidth - ClientWidth()); }
  void SetClientHeight(int32_t Value) { SetHeight(Value + FHeight - ClientHeight()); }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value) { FParentShowHint = Value; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value) { FAnchors = Value; }
  int32_t HelpContext() const { return FHelpContext; }
  void SetHelpContext(int32_t Value) { FHelpContext = Value; }
  // The sunken three-dimensional look of old Windows; Qt's style draws one look for both.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }

  // Visible, and every parent up to a top-level one visible too.
  bool Showing() const;
  // Enabled, and every parent enabled too.
  bool EnabledInTree() const;

  // The text the control shows a reader (a label's caption, an edit's text), for a
  // one-line account of a form run without a display; empty for none.
  virtual std::string DisplayedText() const { return {}; }

  // Scales bounds (and an own font) by M/D: a form designed at another pixel density.
  virtual void ChangeScale(int32_t M, int32_t D);

  TControlView* View() const { return FView.get(); }
  void Loaded() override;
  // Sizes the control to its contents while AutoSize is set (not while loading); the view
  // measures, so the base keeps its size.
  virtual void AdjustSize() {}

protected:
  explicit TControl(TComponent* AOwner);
  // Gives the control its view and applies every aspect to it.
  void SetView(std::unique_ptr<TControlView> Value);
  // Tells the view about a change (not while loading).
  void Changed(TControlAspect Aspect);
  virtual void VisibleChanged() {}
  // The caption (an edit's text) changed outside loading.
  virtual void TextChanged() {}
  // The control's own font changed (directly or from its parent).
  virtual void FontChanged();
  virtual void ColorChanged();
  // Lets go of the view before the class that made it is gone; destructors of classes
  // with a view of their own call it first.
  void ReleaseView();

private:
  friend class TWinControl;
  void TakeParentFont();
  void TakeParentColor();

  TWinControl* FParent = nullptr;
  std::unique_ptr<TControlView> FView;
  int32_t FLeft = 0;
  int32_t FTop = 0;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  std::string FCaption;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FTakingParentFont = false;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
  bool FVisible = true;
  bool FEnabled = true;
  bool FAutoSize = false;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  int32_t FHelpContext = 0;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
};

// A control that holds other controls and can take the keyboard focus: keeps its children
// in the order they were placed, lays out the aligned ones over its client area (top,
// bottom, left, right, then client) and moves the anchored ones when it is resized.
class TWinControl : public TControl {
  QNL_CLASS(TWinControl, TControl)
public:
  ~TWinControl() override;

  const std::vector<TControl*>& Controls() const { return FControls; }
  int32_t ControlCount() const { return static_cast<int32_t>(FControls.size()); }
  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  // Places the aligned visible children again.
  void Realign();

  // The place among the parent's windowed children that Tab follows; a control placed
  // without one stored comes after those placed before it. Setting it outside loading
  // moves the control there and renumbers its siblings 0, 1, 2...
  int32_t TabOrder() const { return FTabOrder; }
  void SetTabOrder(int32_t Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  // The windowed children in tab order.
  std::vector<TWinControl*> TabList() const;
  // Whether the control can take the focus now: showing, enabled, and a tab stop.
  bool CanFocus() const;

  void Loaded() override;
  void ChangeScale(int32_t M, int32_t D) override;
  // The part of the client area that aligned children share: a panel keeps its bevels
  // and border out of it, a group box its caption.
  virtual void AdjustClientRect(int32_t& L, int32_t& T, int32_t& R, int32_t& B) const {
    (void)L, (void)T, (void)R, (void)B;
  }

protected:
  explicit TWinControl(TComponent* AOwner);
  void FontChanged() override;
  void ColorChanged() override;
  void ReleaseControls();

private:
  friend class TControl;
  void AnchorChildren();
  std::vector<TControl*> FControls;
  int32_t FTabOrder = -1;
  bool FTabStop = false;
  bool FAligning = false;
  int32_t FAnchorWidth = -1; // the client size the anchored children were placed for
  int32_t FAnchorHeight = -1;
};

// The form a control is on (the innermost one for a form placed in another); nullptr when
// none.
class TCustomForm;
TCustomForm* GetParentForm(const TControl* Control);

} // namespace qnl
