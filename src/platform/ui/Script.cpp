#include "platform/ui/Script.h"

#include "platform/ui/Messages.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

namespace ui {

namespace {
std::string lower(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        std::size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i > start)
            result.push_back(text.substr(start, i - start));
    }
    return result;
}

std::optional<int> number(std::string_view text, int minimum, int maximum)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}
} // namespace

int Script::keyCode(std::string_view name)
{
    static const std::pair<const char*, int> keys[] = {
        {"left", VK_LEFT},     {"right", VK_RIGHT},   {"up", VK_UP},         {"down", VK_DOWN},
        {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT}, {"return", VK_RETURN}, {"enter", VK_RETURN},
        {"escape", VK_ESCAPE}, {"tab", VK_TAB},       {"back", VK_BACK},     {"backspace", VK_BACK},
        {"delete", VK_DELETE}, {"home", VK_HOME},     {"end", VK_END},       {"space", VK_SPACE},
        {"help", VK_F1},
    };
    std::string wanted = lower(name);
    for (auto [keyName, code] : keys)
        if (wanted == keyName)
            return code;
    return 0;
}

std::optional<std::vector<ScriptAction>> Script::parse(std::string_view text, std::string* error)
{
    std::vector<ScriptAction> actions;
    int lineNumber = 0;
    std::size_t position = 0;
    auto fail = [&](const std::string& why) -> std::optional<std::vector<ScriptAction>> {
        if (error)
            *error = "script line " + std::to_string(lineNumber) + ": " + why;
        return std::nullopt;
    };
    while (position <= text.size()) {
        std::size_t end = text.find('\n', position);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = trim(text.substr(position, end - position));
        position = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        auto parts = words(line);
        std::string verb = lower(parts.front());
        ScriptAction action;
        action.line = lineNumber;
        auto point = [&]() -> bool {
            if (parts.size() != 3)
                return false;
            auto x = number(parts[1], -1000, 10000), y = number(parts[2], -1000, 10000);
            if (!x || !y)
                return false;
            action.point = {*x, *y};
            return true;
        };
        if (verb == "tap" || verb == "hold" || verb == "down" || verb == "up") {
            action.kind = verb == "tap"    ? ScriptAction::Kind::Tap
                          : verb == "hold" ? ScriptAction::Kind::Hold
                          : verb == "down" ? ScriptAction::Kind::Down
                                           : ScriptAction::Kind::Up;
            if (!point())
                return fail("'" + verb + "' needs X and Y");
        } else if (verb == "key") {
            action.kind = ScriptAction::Kind::Key;
            action.value = parts.size() == 2 ? keyCode(parts[1]) : 0;
            if (!action.value)
                return fail("unknown key");
        } else if (verb == "command") {
            action.kind = ScriptAction::Kind::Command;
            auto id = parts.size() == 2 ? number(parts[1], 0, 65535) : std::nullopt;
            if (!id)
                return fail("'command' needs an id from 0 to 65535");
            action.value = *id;
        } else if (verb == "type") {
            action.kind = ScriptAction::Kind::Type;
            std::string_view rest = line.substr(parts.front().size());
            if (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.front())))
                rest.remove_prefix(1);
            action.text = device::fromUtf8(rest);
        } else if (verb == "wait") {
            action.kind = ScriptAction::Kind::Wait;
            auto ms = parts.size() == 2 ? number(parts[1], 0, 3600000) : std::nullopt;
            if (!ms)
                return fail("'wait' needs milliseconds");
            action.value = *ms;
        } else if (verb == "idle" && parts.size() == 1) {
            action.kind = ScriptAction::Kind::Idle;
        } else if (verb == "snap") {
            action.kind = ScriptAction::Kind::Snap;
            std::string_view rest = trim(line.substr(parts.front().size()));
            if (rest.empty())
                return fail("'snap' needs a file");
            action.file = std::string(rest);
        } else if (verb == "quit" && parts.size() == 1) {
            action.kind = ScriptAction::Kind::Quit;
        } else {
            return fail("unknown action '" + std::string(parts.front()) + "'");
        }
        actions.push_back(std::move(action));
    }
    return actions;
}

std::optional<std::vector<ScriptAction>> Script::load(const std::string& hostPath, std::string* error)
{
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot read the script " + hostPath;
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return parse(content.str(), error);
}

} // namespace ui
