#include "platform/pim/AppointmentEditor.h"

#include <mutex>

namespace pim {

namespace {

std::mutex& editorMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<AppointmentEditor>& editorSlot()
{
    static std::shared_ptr<AppointmentEditor> editor;
    return editor;
}

} // namespace

std::shared_ptr<AppointmentEditor> AppointmentEditor::install(std::shared_ptr<AppointmentEditor> editor)
{
    std::lock_guard lock(editorMutex());
    std::swap(editorSlot(), editor);
    return editor;
}

std::shared_ptr<AppointmentEditor> AppointmentEditor::installed()
{
    std::lock_guard lock(editorMutex());
    return editorSlot();
}

} // namespace pim
