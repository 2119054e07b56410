// Actions from the command table. In a menu list, 0 stands for a separator and -1 for the
// recent files.
#include "desktop/command_actions.h"

#include <QIcon>
#include <QMenuBar>

#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

using namespace command_ids;

constexpr int kSeparator = 0;
constexpr int kRecent = -1;

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

constexpr int kShellCommands[] = {kNew,       kOpen,       kPrintSetup,  kExit, kToolbar,
                                  kStatusBar, kHelpTopics, kContextHelp, kHelp, kAbout};

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
    if (info.id == kRecentFile1) continue;
    QAction* action = makeAction(info, &window);
    // Keys work wherever the focus is in the main window, dialogs aside.
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &window, [run, id = info.id] { run(id); });
    actions_[info.id] = action;
  }
  for (int id :
       {kIncludeFinancial, kIncludeBargraph, kIncludeCarbon, kAllTables, kToolbar, kStatusBar}) {
    actions_[id]->setCheckable(true);
  }
  const CommandInfo* recentInfo = findCommand(kRecentFile1);
  for (int i = 0; i < kRecentFileCount; ++i) {
    QAction* action = makeAction(*recentInfo, &window);
    action->setObjectName(QString("recentFile%1").arg(i + 1));
    QObject::connect(action, &QAction::triggered, &window, [run, i] { run(kRecentFile1 + i); });
    recent_[static_cast<std::size_t>(i)] = action;
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
      addMenu(window, "&File", {kNew, kOpen, kSeparator, kPrintSetup, kSeparator, kRecent, kExit}),
      addMenu(window, "&View", {kToolbar, kStatusBar})};
  QMenu* stand = window.menuBar()->addMenu("&Stand");
  QMenu* initialize = stand->addMenu("&Initialize");
  addCommands(initialize, {kInitUnthinned, kInitThinned, kInitPlantation});
  addCommands(stand, {kGrow, kFertilize});
  QMenu* thin = stand->addMenu("&Thin");
  addCommands(thin, {kRowThin, kLowThin, kRowLowThin, kThinomatic});
  addCommands(stand,
              {kSeparator, kHarvest, kSeparator, kFindRegime, kSensitivity, kCompareRegimes});
  withDocument_ = {
      addMenu(window, "&File",
              {kNew, kOpen, kClose, kSave, kSaveAs, kSeparator, kPrint, kPrintPreview, kPrintSetup,
               kExportPdf, kSeparator, kRecent, kExit}),
      addMenu(window, "&Edit", {kCopy, kSelectAll, kSeparator, kNewFromHere}),
      stand,
      addMenu(window, "&Options",
              {kFinancialValues, kMerchLimits, kCarbonValues, kSeparator, kIncludeFinancial,
               kIncludeBargraph, kIncludeCarbon}),
      addMenu(window, "&View",
              {kToolbar, kStatusBar, kSeparator, kAllTables, kIncludeFinancial, kIncludeBargraph,
               kIncludeCarbon, kSeparator, kIncreaseFont, kDecreaseFont, kSeparator, kResetView}),
      addMenu(window, "&Window", {kCascade, kTile})};
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
