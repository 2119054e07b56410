// The forest view. The stands run on a thread of their own, each on an engine of its own (never
// the documents' shared one); progress and the results come back as queued calls.
#include "desktop/forest_frame.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "forest/forest_run.h"
#include "forest/result_record.h"
#include "forest/run_inputs.h"
#include "forest/sqlite_db.h"
#include "forest/sqlite_reader.h"
#include "forest/stand_run.h"
#include "view/qt/qt_text.h"

namespace keldovar {

struct ForestFrame::Outcome {
  std::vector<std::optional<StandOutcome>> stands;
  std::vector<forest::ForestYear> years;
  int ran = 0;
  int failed = 0;
  int ranThrough = 0;
  double acres = 0;
  bool cancelled = false;
};

namespace {

// Keeps what the view shows of each stand and adds the forest up, on the worker thread.
class Collector final : public forest::StandSink {
 public:
  explicit Collector(std::size_t count) : stands(count) {}
  void stand(const forest::StandResult& result) override {
    auto index = static_cast<std::size_t>(result.row - 1);
    if (index < stands.size()) stands[index] = outcomeOf(result);
    totals.add(forest::recordOf(result));
    ++ran;
    failed += result.ok ? 0 : 1;
  }
  std::vector<std::optional<StandOutcome>> stands;
  forest::ForestTotals totals;
  int ran = 0;
  int failed = 0;
};

QTableView* tableView(QAbstractItemModel* model, const char* name) {
  auto* view = new QTableView;
  view->setObjectName(name);
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  return view;
}

}  // namespace

ForestFrame::ForestFrame(forest::LoadedInventory loaded, forest::CheckedInventory checked,
                         DocumentOpener opener, QWidget* parent)
    : QMdiSubWindow(parent),
      loaded_(std::move(loaded)),
      checked_(std::move(checked)),
      opener_(std::move(opener)) {
  setObjectName("ForestFrame");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Forest - " + QFileInfo(QString::fromStdString(loaded_.path)).fileName());
  forest::readStandRegimes(checked_, loaded_.path, plan_, manifest_);
  for (const forest::StandEntry& entry : checked_.stands) {
    standsOwnRegimes_ = standsOwnRegimes_ || (entry.stand && !entry.stand->regime.empty());
  }
  stands_ = new StandsModel(checked_, this);
  sorted_ = new QSortFilterProxyModel(this);
  sorted_->setSourceModel(stands_);
  sorted_->setSortRole(StandsModel::kSortRole);
  years_ = new YearsModel(this);
  chart_ = new ForestChart;

  auto* body = new QWidget;
  auto* layout = new QVBoxLayout(body);
  layout->addWidget(buildControls());
  standsView_ = tableView(sorted_, "forestStands");
  standsView_->setSortingEnabled(true);
  standsView_->sortByColumn(0, Qt::AscendingOrder);
  connect(standsView_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { openStand(sorted_->mapToSource(index).row()); });
  auto* bottom = new QSplitter(Qt::Horizontal);
  QTableView* yearsView = tableView(years_, "forestYears");
  yearsView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  bottom->addWidget(yearsView);
  bottom->addWidget(chart_);
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(standsView_);
  split->addWidget(bottom);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  bottom->setStretchFactor(0, 3);
  bottom->setStretchFactor(1, 2);
  layout->addWidget(split, 1);
  setWidget(body);
  updateButtons();
}

ForestFrame::~ForestFrame() {
  stop();
}

QWidget* ForestFrame::buildControls() {
  auto* controls = new QWidget;
  auto* rows = new QVBoxLayout(controls);
  rows->setContentsMargins(0, 0, 0, 0);
  auto* first = new QHBoxLayout;
  auto* second = new QHBoxLayout;
  rows->addLayout(first);
  rows->addLayout(second);
  int bad = 0;
  for (const forest::StandEntry& entry : checked_.stands) bad += entry.failure.empty() ? 0 : 1;
  first->addWidget(new QLabel(
      QString(
          "<b>%1</b>: %2 stands, %3 of them bad rows as read (the rest are checked as they run).")
          .arg(QString::fromStdString(loaded_.inventory.source).toHtmlEscaped())
          .arg(checked_.stands.size())
          .arg(bad)));
  first->addSpacing(24);
  first->addWidget(new QLabel("Regime:"));
  regimeName_ = new QLabel(standsOwnRegimes_ ? "the stands' own" : "none chosen");
  regimeName_->setObjectName("forestRegime");
  first->addWidget(regimeName_);
  first->addStretch();
  choose_ = new QPushButton("Choose Re&gime...");
  choose_->setObjectName("forestChoose");
  run_ = new QPushButton("&Run");
  run_->setObjectName("forestRun");
  cancel_ = new QPushButton("&Cancel");
  cancel_->setObjectName("forestCancel");
  progress_ = new QProgressBar;
  progress_->setRange(0, 1000);
  progress_->setValue(0);
  progress_->setMaximumWidth(240);
  summary_ = new QLabel;
  summary_->setObjectName("forestSummary");
  for (QWidget* w : std::initializer_list<QWidget*>{choose_, run_, cancel_, progress_, summary_}) {
    second->addWidget(w);
  }
  second->addStretch();
  connect(choose_, &QPushButton::clicked, this, &ForestFrame::chooseRegime);
  connect(run_, &QPushButton::clicked, this, &ForestFrame::run);
  connect(cancel_, &QPushButton::clicked, this, &ForestFrame::cancel);
  return controls;
}

void ForestFrame::chooseRegime() {
  QString path = QFileDialog::getOpenFileName(this, "Choose Regime", QString(),
                                              "Regime scripts (*.kdr);;All Files (*)");
  if (!path.isEmpty()) setRegime(path);
}

bool ForestFrame::setRegime(const QString& path) {
  if (running()) return false;
  forest::InputFile file = forest::readInputFile(path.toStdString());
  std::string name = QFileInfo(path).fileName().toStdString();
  forest::RegimeTemplate regime = forest::readTemplate(file.text, name);
  std::string error = file.error.empty() ? regime.error : file.error;
  if (!error.empty()) {
    QMessageBox::warning(this, "Choose Regime", fromLatin1(error));
    return false;
  }
  regime_ = std::move(regime);
  plan_.regime = &regime_;
  regimeName_->setText(QString::fromStdString(name));
  updateButtons();
  return true;
}

void ForestFrame::run() {
  if (running() || (plan_.regime == nullptr && !standsOwnRegimes_)) return;
  cancelFlag_ = false;
  shownPercent_ = -1;
  progress_->setValue(0);
  stands_->setOutcomes({});
  years_->setYears({});
  chart_->setYears({});
  summary_->clear();
  forest::ForestOptions options;
  options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  options.cancel = &cancelFlag_;
  options.progress = [this](std::size_t done, std::size_t total) {
    int percent = static_cast<int>(done * 100 / std::max<std::size_t>(total, 1));
    if (shownPercent_.exchange(percent) == percent && done != total) return;
    QMetaObject::invokeMethod(
        this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
  };
  worker_ = std::thread([this, options] {
    Collector collector(checked_.stands.size());
    bool finished = forest::runForest(checked_, plan_, options, collector);
    auto outcome = std::make_shared<Outcome>();
    outcome->stands = std::move(collector.stands);
    outcome->years = collector.totals.years();
    outcome->ran = collector.ran;
    outcome->failed = collector.failed;
    outcome->ranThrough = collector.totals.stands();
    outcome->acres = collector.totals.acres();
    outcome->cancelled = !finished;
    QMetaObject::invokeMethod(
        this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
  });
  updateButtons();
}

void ForestFrame::cancel() {
  cancelFlag_ = true;
}

void ForestFrame::stop() {
  cancelFlag_ = true;
  if (worker_.joinable()) worker_.join();
}

void ForestFrame::showProgress(std::size_t done, std::size_t total) {
  progress_->setValue(static_cast<int>(done * 1000 / std::max<std::size_t>(total, 1)));
  summary_->setText(QString("%1 of %2 stands").arg(done).arg(total));
}

void ForestFrame::finish(const std::shared_ptr<Outcome>& outcome) {
  if (worker_.joinable()) worker_.join();
  stands_->setOutcomes(std::move(outcome->stands));
  years_->setYears(outcome->years);
  chart_->setYears(std::move(outcome->years));
  summary_->setText(QString("%1%2 stands ran, %3 failed; %4 ran through on %5 acres")
                        .arg(outcome->cancelled ? "Cancelled: " : "")
                        .arg(outcome->ran)
                        .arg(outcome->failed)
                        .arg(outcome->ranThrough)
                        .arg(outcome->acres, 0, 'f', 1));
  if (!outcome->cancelled) progress_->setValue(progress_->maximum());
  updateButtons();
  Q_EMIT runFinished();
}

void ForestFrame::updateButtons() {
  bool busy = running();
  choose_->setEnabled(!busy);
  run_->setEnabled(!busy && (plan_.regime != nullptr || standsOwnRegimes_));
  cancel_->setEnabled(busy);
}

void ForestFrame::openStand(int index) {
  if (running() || index < 0 || index >= static_cast<int>(checked_.stands.size())) return;
  const forest::StandEntry& entry = checked_.stands[static_cast<std::size_t>(index)];
  forest::StandDocument document;
  forest::StandResult result = forest::runStand(entry, plan_, &document);
  QString messages = fromLatin1(result.messages).trimmed();
  if (result.script.empty()) {
    QMessageBox::information(this, "Stand " + QString::fromStdString(entry.id), messages);
    return;
  }
  if (!result.ok) {
    QMessageBox::information(this, "Stand " + QString::fromStdString(entry.id),
                             "The regime stopped at a step:\n" + messages);
  }
  opener_(std::move(document.content));
}

void ForestFrame::closeEvent(QCloseEvent* event) {
  stop();
  QMdiSubWindow::closeEvent(event);
}

ForestFrame* openInventoryFile(QWidget* parent, QMdiArea& area, const QString& name,
                               ForestFrame::DocumentOpener opener) {
  forest::LoadedInventory loaded = forest::loadInventory(name.toStdString());
  forest::CheckedInventory checked;
  if (loaded.error.empty()) checked = forest::checkInventory(loaded.inventory);
  std::string error = loaded.error.empty() ? checked.error : loaded.error;
  if (!error.empty()) {
    QMessageBox::warning(parent, "Open Inventory", QString::fromStdString(error));
    return nullptr;
  }
  auto* frame = new ForestFrame(std::move(loaded), std::move(checked), std::move(opener));
  area.addSubWindow(frame);
  frame->showMaximized();
  area.setActiveSubWindow(frame);
  return frame;
}

ForestFrame* openInventoryWindow(QWidget* parent, QMdiArea& area,
                                 ForestFrame::DocumentOpener opener) {
  QString path = QFileDialog::getOpenFileName(
      parent, "Open Inventory", QString(),
      "Inventories (*.csv *.sqlite *.sqlite3 *.db *.gpkg);;All Files (*)");
  if (path.isEmpty()) return nullptr;
  std::vector<std::string> tables = forest::inventoryTables(path.toStdString());
  QString name = path;
  if (tables.size() > 1) {
    QStringList items;
    for (const std::string& table : tables) items << QString::fromStdString(table);
    bool chosen = false;
    QString table = QInputDialog::getItem(parent, "Open Inventory", "The table of stands:", items,
                                          0, false, &chosen);
    if (!chosen) return nullptr;
    name += ":" + table;
  }
  return openInventoryFile(parent, area, name, std::move(opener));
}

}  // namespace keldovar
