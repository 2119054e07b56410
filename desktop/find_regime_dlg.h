// Stand > Find Best Regime: the search space in one dialog, the search on a worker thread with
// its progress and Cancel, the best regimes listed and the best of each rotation drawn.
#pragma once

#include <QDialog>
#include <QPointF>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "desktop/dialogs/checked_dialog.h"
#include "document/document_settings.h"
#include "econ/regime_search.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace keldovar {

// The score of the best regime of each rotation against the rotation age, so that the forester
// sees how flat the optimum is.
class RotationPlot final : public QWidget {
  Q_OBJECT
 public:
  explicit RotationPlot(QWidget* parent = nullptr);
  // Points are (rotation age, value); `title` says what is drawn.
  void setPoints(std::vector<QPointF> points, const QString& title);
  const std::vector<QPointF>& points() const { return points_; }
  const QString& title() const { return title_; }
  QSize sizeHint() const override { return {360, 220}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QPointF> points_;
  QString title_;
};

// The regime's treatments as a reader names them: "Low to 90 at 12; Thinomatic to 70 at 18",
// the residual basal areas in m2/ha in metric.
std::string describeTreatments(const std::vector<Step>& steps, int startAge,
                               UnitSystem units = UnitSystem::Imperial);

class FindRegimeDlg final : public QDialog {
  Q_OBJECT
 public:
  // The search uses the document's financial values and merchantability limits.
  // At a positive carbon price every regime is valued with its carbon payments.
  // In metric the new plantation's fields are typed in metric, as its dialog's are.
  FindRegimeDlg(QWidget* parent, const DocumentSettings& settings, const CarbonValues& carbon = {},
                UnitSystem units = UnitSystem::Imperial);
  ~FindRegimeDlg() override;

  // The space the fields describe; an empty `error` when they describe one.
  econ::SearchSpace space(std::string& error) const;
  void startSearch();
  void cancelSearch();
  bool searching() const { return worker_.joinable(); }
  const econ::SearchResult& result() const { return result_; }
  // The chosen regime from an empty document: the start, then its treatments and harvest.
  std::vector<Step> chosenSteps() const;
  // The regimes to open: the chosen one, or after Compare Top the best few, each as
  // chosenSteps gives it.
  std::vector<std::vector<Step>> regimesToOpen() const;
  // How many of the best regimes Compare Top opens.
  static constexpr std::size_t kCompared = 3;

 Q_SIGNALS:
  void searchFinished();

 private:
  // The steps of the regime ranked `rank` (from 0) from an empty document.
  std::vector<Step> stepsOf(std::size_t rank) const;
  QWidget* buildSpaceFields();
  QWidget* buildStartFields();
  QWidget* buildThinningFields();
  QWidget* buildResults();
  bool startAccepted();
  void finish(const std::shared_ptr<econ::SearchResult>& result);
  // A field of the space changed: the bar no longer tells of a search of these fields.
  void spaceChanged();
  void watchFields();
  econ::Management managementField() const;
  void showResults();
  void updateButtons();
  void reject() override;

  DocumentSettings settings_;
  CarbonValues carbon_;
  UnitSystem units_;
  TableEdits<PlantationTexts, PlantationField, 3> start_{kPlantationFields};
  QComboBox* control_ = nullptr;
  QSpinBox* rotationFrom_ = nullptr;
  QSpinBox* rotationTo_ = nullptr;
  std::vector<QCheckBox*> thinningCounts_;
  QSpinBox* thinFrom_ = nullptr;
  QSpinBox* thinTo_ = nullptr;
  std::vector<QCheckBox*> methods_;  // row, low, row and low, Thinomatic
  QLineEdit* rowPercents_ = nullptr;
  QSpinBox* baFrom_ = nullptr;
  QSpinBox* baTo_ = nullptr;
  QSpinBox* baStep_ = nullptr;
  QLineEdit* fertilizeAges_ = nullptr;
  QComboBox* management_ = nullptr;
  QSpinBox* best_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* search_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* compareTop_ = nullptr;
  bool comparing_ = false;
  QTableWidget* table_ = nullptr;
  RotationPlot* plot_ = nullptr;

  econ::SearchSpace searched_;
  econ::SearchResult result_;
  std::atomic<bool> cancelFlag_{false};
  std::thread worker_;
};

}  // namespace keldovar
