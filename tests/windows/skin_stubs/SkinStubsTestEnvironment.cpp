// The application object is set up once and every class is known by name
// through the one registration the program calls; a modal window nobody
// expected fails the test instead of waiting for a person.

#include "skin/controls/SUIRegister.h"
#include "../support/ScratchFolder.h"

#include "framework/Forms.h"
#include "framework/ModalHook.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

namespace {

class SkinStubsEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        RegisterSkinControlClasses();
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinStubsEnvironment);

} // namespace
