// The status window.
#include "dialogs/ordlg_InstallStatus.h"

#include "common/BuiltinPictures.h"
#include "dialogs/BuiltinImage.h"
#include "dialogs/DialogLayouts.h"
#include "dialogs/FormParts.h"
#include "rtl/FormReader.h"
#include "rtl/Math.h"
#include "rtl/Streams.h"
#include "vcl/Image.h"
#include "vcl/Label.h"
#include "vcl/Panel.h"

namespace qnl {

QNL_BEGIN_CLASS(TInstallStatusForm);
QNL_END_CLASS

TInstallStatusForm::TInstallStatusForm(TComponent* AOwner) : TForm(AOwner) {
  TMemoryStream layout{std::string(DialogLayout("TInstallStatusForm"))};
  ReadRootComponent(layout, this);
  FMessage = &FormPart<TLabel>(*this, "lblMessage");
  ShowBuiltinPicture(FormPart<TImage>(*this, "Image1"), kPictureInstallStatus);
}

void TInstallStatusForm::FitToMessage() {
  // Switched off and on, the label takes the size of its text.
  FMessage->SetAutoSize(false);
  FMessage->SetAutoSize(true);
  FMessage->SetTop(static_cast<int32_t>(Round(ClientHeight() / 2.0 - FMessage->Height() / 2.0)));
  int32_t width = FMessage->Width() + FormPart<TPanel>(*this, "pnlBack").Left() +
                  FormPart<TPanel>(*this, "pnlMessage").Left() + FMessage->Left() + 25;
  // A message wider than the screen widens the window past both edges.
  int32_t left = static_cast<int32_t>(Round(Application().ScreenWidth() / 2.0 - width / 2.0));
  SetBounds(left, Top(), width, Height());
}

} // namespace qnl
