#include "skin/SUIFormFrame.h"

#include "framework/Forms.h"

IsuiFormFrame* FindFormFrame(const TComponent* owner) {
    const auto* form = dynamic_cast<const TForm*>(owner);
    if (!form) return nullptr;
    for (int i = 0; i < form->ControlCount(); ++i)
        if (auto* frame = dynamic_cast<IsuiFormFrame*>(form->Controls(i))) return frame;
    return nullptr;
}
