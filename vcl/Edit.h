// A one-line text field.
#pragma once

#include "rtl/Controls.h"
#include "rtl/Forms.h"

class QLineEdit;

namespace qnl {

// A one-line text field. Text is its caption; OnChange runs after every change of the text
// (typed or set), OnKeyDown/OnKeyUp with the key's virtual-key code. ReadOnly lets the user
// select and copy but not change the text; PasswordChar, when not NUL, hides it.
class TEdit : public TWinControl {
  QNL_CLASS(TEdit, TWinControl)
public:
  explicit TEdit(TComponent* AOwner);

  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& Value) { SetCaption(Value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  int32_t MaxLength() const { return FMaxLength; }
  void SetMaxLength(int32_t Value);
  // One character, or empty for none (stored as #0 or '*').
  const std::string& PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(const std::string& Value);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  // bsNone or bsSingle (the sunken frame).
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);

  TNotifyEvent OnChange;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  QLineEdit* EditWidget() const;
  std::string DisplayedText() const override;

protected:
  void TextChanged() override;

private:
  bool FReadOnly = false;
  int32_t FMaxLength = 0;
  std::string FPasswordChar;
  bool FAutoSelect = true;
  TFormBorderStyle FBorderStyle = bsSingle;
};

} // namespace qnl
