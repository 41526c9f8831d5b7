#include "InstallerDesktop.h"

#include "platform/ui/Desktop.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/sdl/BackendFactory.h"

#include <algorithm>
#include <ostream>

InstallerDesktop::InstallerDesktop(bool headless, std::optional<int> answer)
    : m_headless(headless || answer.has_value())
    , m_answer(answer)
{
}

InstallerDesktop::~InstallerDesktop()
{
    if (m_desktop)
        m_desktop->setModalObserver({});
}

bool InstallerDesktop::open(std::ostream& err)
{
    if (m_desktop)
        return true;
    ui::BackendOptions options;
    options.headless = m_headless;
    options.title = "Tavrel Setup";
    std::string reason;
    std::unique_ptr<ui::Backend> backend = ui::createBackend(options, &reason);
    if (!backend) {
        err << "tavrel-device: no display (" << reason << "); the setup's questions take their default answers\n";
        options.headless = true;
        backend = ui::createBackend(options, &reason);
    }
    if (!backend)
        return false;
    m_desktop = std::make_unique<ui::Desktop>(std::move(backend));
    if (m_desktop->isHeadless()) {
        m_desktop->setModalObserver([answer = m_answer](ui::Window& window) {
            auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window);
            if (!box)
                return;
            const std::vector<int>& buttons = box->buttons();
            const bool answerable = answer && std::find(buttons.begin(), buttons.end(), *answer) != buttons.end();
            box->endDialog(answerable ? *answer : box->defaultResult());
        });
    }
    return true;
}
