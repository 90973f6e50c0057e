#pragma once

namespace sorakado::shell {

// The top edge of the three lists in the window, in twips. A right press in the income or the
// expense list opens its panel with the corner level with the pointer: the press's y within the
// list plus this.
inline constexpr int kListsTopTw = 1605;

// The left of an edit panel opened from the expense list: the press's x within the list plus
// this. The list's left edge lies at 3810, so the corner lands 150 twips right of the pointer.
inline constexpr int kExpensePanelLeftTw = 3960;

} // namespace sorakado::shell
