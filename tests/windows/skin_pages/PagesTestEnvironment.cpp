// The application object is set up once, the classes are known by name
// before a description asks for them, and a modal window nobody expected
// fails the test instead of waiting for a person.

#include "PagesTestSupport.h"
#include "../support/ScratchFolder.h"

#include "skin/SUIMgr.h"
#include "skin/controls/SUIForm.h"

#include "framework/ModalHook.h"

namespace {

class PagesEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        TsuiForm::StaticClass();
        TsuiFileTheme::StaticClass();
        TsuiTabControlTopPanel::StaticClass();
        TsuiPageControlTopPanel::StaticClass();
        TsuiPageControl::StaticClass();
        TsuiTabSheet::StaticClass();
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new PagesEnvironment);

} // namespace
