// Every QtTest class of the GUI binary registers itself here; gui_main runs them all.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace keldovar::test {

// How long a test waits for what the event loop brings (a recovery copy written, a window shown)
// before it gives up: long enough for a loaded machine and a sanitized build, never a measure.
inline constexpr int kEventWait = 60000;

using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<GuiTestFactory>& guiTests();

template <class TestClass>
bool registerGuiTest() {
  guiTests().push_back([] { return std::make_unique<TestClass>(); });
  return true;
}

}  // namespace keldovar::test

#define KELDOVAR_GUI_TEST(TestClass) \
  static const bool registered##TestClass = keldovar::test::registerGuiTest<TestClass>()
