// Actions from the command table. In a menu list, 0 stands for a separator, -1 for the recent
// files and -2 for the open documents.
#include "desktop/command_actions.h"

#include <QIcon>
#include <QMenuBar>

#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

using namespace command_ids;

constexpr int kSeparator = 0;
constexpr int kRecent = -1;
constexpr int kWindowList = -2;

// The toolbar, in order; 0 is a separator.
constexpr int kToolbarButtons[] = {
    kNew,         kSeparator,      kResetView,  kSeparator, kOpen,      kSave,      kSeparator,
    kCopy,        kSeparator,      kHelpTopics, kSeparator, kPrint,     kSeparator, kInitUnthinned,
    kInitThinned, kInitPlantation, kSeparator,  kFertilize, kSeparator, kRowThin,   kLowThin,
    kRowLowThin,  kThinomatic,     kSeparator,  kGrow,      kSeparator, kHarvest};

const char* iconName(int id) {
  switch (id) {
    case kNew:
      return "new";
    case kResetView:
      return "reset_view";
    case kOpen:
      return "open";
    case kSave:
      return "save";
    case kCopy:
      return "copy";
    case kHelpTopics:
      return "help";
    case kPrint:
      return "print";
    case kInitUnthinned:
      return "init_unthinned";
    case kInitThinned:
      return "init_thinned";
    case kInitPlantation:
      return "init_plantation";
    case kFertilize:
      return "fertilize";
    case kRowThin:
      return "row_thin";
    case kLowThin:
      return "low_thin";
    case kRowLowThin:
      return "row_low_thin";
    case kThinomatic:
      return "thinomatic";
    case kGrow:
      return "grow";
    case kHarvest:
      return "harvest";
    default:
      return nullptr;
  }
}

constexpr int kShellCommands[] = {kNew,         kOpen,    kOpenInventory, kPrintSetup,
                                  kExit,        kToolbar, kStatusBar,     kHelpTopics,
                                  kContextHelp, kHelp,    kAbout};

QAction* makeAction(const CommandInfo& info, QObject* owner) {
  auto* action = new QAction(owner);
  action->setText(info.menuText);
  action->setShortcuts(QKeySequence::listFromString(info.keys));
  action->setStatusTip(info.statusTip);
  if (*info.toolTip != '\0') action->setToolTip(info.toolTip);
  if (const char* icon = iconName(info.id)) {
    action->setIcon(QIcon(QString(":/icons/%1.svg").arg(icon)));
  }
  action->setObjectName(QString("command%1").arg(info.id));
  return action;
}

}  // namespace

CommandActions::CommandActions(QMainWindow& window, const std::function<void(int)>& run) {
  for (const CommandInfo& info : commandTable()) {
    if (info.id == kRecentFile1 || info.id == kWindow1) continue;
    QAction* action = makeAction(info, &window);
    // Keys work wherever the focus is in the main window, dialogs aside.
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &window, [run, id = info.id] { run(id); });
    actions_[info.id] = action;
  }
  for (int id : {kIncludeFinancial, kIncludeBargraph, kIncludeCarbon, kMetricUnits, kAllTables,
                 kToolbar, kStatusBar, kFitPageWidth}) {
    actions_[id]->setCheckable(true);
  }
  makeNumbered(window, run, kRecentFile1, "recentFile", recent_);
  makeNumbered(window, run, kWindow1, "window", windows_);
  for (QAction* action : windows_) action->setCheckable(true);
}

template <std::size_t N>
void CommandActions::makeNumbered(QMainWindow& window, const std::function<void(int)>& run,
                                  int first, const char* name, std::array<QAction*, N>& out) {
  const CommandInfo* info = findCommand(first);
  for (std::size_t i = 0; i < N; ++i) {
    QAction* action = makeAction(*info, &window);
    action->setObjectName(QString("%1%2").arg(name).arg(i + 1));
    action->setVisible(false);
    int id = first + static_cast<int>(i);
    QObject::connect(action, &QAction::triggered, &window, [run, id] { run(id); });
    out[i] = action;
  }
}

void CommandActions::showWindows(const QStringList& titles, int active) {
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    auto n = static_cast<qsizetype>(i);
    windows_[i]->setVisible(n < titles.size());
    if (n >= titles.size()) continue;
    windows_[i]->setText(QString("&%1 %2").arg(n + 1).arg(titles[n]));
    windows_[i]->setChecked(n == active);
  }
}

