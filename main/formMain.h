// The generic main form of a setup program.
#pragma once

#include "vcl/Form.h"

namespace qnl {

// The main form of a project that brings no code of its own: it publishes no methods, so a
// stored project whose events name handlers fails to load, naming the handler. A project
// with its own code replaces this class with its own TformMain.
class TformMain : public TForm {
  QNL_CLASS(TformMain, TForm)
public:
  explicit TformMain(TComponent* AOwner) : TForm(AOwner) {}
};

} // namespace qnl
