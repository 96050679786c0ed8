// A one-line text field.
#include "vcl/Edit.h"

#include <QLineEdit>

#include "rtl/Forms.h"
#include "vcl/AnsiText.h"
#include "vcl/ControlView.h"
#include "vcl/KeyCodes.h"
#include "vcl/QtGraphics.h"

namespace qnl {

namespace {

// The field's widget: hands key presses and releases to the edit's events first.
class TEditWidget : public QLineEdit {
public:
  explicit TEditWidget(TEdit* Edit) : FEdit(Edit) {}
  void Detach() { FEdit = nullptr; }

protected:
  void keyPressEvent(QKeyEvent* E) override {
    if (FEdit && FEdit->OnKeyDown && !Swallowed(FEdit->OnKeyDown, *E)) return;
    QLineEdit::keyPressEvent(E);
  }
  void keyReleaseEvent(QKeyEvent* E) override {
    if (FEdit && FEdit->OnKeyUp && !Swallowed(FEdit->OnKeyUp, *E)) return;
    QLineEdit::keyReleaseEvent(E);
  }

private:
  // Runs Handler; false when it set the key to 0 (or raised).
  bool Swallowed(const TKeyEvent& Handler, QKeyEvent& E) {
    uint16_t key = VirtualKeyOf(E);
    bool keep = true;
    GuardHandler(FEdit, [&] {
      Handler(FEdit, key, ShiftStateOf(E.modifiers()));
      keep = key != 0;
    });
    return keep;
  }
  TEdit* FEdit;
};

class TEditView : public TWidgetView {
public:
  explicit TEditView(TEdit* Edit) : TWidgetView(Edit, NewControlWidget<TEditWidget>(Edit)), FEdit(Edit) {
    QObject::connect(EditWidget(), &QLineEdit::textEdited, [this](const QString& Text) {
      GuardHandler(FEdit, [&] { FEdit->SetText(QStringToAnsi(Text, CodePage())); });
    });
  }
  ~TEditView() override {
    if (auto* w = static_cast<TEditWidget*>(Widget())) w->Detach();
  }
  QLineEdit* EditWidget() const { return static_cast<QLineEdit*>(Widget()); }

protected:
  void ApplyColor() override {
    QPalette pal = Widget()->palette();
    pal.setColor(QPalette::Base, QtColor(FEdit->Color()));
    Widget()->setPalette(pal);
  }
  void ApplyCaption() override {
    QString text = DisplayText(FEdit, FEdit->Text());
    // Typing already shows the text; setting it again would move the cursor.
    if (EditWidget()->text() != text) EditWidget()->setText(text);
  }
  void ApplyLook() override {
    EditWidget()->setReadOnly(FEdit->ReadOnly());
    EditWidget()->setMaxLength(FEdit->MaxLength() > 0 ? FEdit->MaxLength() : 32767);
    EditWidget()->setEchoMode(!FEdit->PasswordChar().empty() ? QLineEdit::Password : QLineEdit::Normal);
    EditWidget()->setFrame(FEdit->BorderStyle() != bsNone);
  }

private:
  int CodePage() const { return CharsetToCodePage(FEdit->Font()->Charset(), AnsiCodePage()); }
  TEdit* FEdit;
};

} // namespace

QNL_BEGIN_CLASS(TEdit)
    .Prop("Text", &C::Text, &C::SetText)
    .Prop("ReadOnly", &C::ReadOnly, &C::SetReadOnly)
    .Prop("MaxLength", &C::MaxLength, &C::SetMaxLength)
    .Prop("PasswordChar", &C::PasswordChar, &C::SetPasswordChar)
    .Prop("AutoSelect", &C::AutoSelect, &C::SetAutoSelect)
    .Prop("BorderStyle", &C::BorderStyle, &C::SetBorderStyle)
    .Prop("OnChange", &C::OnChange)
    .Prop("OnKeyDown", &C::OnKeyDown)
    .Prop("OnKeyUp", &C::OnKeyUp);
QNL_END_CLASS

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clWindow);
  SetView(std::make_unique<TEditView>(this));
  SetBounds(0, 0, 121, 21);
}

QLineEdit* TEdit::EditWidget() const { return static_cast<QLineEdit*>(WidgetOf(this)); }

void TEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  Changed(TControlAspect::acLook);
}

void TEdit::SetMaxLength(int32_t Value) {
  FMaxLength = std::max(Value, 0);
  Changed(TControlAspect::acLook);
}

void TEdit::SetPasswordChar(const std::string& Value) {
  FPasswordChar = Value.empty() || Value[0] == '\0' ? std::string() : Value.substr(0, 1);
  Changed(TControlAspect::acLook);
}

void TEdit::SetBorderStyle(TFormBorderStyle Value) {
  if (Value != bsNone && Value != bsSingle) throw EPropertyError("An edit's BorderStyle is bsNone or bsSingle");
  FBorderStyle = Value;
  Changed(TControlAspect::acLook);
}

void TEdit::TextChanged() {
  if (OnChange) OnChange(this);
}

std::string TEdit::DisplayedText() const { return FPasswordChar.empty() ? Text() : std::string(); }

} // namespace qnl