QAction* CommandActions::action(int id) const {
  auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

bool CommandActions::needsDocument(int id) const {
  for (int shell : kShellCommands) {
    if (shell == id) return false;
  }
  return id < kRecentFile1 || id >= kRecentFile1 + kRecentFileCount;
}

void CommandActions::addCommands(QMenu* menu, std::initializer_list<int> ids) {
  for (int id : ids) {
    if (id == kSeparator) {
      menu->addSeparator();
    } else if (id == kRecent) {
      addRecentFiles(menu);
    } else if (id == kWindowList) {
      for (QAction* action : windows_) menu->addAction(action);
    } else {
      menu->addAction(action(id));
    }
  }
}

void CommandActions::addRecentFiles(QMenu* menu) {
  for (QAction* action : recent_) menu->addAction(action);
  menu->addSeparator();
}

QMenu* CommandActions::addMenu(QMainWindow& window, const char* title,
                               std::initializer_list<int> ids) {
  QMenu* menu = window.menuBar()->addMenu(title);
  addCommands(menu, ids);
  return menu;
}

void CommandActions::buildMenus(QMainWindow& window) {
  withoutDocument_ = {
      addMenu(window, "&File",
              {kNew, kOpen, kOpenInventory, kSeparator, kPrintSetup, kSeparator, kRecent, kExit}),
      addMenu(window, "&View", {kToolbar, kStatusBar})};
  QMenu* stand = window.menuBar()->addMenu("&Stand");
  QMenu* initialize = stand->addMenu("&Initialize");
  addCommands(initialize, {kInitUnthinned, kInitThinned, kInitPlantation});
  addCommands(stand, {kGrow, kFertilize});
  QMenu* thin = stand->addMenu("&Thin");
  addCommands(thin, {kRowThin, kLowThin, kRowLowThin, kThinomatic});
  addCommands(stand, {kSeparator, kHarvest, kSeparator, kUndo, kSeparator, kFindRegime,
                      kSensitivity, kCompareRegimes});
  withDocument_ = {
      addMenu(
          window, "&File",
          {kNew, kOpen, kOpenInventory, kClose, kSave, kSaveAs, kSeparator, kPrint, kPrintPreview,
           kPrintSetup, kFitPageWidth, kExportPdf, kExportCsv, kSeparator, kRecent, kExit}),
      addMenu(window, "&Edit", {kCopy, kSelectAll, kSeparator, kNewFromHere}),
      stand,
      addMenu(window, "&Options",
              {kFinancialValues, kMerchLimits, kCarbonValues, kSeparator, kIncludeFinancial,
               kIncludeBargraph, kIncludeCarbon, kSeparator, kMetricUnits}),
      addMenu(window, "&View",
              {kToolbar, kStatusBar, kSeparator, kAllTables, kIncludeFinancial, kIncludeBargraph,
               kIncludeCarbon, kMetricUnits, kSeparator, kIncreaseFont, kDecreaseFont,
               kNormalFontSize, kFitWidth, kSeparator, kResetView}),
      addMenu(window, "&Window", {kCascade, kTile, kSeparator, kWindowList})};
  // File and Edit come before Stand in the bar.
  window.menuBar()->insertMenu(stand->menuAction(), withDocument_[0]);
  window.menuBar()->insertMenu(stand->menuAction(), withDocument_[1]);
  addMenu(window, "&Help", {kHelpTopics, kSeparator, kAbout});
  showDocumentMenus(false);
}

void CommandActions::showDocumentMenus(bool documentOpen) {
  // Both sets have a File and a View menu: a hidden one gives up its mnemonic, or Alt+F would
  // be claimed twice and open neither.
  auto show = [](QMenu* menu, bool visible) {
    QString title = menu->title().remove('&');
    menu->setTitle(visible ? "&" + title : title);
    menu->menuAction()->setVisible(visible);
  };
  for (QMenu* menu : withoutDocument_) show(menu, !documentOpen);
  for (QMenu* menu : withDocument_) show(menu, documentOpen);
}

QToolBar* CommandActions::buildToolBar(QMainWindow& window) {
  auto* toolBar = window.addToolBar("Standard");
  toolBar->setObjectName("standardToolBar");
  toolBar->setIconSize(QSize(16, 15));
  toolBar->setAllowedAreas(Qt::AllToolBarAreas);
  toolBar->setMovable(true);
  for (int id : kToolbarButtons) {
    if (id == kSeparator) {
      toolBar->addSeparator();
    } else {
      toolBar->addAction(action(id));
    }
  }
  return toolBar;
}

}  // namespace keldovar
