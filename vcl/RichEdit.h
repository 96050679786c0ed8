// The read-only rich-text view of licence and readme texts.
#pragma once

#include "rtl/Controls.h"
#include "rtl/Strings.h"

class QTextEdit;

namespace qnl {

QNL_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

// Shows Lines: as RTF when the text starts with "{\rtf" (bold, italic, underline, sizes,
// colours, paragraphs), else as plain lines. The user can scroll, select and copy; ReadOnly
// False is refused, as nothing here edits.
class TRichEdit : public TWinControl {
  QNL_CLASS(TRichEdit, TWinControl)
public:
  explicit TRichEdit(TComponent* AOwner);
  ~TRichEdit() override;

  TStringList* Lines() const { return FLines; }
  bool ReadOnly() const { return true; }
  void SetReadOnly(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The text as the view shows it (plain text of the document).
  std::string DisplayedText() const override;
  QTextEdit* TextWidget() const;

private:
  TStringList* FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
};

} // namespace qnl
