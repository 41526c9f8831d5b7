#pragma once
// CTavrelMessageBoxHost: the remote host of a program with a window system — messages are message
// boxes captioned "Tavrel", over the owner window when one is given; downloads run as the default
// host runs them. The calendar program installs one for its whole run.

#include "remote/TavrelRemoteHost.h"

namespace ui {
class Window;
}

class CTavrelMessageBoxHost : public CTavrelRemoteHost {
public:
    explicit CTavrelMessageBoxHost(ui::Window* owner = nullptr) : m_owner(owner) {}

    void ShowMessage(const CQoString& text) override;

private:
    ui::Window* m_owner;
};
