#include "skin/SUIFormFrame.h"

#include "framework/Forms.h"
#include "framework/Utils.h"

IsuiFormFrame* FindFormFrame(const TComponent* owner) {
    const auto* form = dynamic_cast<const TForm*>(owner);
    if (!form) return nullptr;
    for (int i = 0; i < form->ControlCount(); ++i)
        if (auto* frame = dynamic_cast<IsuiFormFrame*>(form->Controls(i))) return frame;
    return nullptr;
}

void RefuseWithMessage(const std::wstring& text) {
    ShowMessageBox(text, Application ? Application->Title() : std::wstring(), MB_ICONERROR | MB_OK);
}
