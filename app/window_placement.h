// The main window's stored placement: the "Window size" rectangle text and which stored
// rectangles a new start accepts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldovar {

// Right and bottom are one past the window, as the stored text has always had them.
struct WindowRect {
  int left = 10;
  int top = 10;
  int right = 500;
  int bottom = 400;
  bool operator==(const WindowRect&) const = default;
};

// "%04d %04d %04d %04d": left, top, right, bottom.
std::string formatWindowRect(const WindowRect& rect);

// The stored rectangle when its left edge lies on the screen's width and its top on the
// screen's height (both bounds included); otherwise, or for a text too short to hold four
// numbers, the default rectangle.
WindowRect acceptedWindowRect(std::string_view text, int screenWidth, int screenHeight);

// How the window opens from the stored "Icon" and "Max".
enum class ShowState { Normal, Maximized, Minimized, MinimizedRestoringMaximized };
ShowState showStateFrom(int icon, int max);

struct StoredShowState {
  int icon = 0;
  int max = 0;
};
StoredShowState storedShowState(ShowState state);

}  // namespace keldovar
