// A one-line question.
#include "dialogs/InputQuery.h"

#include "dialogs/DialogLayouts.h"
#include "rtl/FormReader.h"
#include "rtl/Streams.h"
#include "vcl/Application.h"
#include "vcl/Edit.h"
#include "vcl/Form.h"
#include "vcl/Label.h"

namespace qnl {

namespace {

class TInputQueryForm : public TForm {
  QNL_CLASS(TInputQueryForm, TForm)
public:
  explicit TInputQueryForm(TComponent* AOwner) : TForm(AOwner) {
    TMemoryStream layout{std::string(DialogLayout("TInputQueryForm"))};
    ReadRootComponent(layout, this);
  }
};

QNL_BEGIN_CLASS(TInputQueryForm);
QNL_END_CLASS

} // namespace

bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) {
  TInputQueryForm form(&Application());
  auto* prompt = dynamic_cast<TLabel*>(form.FindComponent("lblPrompt"));
  auto* edit = dynamic_cast<TEdit*>(form.FindComponent("edtValue"));
  if (!prompt || !edit) throw Exception("The question's layout lacks its prompt or edit");
  form.SetCaption(Caption);
  prompt->SetCaption(Prompt);
  edit->SetText(Value);
  form.SetActiveControl(edit);
  if (form.ShowModal() != mrOk) return false;
  Value = edit->Text();
  return true;
}

} // namespace qnl
