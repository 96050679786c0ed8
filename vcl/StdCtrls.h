// The standard controls, one header each.
#pragma once

#include "vcl/Bevel.h"
#include "vcl/Button.h"
#include "vcl/CheckBox.h"
#include "vcl/Edit.h"
#include "vcl/GroupBox.h"
#include "vcl/Image.h"
#include "vcl/Label.h"
#include "vcl/ListBox.h"
#include "vcl/Panel.h"
#include "vcl/ProgressBar.h"
#include "vcl/RichEdit.h"
#include "vcl/TabControl.h"
#include "vcl/TreeView.h"
