#pragma once
// Zelvar for an application: the toolkit (components, controls, forms, the headless backend),
// the form reader and writer, and the wizard package, in one include. The window backend is
// <zelvar/window.h>, the script runner <zelvar/script.h>.
//
//   #include <zelvar/zelvar.h>
//   int main() {
//     zelvar::Initialize();
//     ...
//   }

#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "lists/ZelvarL.h"
#include "platform/backends/Headless.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Image.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Memo.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/core/IniFiles.h"
#include "platform/core/Object.h"
#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/forms/KeyNames.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphics.h"
#include "platform/streaming/FormFiles.h"
#include "zelvar/version.h"

namespace zelvar {

// Registers every class a form file may name: the toolkit's controls, TForm, and the wizard
// package's container and page-bound controls. Call it once before reading a form; calling it
// again does nothing. With ZELVAR_SCRIPT=FILE in the environment the program runs headless
// with FILE as the input of its modal loops (docs/SCRIPTS.md, "A program under a script").
void Initialize();

}  // namespace zelvar
