#include "app/Uabout.h"

#include "app/Version.h"

TfrmAbout* frmAbout = nullptr;

const TClassInfo& TfrmAbout::StaticClass() {
    static const TClassInfo& info = TClassBuilder<TfrmAbout>(L"TfrmAbout", &TForm::StaticClass())
                                        .Field(L"suiForm1", &TfrmAbout::suiForm1)
                                        .Field(L"suiMemo1", &TfrmAbout::suiMemo1)
                                        .Handler(L"suiMemo1DblClick", &TfrmAbout::suiMemo1DblClick)
                                        .Handler(L"FormClose", &TfrmAbout::FormClose)
                                        .Build();
    return info;
}

TfrmAbout::TfrmAbout(TComponent* owner) : TForm(owner) {
    LoadDescription(L"TfrmAbout");
    // The version line follows the program's version, not the stored text.
    TStringList& lines = suiMemo1->Lines();
    for (int i = 0; i < lines.Count(); ++i)
        if (lines[i].starts_with(kVersionLineLabel)) lines.SetStrings(i, AboutVersionLine());
}

TfrmAbout::~TfrmAbout() {
    if (frmAbout == this) frmAbout = nullptr;
}

bool TfrmAbout::IsShortCut(WORD key, TShiftState shift) {
    if (key != VK_ESCAPE || shift != TShiftState{}) return false;
    Close();
    return true;
}

void TfrmAbout::suiMemo1DblClick(TObject*) {
    Close();
}

void TfrmAbout::FormClose(TObject*, TCloseAction& Action) {
    // Every request builds a new window, so a closed one is of no further use.
    Action = caFree;
}

TModalResult ShowAboutWindow(TComponent* owner) {
    frmAbout = new TfrmAbout(owner);
    return frmAbout->ShowModal();
}
