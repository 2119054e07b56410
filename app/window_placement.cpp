// Window placement text, read the way it has always been read: four numbers at fixed positions.
#include "app/window_placement.h"

#include <cstdlib>

#include "engine/report_text.h"

namespace keldovar {
namespace {

// The leading decimal number at `position`; nothing when the field does not start with one.
std::optional<int> numberAt(std::string_view text, std::size_t position) {
  std::string field(text.substr(position, 5));
  char* end = nullptr;
  long value = std::strtol(field.c_str(), &end, 10);
  if (end == field.c_str()) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

std::string formatWindowRect(const WindowRect& rect) {
  return formatText("%04d %04d %04d %04d", rect.left, rect.top, rect.right, rect.bottom);
}

WindowRect acceptedWindowRect(std::string_view text, int screenWidth, int screenHeight) {
  if (text.size() < 16) return WindowRect{};
  auto left = numberAt(text, 0), top = numberAt(text, 5);
  auto right = numberAt(text, 10), bottom = numberAt(text, 15);
  if (!left || !top || !right || !bottom) return WindowRect{};
  WindowRect stored{*left, *top, *right, *bottom};
  bool onScreen = stored.left >= 0 && stored.left <= screenWidth && stored.top >= 0 &&
                  stored.top <= screenHeight;
  return onScreen ? stored : WindowRect{};
}

ShowState showStateFrom(int icon, int max) {
  if (icon != 0) return max != 0 ? ShowState::MinimizedRestoringMaximized : ShowState::Minimized;
  return max != 0 ? ShowState::Maximized : ShowState::Normal;
}

StoredShowState storedShowState(ShowState state) {
  switch (state) {
    case ShowState::Maximized:
      return {0, 1};
    case ShowState::Minimized:
      return {1, 0};
    case ShowState::MinimizedRestoringMaximized:
      return {1, 1};
    case ShowState::Normal:
      break;
  }
  return {0, 0};
}

}  // namespace keldovar
