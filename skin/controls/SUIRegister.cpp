#include "skin/controls/SUIRegister.h"

#include "skin/SUIImagePanel.h"
#include "skin/SUIMgr.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIDialog.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIListControls.h"
#include "skin/controls/SUIPageControl.h"
#include "skin/controls/SUIRadioGroup.h"
#include "skin/controls/SUIStatusBar.h"
#include "skin/controls/SUITabControl.h"
#include "skin/controls/SUIToolBar.h"

#include "framework/Classes.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StatusBar.h"
#include "framework/StdCtrls.h"
#include "framework/ToolBar.h"

void RegisterSkinControlClasses() {
    RegisterFrameworkClasses();
    RegisterStdCtrlsClasses();
    RegisterExtCtrlsClasses();
    RegisterGridClasses();
    RegisterToolBarClasses();
    RegisterStatusBarClasses();
    RegisterMenuClasses();
    RegisterDialogClasses();

    TsuiFileTheme::StaticClass();
    TsuiCustomPanel::StaticClass();
    TsuiImagePanel::StaticClass();
    RegisterSuiFormClasses();
    RegisterButtonClasses();
    RegisterGroupBoxClasses();
    RegisterRadioGroupClasses();
    RegisterSuiEditClasses();
    TsuiTabControlTopPanel::StaticClass();
    TsuiTab::StaticClass();
    TsuiPageControlTopPanel::StaticClass();
    TsuiPageControl::StaticClass();
    TsuiTabSheet::StaticClass();
    RegisterSuiToolBarClasses();
    RegisterSuiStatusBarClasses();
    RegisterSuiListControlClasses();
    RegisterMessageDialogClasses();
}
