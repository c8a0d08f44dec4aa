#pragma once
// The trace channel: lines to an external trace viewer while one is running. Without a viewer a trace
// call only tests a flag and builds nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace mTrace {

// -1 when a viewer is known; the first call of a run looks for one.
int16_t Trace_Enabled();
// Looks for a viewer again and answers as Trace_Enabled.
int16_t Trace_Reconnect();

namespace detail {
void Trace_Line(const std::string& items);
std::string Number_Text(double value);
std::string Number_Text(int64_t value);

template <class Item>
void Append_Item(std::string& text, const Item& item) {
    if constexpr (std::is_same_v<Item, bool>) text += item ? "True" : "False";
    else if constexpr (std::is_integral_v<Item>) text += Number_Text(static_cast<int64_t>(item));
    else if constexpr (std::is_floating_point_v<Item>) text += Number_Text(static_cast<double>(item));
    else if constexpr (std::is_convertible_v<const Item&, std::string_view>) text += std::string_view(item);
    else static_assert(!sizeof(Item), "a trace item must be a text, a number or a truth value");
    text += '\t';
}
}  // namespace detail

// Sends one line of the items, each followed by a TAB: numbers in decimal, truth values "True"/"False".
template <class... Items>
void Trace(const Items&... items) {
    if (!Trace_Enabled()) return;
    std::string text;
    (detail::Append_Item(text, items), ...);
    detail::Trace_Line(text);
}

}  // namespace mTrace
