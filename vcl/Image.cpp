// A picture on a form.
#include "vcl/Image.h"

#include <QPainter>
#include <QWidget>

#include "vcl/ControlView.h"
#include "vcl/QtGraphics.h"

namespace qnl {

QNL_BEGIN_CLASS(TImage)
    .Sub("Picture", &C::Picture)
    .Prop("Center", &C::Center, &C::SetCenter)
    .Prop("Stretch", &C::Stretch, &C::SetStretch)
    .Prop("Transparent", &C::Transparent, &C::SetTransparent);
QNL_END_CLASS

namespace {

class TImageWidget : public QWidget {
public:
  explicit TImageWidget(TImage* Image) : FImage(Image) {}
  void Detach() { FImage = nullptr; }

protected:
  void paintEvent(QPaintEvent*) override {
    if (!FImage) return;
    QPainter painter(this);
    DrawPicture(painter, rect(), *FImage->Picture(), FImage->Center(), FImage->Stretch(), FImage->Transparent());
  }

private:
  TImage* FImage;
};

class TImageView : public TWidgetView {
public:
  explicit TImageView(TImage* Image) : TWidgetView(Image, NewControlWidget<TImageWidget>(Image)) {}
  ~TImageView() override {
    if (auto* w = static_cast<TImageWidget*>(Widget())) w->Detach();
  }

protected:
  void ApplyLook() override { Widget()->update(); }
};

} // namespace

TImage::TImage(TComponent* AOwner) : TWinControl(AOwner), FPicture(new TPicture()) {
  SetTabStop(false);
  FPicture->OnChange = [this](TObject*) { PictureChanged(); };
  SetView(std::make_unique<TImageView>(this));
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
  ReleaseControls();
  ReleaseView();
  delete FPicture;
}

void TImage::PictureChanged() { Changed(TControlAspect::acLook); }

void TImage::SetCenter(bool Value) {
  FCenter = Value;
  PictureChanged();
}

void TImage::SetStretch(bool Value) {
  FStretch = Value;
  PictureChanged();
}

void TImage::SetTransparent(bool Value) {
  FTransparent = Value;
  PictureChanged();
}

} // namespace qnl
