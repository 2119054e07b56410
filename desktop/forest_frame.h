// File > Open Inventory's window: the inventory's stands in a sortable table with their carried
// columns, the regime every stand runs, the run on a worker thread with its progress and
// Cancel, and the forest by year as a table and a chart. Double-clicking a stand opens its
// regime as a document.
#pragma once

#include <QMdiSubWindow>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "desktop/forest_chart.h"
#include "desktop/forest_models.h"
#include "document/document_content.h"
#include "forest/inventory_file.h"
#include "forest/manifest.h"
#include "forest/stand_plan.h"

class QLabel;
class QMdiArea;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace keldovar {

class ForestFrame final : public QMdiSubWindow {
  Q_OBJECT
 public:
  // Opens a document made elsewhere as a new, unsaved document window.
  using DocumentOpener = std::function<void(DocumentContent content)>;

  ForestFrame(forest::LoadedInventory loaded, forest::CheckedInventory checked,
              DocumentOpener opener, QWidget* parent = nullptr);
  ~ForestFrame() override;

  // The template every stand without a regime of its own runs; false after a message box
  // when it cannot be read or used.
  bool setRegime(const QString& path);
  void run();
  void cancel();
  bool running() const { return worker_.joinable(); }
  // Runs the stand at this place in the inventory again and opens its document.
  void openStand(int index);

  StandsModel& stands() { return *stands_; }
  YearsModel& years() { return *years_; }
  ForestChart& chart() { return *chart_; }

 Q_SIGNALS:
  void runFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Outcome;
  QWidget* buildControls();
  void chooseRegime();
  void finish(const std::shared_ptr<Outcome>& outcome);
  void showProgress(std::size_t done, std::size_t total);
  void updateButtons();
  void stop();

  forest::LoadedInventory loaded_;
  forest::CheckedInventory checked_;
  DocumentOpener opener_;
  forest::RegimeTemplate regime_;
  forest::Plan plan_;
  forest::Manifest manifest_;
  bool standsOwnRegimes_ = false;
  StandsModel* stands_ = nullptr;
  QSortFilterProxyModel* sorted_ = nullptr;
  YearsModel* years_ = nullptr;
  ForestChart* chart_ = nullptr;
  QTableView* standsView_ = nullptr;
  QLabel* regimeName_ = nullptr;
  QLabel* summary_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* choose_ = nullptr;
  QPushButton* run_ = nullptr;
  QPushButton* cancel_ = nullptr;
  std::atomic<bool> cancelFlag_{false};
  std::atomic<int> shownPercent_{-1};
  std::thread worker_;
};

// Reads the inventory named (FILE or FILE:TABLE) and opens its window in the area; nullptr
// after a message box when it cannot be used.
ForestFrame* openInventoryFile(QWidget* parent, QMdiArea& area, const QString& name,
                               ForestFrame::DocumentOpener opener);
// File > Open Inventory: the file from a file dialog, a SQLite file's table from a list when it
// holds several.
ForestFrame* openInventoryWindow(QWidget* parent, QMdiArea& area,
                                 ForestFrame::DocumentOpener opener);

}  // namespace keldovar
