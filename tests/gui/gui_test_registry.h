// Every QtTest class of the GUI binary registers itself here; gui_main runs them all.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace keldovar::test {

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
