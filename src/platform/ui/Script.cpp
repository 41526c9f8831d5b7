#include "platform/ui/Script.h"

#include "platform/ui/Messages.h"
#include "platform/ui/Theme.h"

#include <cctype>
#include <climits>
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

// What follows the first `count` words of a line, without the blank that separates them.
std::string_view afterWords(std::string_view line, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t word = 0; word < count; ++word) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
    }
    return trim(line.substr(i));
}

// The result a message box button gives, by its name.
std::optional<int> answerNamed(std::string_view name)
{
    static const std::pair<const char*, int> answers[] = {
        {"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
    std::string wanted = lower(name);
    for (auto [answerName, result] : answers)
        if (wanted == answerName)
            return result;
    return std::nullopt;
}

// A control id: a number, or the name of a dialog result (OK, CANCEL, YES, NO).
std::optional<int> controlId(std::string_view word)
{
    if (auto named = answerNamed(word))
        return named;
    return number(word, 0, 65535);
}
} // namespace

const char* Script::help()
{
    return "Script actions, one a line (\"#\" starts a comment; coordinates are screen pixels):\n"
           "  tap X Y, hold X Y, down X Y, up X Y   pen input, X 0-239 and Y 0-319\n"
           "  key NAME                             Left Right Up Down PageUp PageDown Home End Return\n"
           "                                       (Enter) Escape Tab Back (Backspace) Delete Space Help\n"
           "  command ID                           WM_COMMAND ID to the foreground window\n"
           "  type TEXT                            type the rest of the line\n"
           "  wait MS                              let MS milliseconds pass\n"
           "  idle                                 until nothing is pending and the screen is drawn\n"
           "  snap FILE                            the screen as PNG\n"
           "  quit                                 end the program\n"
           "  press ID                             tap the control with this id in the foreground\n"
           "                                       window; OK: the navigation bar's ok, CANCEL: dismiss\n"
           "  select ID TEXT                       the item with this text in a list, combo box, list\n"
           "                                       view or tree\n"
           "  check ID 0|1                         set a check box\n"
           "  check ID TEXT 0|1                    set a tree item's check box\n"
           "  text ID TEXT                         replace an edit field's text\n"
           "  choose PATH                          an item of the open popup menu: View/Weekly (a\n"
           "                                       path that ends at a submenu opens it)\n"
           "  answer YES|NO|OK|CANCEL              answer the next message box that opens (without it,\n"
           "                                       a box stays open for the script)\n"
           "  dump FILE                            the foreground window as text: title, then controls\n"
           "ID is a number or OK, CANCEL, YES, NO. A line that finds no such control or item ends the\n"
           "run with a message naming the line, and the exit status is 1.\n";
}

namespace {

// The key names a script takes, as a person writes them; any letter case is read.
const std::pair<const char*, int> namedKeys[] = {
    {"Left", VK_LEFT},     {"Right", VK_RIGHT},   {"Up", VK_UP},         {"Down", VK_DOWN},
    {"PageUp", VK_PRIOR},  {"PageDown", VK_NEXT}, {"Home", VK_HOME},     {"End", VK_END},
    {"Return", VK_RETURN}, {"Enter", VK_RETURN},  {"Escape", VK_ESCAPE}, {"Tab", VK_TAB},
    {"Back", VK_BACK},     {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Space", VK_SPACE},
    {"Help", VK_F1},
};

} // namespace

int Script::keyCode(std::string_view name)
{
    std::string wanted = lower(name);
    for (auto [keyName, code] : namedKeys)
        if (wanted == lower(keyName))
            return code;
    return 0;
}

std::string Script::keyNames()
{
    std::string names;
    for (auto [keyName, code] : namedKeys)
        names += (names.empty() ? "" : ", ") + std::string(keyName);
    return names;
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
        action.source = std::string(line);
        // Pen input lands on the screen or nowhere: a point off it would go to no window at all.
        auto point = [&]() -> std::optional<std::string> {
            auto x = parts.size() == 3 ? number(parts[1], INT_MIN, INT_MAX) : std::nullopt;
            auto y = parts.size() == 3 ? number(parts[2], INT_MIN, INT_MAX) : std::nullopt;
            if (!x || !y)
                return "'" + verb + "' needs X and Y, whole numbers";
            if (*x < 0 || *x >= theme::screenWidth || *y < 0 || *y >= theme::screenHeight)
                return "'" + verb + "' coordinates must be within " + std::to_string(theme::screenWidth) + " \u00D7 "
                       + std::to_string(theme::screenHeight) + " (0-" + std::to_string(theme::screenWidth - 1) + ", 0-"
                       + std::to_string(theme::screenHeight - 1) + "), not " + std::string(parts[1]) + " "
                       + std::string(parts[2]);
            action.point = {*x, *y};
            return std::nullopt;
        };
        if (verb == "tap" || verb == "hold" || verb == "down" || verb == "up") {
            action.kind = verb == "tap"    ? ScriptAction::Kind::Tap
                          : verb == "hold" ? ScriptAction::Kind::Hold
                          : verb == "down" ? ScriptAction::Kind::Down
                                           : ScriptAction::Kind::Up;
            if (std::optional<std::string> why = point())
                return fail(*why);
        } else if (verb == "key") {
            action.kind = ScriptAction::Kind::Key;
            if (parts.size() != 2)
                return fail("'key' needs one key name (" + keyNames() + ")");
            action.value = keyCode(parts[1]);
            if (!action.value)
                return fail("unknown key '" + std::string(parts[1]) + "' (" + keyNames() + ")");
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
        } else if (verb == "press") {
            action.kind = ScriptAction::Kind::Press;
            auto id = parts.size() == 2 ? controlId(parts[1]) : std::nullopt;
            if (!id)
                return fail("'press' needs a control id (a number, OK, CANCEL, YES or NO)");
            action.value = *id;
        } else if (verb == "select" || verb == "text") {
            action.kind = verb == "select" ? ScriptAction::Kind::Select : ScriptAction::Kind::Text;
            auto id = parts.size() >= 2 ? controlId(parts[1]) : std::nullopt;
            if (!id)
                return fail("'" + verb + "' needs a control id and a text");
            action.value = *id;
            action.text = device::fromUtf8(afterWords(line, 2));
            if (action.kind == ScriptAction::Kind::Select && action.text.empty())
                return fail("'select' needs the text of the item");
        } else if (verb == "check") {
            action.kind = ScriptAction::Kind::Check;
            auto id = parts.size() >= 3 ? controlId(parts[1]) : std::nullopt;
            auto state = parts.size() >= 3 ? number(parts.back(), 0, 1) : std::nullopt;
            if (!id || !state)
                return fail("'check' needs a control id, an item's text for a tree, and 0 or 1");
            action.value = *id;
            action.checked = *state == 1;
            std::string_view item = afterWords(line, 2);
            item.remove_suffix(parts.back().size());
            action.text = device::fromUtf8(trim(item));
        } else if (verb == "choose") {
            action.kind = ScriptAction::Kind::Choose;
            action.text = device::fromUtf8(afterWords(line, 1));
            if (action.text.empty())
                return fail("'choose' needs the menu item's text, such as View/Weekly");
        } else if (verb == "answer") {
            action.kind = ScriptAction::Kind::Answer;
            auto answer = parts.size() == 2 ? answerNamed(parts[1]) : std::nullopt;
            if (!answer)
                return fail("'answer' takes YES, NO, OK or CANCEL");
            action.value = *answer;
        } else if (verb == "dump") {
            action.kind = ScriptAction::Kind::Dump;
            action.file = std::string(afterWords(line, 1));
            if (action.file.empty())
                return fail("'dump' needs a file");
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
