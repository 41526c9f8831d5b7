#pragma once
// The handle of a window: a number that names one window for its whole life and never another.
// Handles are not reused, so a handle kept by a thread after its window was destroyed simply finds
// nothing: what is posted to it is swallowed.

#include <cstdint>
#include <functional>

namespace ui {

struct WindowHandle {
    std::uint32_t value = 0;

    constexpr explicit operator bool() const { return value != 0; }
    constexpr bool operator==(const WindowHandle&) const = default;
};

} // namespace ui

template <>
struct std::hash<ui::WindowHandle> {
    std::size_t operator()(ui::WindowHandle handle) const noexcept { return std::hash<std::uint32_t>()(handle.value); }
};
