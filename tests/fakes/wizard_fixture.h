#pragma once
#include <memory>

#include "fakes/test_world.h"
#include "wizard/tupinew.h"

namespace kv::test {

// A wizard window on a TestWorld. The window is created on first use and
// keeps the services the world offered then: swap doubles (e.g. `internet`)
// before touching `wizard()`.
class WizardFixture {
public:
    TestWorld world;

    TUpInew& wizard() {
        if (!wizard_) wizard_ = std::make_unique<TUpInew>(world.Services(), nullptr);
        return *wizard_;
    }

    // The window's creation handler with these call parameters.
    bool Start(const CallParameters& parameters) { return wizard().FormCreate(parameters); }

private:
    std::unique_ptr<TUpInew> wizard_;
};

}  // namespace kv::test
