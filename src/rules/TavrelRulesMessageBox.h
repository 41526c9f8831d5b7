#pragma once
// CTavrelRulesMessageBox: how the rules tell the user of a failure they must know about (a rules
// file that could not be recovered from its backup): a message box with an OK button.
//
// The rules sit below the window layer, so the program installs the real message box here at
// start; until it does (and in tests) the message goes to standard error the way headless runs
// write message boxes: "message-box: Tavrel: TEXT".

#include <functional>

class CTavrelRulesMessageBox {
public:
    using Handler = std::function<void(const char16_t* caption, const char16_t* text)>;

    static constexpr const char16_t* Caption = u"Tavrel";

    static void Show(const char16_t* text);
    // An empty handler brings back the standard-error default.
    static void SetHandler(Handler handler);
    static Handler GetHandler();
};
