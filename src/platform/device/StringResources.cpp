#include "platform/device/StringResources.h"

#include <map>
#include <mutex>

namespace device {

namespace {

struct Tables {
    std::mutex mutex;
    std::map<std::pair<ModuleHandle, std::uint32_t>, WideString> strings;
};

Tables& tables()
{
    static Tables instance;
    return instance;
}

} // namespace

void StringResources::registerTable(ModuleHandle module,
                                    std::initializer_list<std::pair<std::uint32_t, const WChar*>> entries)
{
    std::lock_guard lock(tables().mutex);
    for (const auto& [id, text] : entries)
        tables().strings[{module, id}] = text ? WideString(text) : WideString();
}

std::optional<WideString> StringResources::find(ModuleHandle module, std::uint32_t id)
{
    std::lock_guard lock(tables().mutex);
    auto it = tables().strings.find({module, id});
    if (it == tables().strings.end())
        return std::nullopt;
    return it->second;
}

std::size_t StringResources::load(ModuleHandle module, std::uint32_t id, WChar* buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return 0;
    auto text = find(module, id);
    std::size_t n = 0;
    if (text) {
        n = text->size() < capacity - 1 ? text->size() : capacity - 1;
        text->copy(buffer, n);
    }
    buffer[n] = 0;
    return n;
}

} // namespace device
