// The one list of the framework's classes that form descriptions may name.
// Calling StaticClass() registers a class; it also makes the linker keep
// classes that only a description names.
#include "framework/Classes.h"

#include "framework/Controls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StatusBar.h"
#include "framework/StdCtrls.h"
#include "framework/Timer.h"
#include "framework/ToolBar.h"

void RegisterFrameworkClasses() {
    TComponent::StaticClass();
    TControl::StaticClass();
    TGraphicControl::StaticClass();
    TWinControl::StaticClass();
    TCustomControl::StaticClass();
    TCustomPanel::StaticClass();
    TPanel::StaticClass();
    TForm::StaticClass();
    TTimer::StaticClass();

    TCustomEdit::StaticClass();
    TEdit::StaticClass();
    TMemo::StaticClass();
    TCustomListControl::StaticClass();
    TListBox::StaticClass();
    TComboBox::StaticClass();

    TLabel::StaticClass();
    TSplitter::StaticClass();
    TImage::StaticClass();

    TCustomGrid::StaticClass();
    TDrawGrid::StaticClass();
    TStringGrid::StaticClass();

    TCustomImageList::StaticClass();
    TToolButton::StaticClass();
    TToolBar::StaticClass();
    TStatusBar::StaticClass();

    TMenuItem::StaticClass();
    TMenu::StaticClass();
    TMainMenu::StaticClass();
    TPopupMenu::StaticClass();

    TOpenDialog::StaticClass();
    TSaveDialog::StaticClass();
}
