// The one list of the skin's classes that form descriptions may name.
// Calling StaticClass() registers a class; it also makes the linker keep
// classes that only a description names.
#include "skin/controls/SUIRegister.h"

#include "skin/SUIImagePanel.h"
#include "skin/SUIMgr.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIDialog.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIListControls.h"
#include "skin/controls/SUIMainMenu.h"
#include "skin/controls/SUIMenuBar.h"
#include "skin/controls/SUIPageControl.h"
#include "skin/controls/SUIRadioGroup.h"
#include "skin/controls/SUIScrollBar.h"
#include "skin/controls/SUIStatusBar.h"
#include "skin/controls/SUITabControl.h"
#include "skin/controls/SUIToolBar.h"
#include "skin/controls/frmMessage.h"

#include "framework/Classes.h"

void RegisterSkinClasses() {
    RegisterFrameworkClasses();

    TsuiFileTheme::StaticClass();
    TsuiCustomPanel::StaticClass();
    TsuiImagePanel::StaticClass();

    TsuiTitleBar::StaticClass();
    TsuiTitleBarButton::StaticClass();
    TsuiTitleBarSection::StaticClass();
    TsuiForm::StaticClass();

    TsuiCustomButton::StaticClass();
    TsuiButton::StaticClass();
    TsuiImageButton::StaticClass();
    TsuiCheckBox::StaticClass();
    TsuiRadioButton::StaticClass();

    TsuiCustomGroupBox::StaticClass();
    TsuiGroupBox::StaticClass();
    TsuiCheckGroupButton::StaticClass();
    TsuiRadioGroupButton::StaticClass();
    TsuiCheckGroup::StaticClass();
    TsuiRadioGroup::StaticClass();

    TsuiEdit::StaticClass();
    TsuiNumberEdit::StaticClass();
    TsuiComboBox::StaticClass();
    TsuiListBox::StaticClass();
    TsuiMemo::StaticClass();
    TsuiStringGrid::StaticClass();
    TsuiScrollTrack::StaticClass();
    TsuiScrollBar::StaticClass();

    TsuiTabControlTopPanel::StaticClass();
    TsuiTab::StaticClass();
    TsuiPageControlTopPanel::StaticClass();
    TsuiPageControl::StaticClass();
    TsuiTabSheet::StaticClass();

    TsuiToolBar::StaticClass();
    TsuiPopupMenu::StaticClass();
    TsuiMainMenu::StaticClass();
    TsuiMenuBar::StaticClass();
    TsuiStatusBar::StaticClass();

    TsuiDialog::StaticClass();
    TsuiMessageDialog::StaticClass();
    TfrmMsg::StaticClass();
}
