#pragma once

#include "HostNavigator.h"

// The host navigator under the driver: it has no buttons of its own; the scenario raises its
// events (`navigator EVENT ...`) and the module answers them as it would the host's bar.
class DriverNavigator : public HostNavigator {
    Q_OBJECT
public:
    using HostNavigator::HostNavigator;
    void AttachModule(Cinterface* module) override { module_ = module; }
    void SetButtonsStatus(int) override {}
    void RefreshButtons() override {}
    Cinterface* module() const { return module_; }

private:
    Cinterface* module_ = nullptr;
};
