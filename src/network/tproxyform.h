#pragma once
#include "ui/form.h"

namespace kv {

class TUpInew;

// The proxy settings dialog: switches the wizard's proxy on or off and
// stores address, port, user and password in the product's version list file.
class TProxyForm : public ui::Form {
public:
    explicit TProxyForm(TUpInew& wizard);

private:
    TUpInew& wizard_;
};

}  // namespace kv
