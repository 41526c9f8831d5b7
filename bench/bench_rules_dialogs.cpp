// The rules dialogs' long work: the icon picker filling its list for a folder of 500 pictures
// (enumerating, decoding and scaling each, listing them), and the Rules dialog refilling its list
// with 500 rules; each measured inside the running dialog, with the repaint that follows.

#include "platform/device/DeviceFolder.h"
#include "platform/device/FileSystem.h"
#include "platform/gfx/GifCodec.h"
#include "platform/gfx/PngWriter.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "rules/TavrelIconFolderSettings.h"
#include "rules/TavrelIconPickerDlg.h"
#include "rules/TavrelRules.h"
#include "rules/TavrelRulesDlg.h"

#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace {


ScratchDevice& scratch()
{
    static ScratchDevice device("tavrel-bench-rules");
    return device;
}

class Settings final : public CTavrelIconFolderSettings {
public:
    CQoString GetIconPath() override { return m_path; }
    void SetIconPath(const CQoString& folder) override { m_path = folder; }
    CQoString GetInstallFolder() override { return CQoString(u"\\Program Files\\Tavrel"); }

private:
    CQoString m_path;
};

// A folder of `count` pictures of `side` pixels, GIF and PNG taking turns, made once per shape.
CQoString pictureFolder(int count, int side)
{
    scratch();
    const std::u16string folder = u"\\Pictures" + device::fromUtf8(std::to_string(count) + "x" + std::to_string(side));
    if (device::FileSystem::isDirectory(folder))
        return CQoString(folder.c_str());
    device::FileSystem::createDirectories(folder);
    for (int i = 0; i < count; ++i) {
        gfx::Surface picture(side, side, gfx::rgb(255, 255, 255));
        picture.fillRect({side / 4, side / 4, side - side / 4, side - side / 4}, gfx::rgb(i % 256, 40, 200 - i % 200));
        const bool gif = i % 2 == 0;
        const std::vector<std::uint8_t> bytes = gif ? gfx::GifCodec::encode(picture) : gfx::PngWriter::encode(picture);
        const std::u16string name = device::fromUtf8("Icon" + std::to_string(i) + (gif ? ".gif" : ".png"));
        device::FileSystem::writeAll(folder + u"\\" + name, bytes);
    }
    return CQoString(folder.c_str());
}

// Runs `dialog` and calls `work` once it is open and painted.
void whileOpen(ui::Desktop& desktop, ui::Dialog& dialog, const std::function<void()>& work)
{
    desktop.setModalObserver([&](ui::Window& window) {
        if (&window != &dialog)
            return;
        work();
        dialog.endDialog(ui::IDCANCEL);
    });
    dialog.RunModal();
    desktop.setModalObserver({});
}

// Opening a folder of 500 pictures: args are the count and the pictures' side (16: icons at their
// size; 64: pictures the picker scales down).
void BM_PickerFillFolder(benchmark::State& state)
{
    const CQoString folder = pictureFolder(int(state.range(0)), int(state.range(1)));
    ui::Desktop desktop(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual());
    Settings settings;
    settings.SetIconPath(u"\\");
    CTavrelIconPickerDlg picker(settings);
    whileOpen(desktop, picker, [&] {
        for (auto _ : state) {
            picker.OpenFolder(folder);
            desktop.runUntilIdle();
        }
    });
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PickerFillFolder)->Args({500, 16})->Args({500, 64})->Unit(benchmark::kMillisecond);

// Refilling the Rules list (as after every Add, Edit, Delete and Defaults) with 500 rules.
void BM_RulesListRefill(benchmark::State& state)
{
    scratch();
    CTavrelRules rules;
    for (int i = 0; i < state.range(0); ++i) {
        const std::u16string text = device::fromUtf8("Subject number " + std::to_string(i));
        const char16_t* fields[] = {u"Subject", u"Category", u"# Recipients"};
        const std::u16string pattern = i % 3 == 0 ? u"*" + text + u"*" : i % 3 == 1 ? u"<>" + text : u">=" + text;
        rules.AddTail(CTavrelRule(fields[i % 3], pattern.c_str(), u"\\Program Files\\Tavrel\\Icons\\Cake.gif"));
    }
    ui::Desktop desktop(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual());
    Settings settings;
    CTavrelRulesDlg dialog(rules, settings);
    whileOpen(desktop, dialog, [&] {
        for (auto _ : state) {
            dialog.Refill(0);
            desktop.runUntilIdle();
        }
    });
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RulesListRefill)->Arg(500)->Unit(benchmark::kMicrosecond);

} // namespace
