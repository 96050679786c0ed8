// A row of tabs over a page area holding other controls.
#include "vcl/TabControl.h"

#include <QFrame>
#include <QTabBar>

#include "vcl/ControlView.h"

namespace qnl {

QNL_BEGIN_CLASS(TTabControl)
    .Sub("Tabs", &C::Tabs)
    .Prop("TabIndex", &C::TabIndex, &C::SetTabIndex)
    .Prop("OnChange", &C::OnChange)
    .Prop("OnChanging", &C::OnChanging)
    .OfEventType("TTabChangingEvent");
QNL_END_CLASS

namespace {

class TTabControlView : public TWidgetView {
public:
  explicit TTabControlView(TTabControl* Tabs) : TWidgetView(Tabs, NewControlWidget<QWidget>()), FTabs(Tabs) {
    FFrame = new QFrame(Widget());
    FFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    FFrame->lower();
    FBar = new QTabBar(Widget());
    FBar->setDrawBase(false);
    Widget()->setFocusProxy(FBar);
    QObject::connect(FBar, &QTabBar::currentChanged, [this](int Index) {
      if (FApplying) return;
      GuardHandler(FTabs, [this, Index] { FTabs->ChooseTab(Index); });
      ApplyLook(); // a refused change shows the old tab again
    });
  }
  QTabBar* TabBar() const { return FBar; }

protected:
  void ApplyBounds() override {
    TWidgetView::ApplyBounds();
    int barHeight = FBar->sizeHint().height();
    FBar->setGeometry(2, 0, std::max(FTabs->Width() - 4, 0), barHeight);
    FFrame->setGeometry(0, barHeight - 2, FTabs->Width(), std::max(FTabs->Height() - barHeight + 2, 0));
  }
  void ApplyFont() override {
    TWidgetView::ApplyFont();
    ApplyLook();
  }
  void ApplyLook() override {
    FApplying = true;
    while (FBar->count() > FTabs->Tabs()->Count()) FBar->removeTab(FBar->count() - 1);
    while (FBar->count() < FTabs->Tabs()->Count()) FBar->addTab(QString());
    for (int i = 0; i < FBar->count(); ++i) FBar->setTabText(i, DisplayText(FTabs, FTabs->Tabs()->Get(i)));
    FBar->setCurrentIndex(FTabs->TabIndex());
    FApplying = false;
    ApplyBounds();
  }

private:
  TTabControl* FTabs;
  QTabBar* FBar;
  QFrame* FFrame;
  bool FApplying = false;
};

} // namespace

TTabControl::TTabControl(TComponent* AOwner) : TWinControl(AOwner), FTabs(new TStringList()) {
  FTabs->OnChange = [this](TObject*) {
    if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
    if (FTabIndex < 0 && FTabs->Count() > 0) FTabIndex = 0;
    Changed(TControlAspect::acLook);
  };
  SetView(std::make_unique<TTabControlView>(this));
  SetBounds(0, 0, 289, 193);
}

TTabControl::~TTabControl() {
  ReleaseControls();
  ReleaseView();
  delete FTabs;
}

QTabBar* TTabControl::TabBar() const {
  auto* view = dynamic_cast<TTabControlView*>(View());
  return view ? view->TabBar() : nullptr;
}

void TTabControl::SetTabIndex(int32_t Value) {
  if (!IsLoading() && (Value < -1 || Value >= FTabs->Count())) return;
  FTabIndex = Value;
  Changed(TControlAspect::acLook);
}

bool TTabControl::ChooseTab(int32_t Index) {
  if (Index == FTabIndex || Index < 0 || Index >= FTabs->Count()) return false;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return false;
  SetTabIndex(Index);
  if (OnChange) OnChange(this);
  return true;
}

void TTabControl::AdjustClientRect(int32_t& L, int32_t& T, int32_t& R, int32_t& B) const {
  QTabBar* bar = TabBar();
  int32_t barHeight = bar ? bar->sizeHint().height() : 22;
  L += 4;
  T += barHeight + 2;
  R -= 4;
  B -= 4;
}

void TTabControl::Loaded() {
  if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
  TWinControl::Loaded();
}

} // namespace qnl
