#pragma once
// The rules dialogs driven as a person drives them, on a headless desktop and a throw-away device:
// each test says what to do when a dialog opens (When), how to answer the next message box
// (Answer), and reads what the dialogs showed.

#include "PinnedClock.h"
#include "TempDevice.h"

#include "platform/ui/Automation.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "rules/TavrelIconFolderSettings.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace rules_test {

inline std::string Utf8(device::WideView text) { return device::toUtf8(text); }

// "Icon Path" and the install folder, kept in memory.
class MemoryIconSettings final : public CTavrelIconFolderSettings {
public:
    CQoString GetIconPath() override { return iconPath; }
    void SetIconPath(const CQoString& folder) override { iconPath = folder; }
    CQoString GetInstallFolder() override { return installFolder; }

    CQoString iconPath;
    CQoString installFolder;
};

class RulesDialogHarness : public ::testing::Test {
protected:
    RulesDialogHarness()
    {
        automation.onModal([this](ui::Window& window) {
            if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
                messages.push_back(Utf8(box->message()));
                messageDefaults.push_back(box->defaultResult());
                if (answers.empty()) {
                    box->endDialog(box->defaultResult());
                    return;
                }
                const std::u16string button = answers.front();
                answers.pop_front();
                EXPECT_TRUE(automation.tapText(button)) << Utf8(button);
                return;
            }
            auto* dialog = dynamic_cast<ui::Dialog*>(&window);
            if (!dialog)
                return;
            auto acts = handlers.find(dialog->id());
            if (acts == handlers.end() || acts->second.empty()) {
                ADD_FAILURE() << "dialog " << dialog->id() << " opened unexpectedly";
                dialog->endDialog(ui::IDCANCEL);
                return;
            }
            std::function<void(ui::Dialog&)> act = std::move(acts->second.front());
            acts->second.pop_front();
            act(*dialog);
        });
    }
    ~RulesDialogHarness() override { desktop.setModalObserver({}); }

    // The next time the dialog with this id opens, `act` plays the person's part.
    template <typename Dlg>
    void When(int dialogId, std::function<void(Dlg&)> act)
    {
        handlers[dialogId].push_back([act = std::move(act)](ui::Dialog& dialog) {
            auto* typed = dynamic_cast<Dlg*>(&dialog);
            ASSERT_NE(typed, nullptr);
            act(*typed);
        });
    }
    // The next message box is answered with the button of this text; unanswered boxes take their
    // default button. Every box's text lands in `messages`.
    void Answer(const char16_t* button) { answers.push_back(button); }

    template <typename Control>
    Control* Find(ui::Dialog& dialog, int id)
    {
        auto* control = dialog.controlAs<Control>(id);
        EXPECT_NE(control, nullptr) << id;
        return control;
    }
    // Replaces an edit field's text as a person does: tap, End, Backspace over it, type.
    void SetText(ui::Dialog& dialog, int id, std::u16string_view text)
    {
        ui::EditBox* edit = Find<ui::EditBox>(dialog, id);
        if (!edit)
            return;
        automation.tap(edit);
        automation.pressKey(ui::VK_END);
        for (std::size_t i = edit->text().size(); i > 0; --i)
            automation.pressKey(ui::VK_BACK);
        automation.typeText(text);
        EXPECT_EQ(edit->text(), text);
    }
    void Select(ui::Dialog& dialog, int id, std::u16string_view text)
    {
        EXPECT_TRUE(automation.selectItem(Find<ui::ComboBox>(dialog, id), text)) << Utf8(text);
    }
    void Press(ui::Dialog& dialog, int id) { EXPECT_TRUE(automation.tap(dialog.control(id))) << id; }
    bool IsEnabled(ui::Dialog& dialog, int id) { return dialog.control(id) && dialog.control(id)->isEnabled(); }

    testing_support::TempDevice device;
    testing_support::PinnedClock clock{testing_support::localTime(2026, 12, 8, 15, 45)};
    ui::Desktop desktop{std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual()};
    ui::Automation automation{desktop};
    MemoryIconSettings settings;
    std::vector<std::string> messages;
    // The default button's result of each message box.
    std::vector<int> messageDefaults;

private:
    std::map<int, std::deque<std::function<void(ui::Dialog&)>>> handlers;
    std::deque<std::u16string> answers;
};

} // namespace rules_test
