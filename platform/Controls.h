// Every control class of the framework; each lives in platform/controls/.
#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/HeaderCtrl.h"
#include "platform/controls/HyperLink.h"
#include "platform/controls/ImageList.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/ListCtrl.h"
#include "platform/controls/Menu.h"
#include "platform/controls/ProgressCtrl.h"
#include "platform/controls/RichEditCtrl.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/Static.h"
#include "platform/controls/ToolTipCtrl.h"
#include "platform/controls/TreeCtrl.h"
#include "platform/controls/ColorDialog.h"
