// The read-only rich-text view of licence and readme texts.
#include "vcl/RichEdit.h"

#include <QTextEdit>

#include "vcl/AnsiText.h"
#include "vcl/ControlView.h"
#include "vcl/RichText.h"

namespace qnl {

QNL_BEGIN_CLASS(TRichEdit)
    .Sub("Lines", &C::Lines)
    .Prop("ReadOnly", &C::ReadOnly, &C::SetReadOnly)
    .Prop("ScrollBars", &C::ScrollBars, &C::SetScrollBars)
    .Prop("WordWrap", &C::WordWrap, &C::SetWordWrap);
QNL_END_CLASS

namespace {

class TRichEditView : public TWidgetView {
public:
  explicit TRichEditView(TRichEdit* Edit) : TWidgetView(Edit, NewControlWidget<QTextEdit>()), FEdit(Edit) {
    TextWidget()->setReadOnly(true);
    TextWidget()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
  QTextEdit* TextWidget() const { return static_cast<QTextEdit*>(Widget()); }

protected:
  void ApplyColor() override { FillBackground(true); }
  void ApplyFont() override {
    TWidgetView::ApplyFont();
    TextWidget()->document()->setDefaultFont(TextWidget()->font());
  }
  void ApplyLook() override {
    QTextEdit* w = TextWidget();
    TScrollStyle bars = FEdit->ScrollBars();
    auto policy = [](bool On) { return On ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff; };
    w->setHorizontalScrollBarPolicy(policy(bars == ssHorizontal || bars == ssBoth));
    w->setVerticalScrollBarPolicy(policy(bars == ssVertical || bars == ssBoth));
    w->setLineWrapMode(FEdit->WordWrap() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    // A text that is not RTF after all, or RTF that cannot be read, is shown as it stands:
    // the user still reads the licence.
    std::string text = FEdit->Lines()->Text();
    try {
      LoadRichText(*w->document(), text);
    } catch (const ERtfError&) {
      w->document()->setPlainText(AnsiToQString(text));
    }
  }

private:
  TRichEdit* FEdit;
};

} // namespace

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner), FLines(new TStringList()) {
  FLines->OnChange = [this](TObject*) { Changed(TControlAspect::acLook); };
  SetView(std::make_unique<TRichEditView>(this));
  SetBounds(0, 0, 185, 89);
}

TRichEdit::~TRichEdit() {
  ReleaseControls();
  ReleaseView();
  delete FLines;
}

void TRichEdit::SetReadOnly(bool Value) {
  if (!Value) throw EInvalidOperation("A rich-text view only shows its text: ReadOnly must stay True");
}

void TRichEdit::SetScrollBars(TScrollStyle Value) {
  FScrollBars = Value;
  Changed(TControlAspect::acLook);
}

void TRichEdit::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Changed(TControlAspect::acLook);
}

QTextEdit* TRichEdit::TextWidget() const { return static_cast<QTextEdit*>(WidgetOf(this)); }

std::string TRichEdit::DisplayedText() const {
  QTextEdit* w = TextWidget();
  return w ? QStringToAnsi(w->document()->toPlainText()) : Lines()->Text();
}

} // namespace qnl
