// The Find Best Regime dialog and its rotation plot. The search runs on a thread of its own; its
// progress and its result come back to the dialog as queued calls, so the window stays live.
#include "desktop/find_regime_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "desktop/dialogs/message_box.h"
#include "engine/report_text.h"
#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

using keldovar::Step;
using keldovar::StepKind;

QSpinBox* spin(int value, int minimum, int maximum, const char* name) {
  auto* box = new QSpinBox;
  box->setRange(minimum, maximum);
  box->setValue(value);
  box->setObjectName(name);
  return box;
}

QWidget* range(QSpinBox* from, QSpinBox* to, QSpinBox* step = nullptr) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(from);
  layout->addWidget(new QLabel(QStringLiteral("to")));
  layout->addWidget(to);
  if (step != nullptr) {
    layout->addWidget(new QLabel(QStringLiteral("by")));
    layout->addWidget(step);
  }
  return row;
}

std::vector<int> ages(const QSpinBox* from, const QSpinBox* to, int step = 1) {
  std::vector<int> list;
  for (int v = from->value(); v <= to->value(); v += step) list.push_back(v);
  return list;
}

// "12, 20" as numbers; nothing when a part is not a whole number.
std::optional<std::vector<int>> numbers(const QString& text) {
  std::vector<int> list;
  for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    bool ok = false;
    int value = part.trimmed().toInt(&ok);
    if (!ok || value < 0) return std::nullopt;
    list.push_back(value);
  }
  return list;
}

QString money(const std::optional<double>& value) {
  return value ? fromLatin1(formatText("%.2f", *value)) : QStringLiteral("none");
}

QString percent(const std::optional<double>& rate) {
  return rate ? fromLatin1(formatText("%.2f %%", *rate * 100)) : QStringLiteral("none");
}

std::string treatment(const Step& step, UnitSystem units) {
  std::string ba = step.fields.at("ba");
  if (units == UnitSystem::Metric) {
    ba = formatText("%.1f", toMetric(Quantity::BasalArea, readDecimalText(ba)));
  }
  switch (step.kind) {
    case StepKind::ThinRow:
      return "Row to " + ba;
    case StepKind::ThinLow:
      return "Low to " + ba;
    case StepKind::ThinRowLow:
      return "Row " + step.fields.at("row") + " % and low to " + ba;
    default:
      return "Thinomatic to " + ba;
  }
}

}  // namespace

std::string describeTreatments(const std::vector<Step>& steps, int startAge, UnitSystem units) {
  std::string text;
  int age = startAge;
  for (const Step& step : steps) {
    std::string part;
    if (step.kind == StepKind::Grow) {
      age = std::stoi(step.fields.at("age"));
    } else if (step.kind == StepKind::Fertilize) {
      part = "Fertilize at " + std::to_string(age);
    } else if (step.kind != StepKind::Harvest) {
      part = treatment(step, units) + " at " + std::to_string(age);
    }
    if (!part.empty()) text += (text.empty() ? "" : "; ") + part;
  }
  return text.empty() ? "none" : text;
}

RotationPlot::RotationPlot(QWidget* parent) : QWidget(parent) {
  setObjectName("RotationPlot");
  setMinimumSize(240, 160);
}

void RotationPlot::setPoints(std::vector<QPointF> points, const QString& title) {
  points_ = std::move(points);
  title_ = title;
  update();
}

void RotationPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  painter.setPen(palette().text().color());
  QFontMetrics metrics(font());
  int left = metrics.horizontalAdvance(QStringLiteral("-00000.00")) + 8;
  int top = 3 * metrics.height();  // the title takes two lines
  QRectF area(left, top, width() - left - 16, height() - top - 2 * metrics.height() - 8);
  painter.drawRect(area);
  painter.drawText(QRectF(0, height() - metrics.height() - 2, width(), metrics.height()),
                   Qt::AlignCenter, QStringLiteral("Rotation age (years)"));
  painter.drawText(QRectF(4, 2, width() - 8, 2 * metrics.height()),
                   Qt::AlignCenter | Qt::TextWordWrap, title_);
  if (points_.empty() || area.width() < 10 || area.height() < 10) return;
  auto [xmin, xmax] = std::minmax_element(points_.begin(), points_.end(),
                                          [](QPointF a, QPointF b) { return a.x() < b.x(); });
  auto [ymin, ymax] = std::minmax_element(points_.begin(), points_.end(),
                                          [](QPointF a, QPointF b) { return a.y() < b.y(); });
  double x0 = xmin->x(), x1 = std::max(xmax->x(), x0 + 1);
  double y0 = ymin->y(), y1 = std::max(ymax->y(), y0 + 1);
  auto at = [&](QPointF p) {
    return QPointF(area.left() + (p.x() - x0) / (x1 - x0) * area.width(),
                   area.bottom() - (p.y() - y0) / (y1 - y0) * area.height());
  };
  for (double y : {y0, y1}) {
    painter.drawText(QRectF(0, at({x0, y}).y() - 8, left - 4, 16),
                     Qt::AlignRight | Qt::AlignVCenter, fromLatin1(formatText("%.2f", y)));
  }
  // Every fifth year is marked; the first and last ages are labelled as well.
  for (double x = x0; x <= x1; x += 1) {
    bool labelled = x == x0 || x == x1 || (std::fmod(x, 5.0) == 0 && x - x0 > 2 && x1 - x > 2);
    if (!labelled) continue;
    painter.drawLine(at({x, y0}), at({x, y0}) - QPointF(0, 4));
    painter.drawText(QRectF(at({x, y0}).x() - 20, area.bottom() + 2, 40, metrics.height()),
                     Qt::AlignCenter, QString::number(x));
  }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(palette().highlight().color(), 2));
  for (std::size_t i = 1; i < points_.size(); ++i)
    painter.drawLine(at(points_[i - 1]), at(points_[i]));
  painter.setBrush(palette().highlight());
  for (QPointF p : points_) painter.drawEllipse(at(p), 3, 3);
}

FindRegimeDlg::FindRegimeDlg(QWidget* parent, const DocumentSettings& settings,
                             const CarbonValues& carbon, UnitSystem units)
    : QDialog(parent), settings_(settings), carbon_(carbon), units_(units) {
  setObjectName("FindRegimeDlg");
  setWindowTitle(carbon.price > 0
                     ? QStringLiteral("Find Best Regime (timber and carbon at $%1 a tonne)")
                           .arg(carbon.price, 0, 'f', 2)
                     : QStringLiteral("Find Best Regime"));
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(buildSpaceFields());
  layout->addWidget(buildResults(), 1);
  resize(1180, 640);
  watchFields();
  showResults();
  updateButtons();
}

void FindRegimeDlg::watchFields() {
  for (auto* edit : findChildren<QLineEdit*>())
    connect(edit, &QLineEdit::textEdited, this, &FindRegimeDlg::spaceChanged);
  for (auto* box : findChildren<QSpinBox*>())
    connect(box, &QSpinBox::valueChanged, this, &FindRegimeDlg::spaceChanged);
  for (auto* box : findChildren<QCheckBox*>())
    connect(box, &QCheckBox::toggled, this, &FindRegimeDlg::spaceChanged);
  for (auto* box : findChildren<QComboBox*>())
    connect(box, &QComboBox::currentIndexChanged, this, &FindRegimeDlg::spaceChanged);
}

econ::Management FindRegimeDlg::managementField() const {
  return management_->currentIndex() == 0 ? econ::Management::Pulpwood
                                          : econ::Management::Sawtimber;
}

void FindRegimeDlg::spaceChanged() {
  if (!searching()) progress_->setValue(0);
}

FindRegimeDlg::~FindRegimeDlg() {
  cancelFlag_ = true;
  if (worker_.joinable()) worker_.join();
}

// The new plantation's fields are the Initialize a New Plantation dialog's, with its labels,
// ranges and checks.
QWidget* FindRegimeDlg::buildStartFields() {
  auto* group = new QGroupBox(QStringLiteral("New plantation"));
  auto* form = new QFormLayout(group);
  using F = PlantationField;
  PlantationTexts opening{"65", "600", "85", VegetationControl::HerbAndWoody};
  for (F field : {F::SiteIndex, F::Trees, F::Survival}) {
    QLineEdit* edit = start_.make(group, field, opening, units_);
    const DialogField& spec = start_.spec(field);
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    if (typedConverted(spec, units_)) row->addWidget(makeStoredHint(group, edit, spec, units_));
    form->addRow(fromLatin1(fieldLabel(spec, units_)), row);
  }
  control_ = new QComboBox;
  control_->setObjectName(QString::fromLatin1(kControlChoice.key));
  for (const Choice& choice : kVegetationControls) {
    control_->addItem(QString::fromLatin1(choice.label), QString::fromLatin1(choice.word));
  }
  control_->setCurrentIndex(static_cast<int>(opening.control));
  form->addRow(QStringLiteral("Vegetation control"), control_);
  return group;
}

QWidget* FindRegimeDlg::buildThinningFields() {
  auto* group = new QGroupBox(QStringLiteral("Thinnings"));
  auto* form = new QFormLayout(group);
  auto* counts = new QWidget;
  auto* countRow = new QHBoxLayout(counts);
  countRow->setContentsMargins(0, 0, 0, 0);
  for (int n = 0; n <= econ::kMaxThinnings; ++n) {
    auto* box = new QCheckBox(QString::number(n));
    box->setObjectName(QStringLiteral("thinnings%1").arg(n));
    box->setChecked(n < 2);
    countRow->addWidget(box);
    thinningCounts_.push_back(box);
  }
  form->addRow(QStringLiteral("Number of thinnings"), counts);
  thinFrom_ = spin(12, 1, 200, "thinFrom");
  thinTo_ = spin(25, 1, 200, "thinTo");
  form->addRow(QStringLiteral("Thinning ages"), range(thinFrom_, thinTo_));
  auto* methods = new QWidget;
  auto* methodRow = new QHBoxLayout(methods);
  methodRow->setContentsMargins(0, 0, 0, 0);
  for (const char* name : {"Row", "Low", "Row and low", "Thinomatic"}) {
    auto* box = new QCheckBox(QString::fromLatin1(name));
    box->setObjectName(name);
    box->setChecked(true);
    methodRow->addWidget(box);
    methods_.push_back(box);
  }
  form->addRow(QStringLiteral("Methods"), methods);
  rowPercents_ = new QLineEdit(QStringLiteral("33"));
  rowPercents_->setObjectName("rowPercents");
  form->addRow(QStringLiteral("Row percents (row and low)"), rowPercents_);
  baFrom_ = spin(50, 1, 999, "baFrom");
  baTo_ = spin(120, 1, 999, "baTo");
  baStep_ = spin(5, 1, 999, "baStep");
  // The search steps through whole square feet per acre, in either unit system.
  QString residual = QStringLiteral("Residual basal area");
  if (units_ == UnitSystem::Metric) residual += QStringLiteral(" (sq ft/ac)");
  form->addRow(residual, range(baFrom_, baTo_, baStep_));
  return group;
}

QWidget* FindRegimeDlg::buildSpaceFields() {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->addWidget(buildStartFields());
  auto* regime = new QGroupBox(QStringLiteral("Regimes"));
  auto* form = new QFormLayout(regime);
  rotationFrom_ = spin(20, 1, 200, "rotationFrom");
  rotationTo_ = spin(40, 1, 200, "rotationTo");
  form->addRow(QStringLiteral("Rotation ages"), range(rotationFrom_, rotationTo_));
  fertilizeAges_ = new QLineEdit;
  fertilizeAges_->setObjectName("fertilizeAges");
  fertilizeAges_->setPlaceholderText(QStringLiteral("none, or ages such as 12, 20"));
  form->addRow(QStringLiteral("Fertilize at ages"), fertilizeAges_);
  management_ = new QComboBox;
  management_->setObjectName("management");
  management_->addItems({QStringLiteral("Pulpwood"), QStringLiteral("Sawtimber and pulpwood")});
  management_->setCurrentIndex(1);
  form->addRow(QStringLiteral("Management"), management_);
  best_ = spin(10, 1, econ::kMaxBest, "best");
  form->addRow(QStringLiteral("Regimes listed"), best_);
  layout->addWidget(regime);
  layout->addWidget(buildThinningFields());
  layout->addStretch();
  return column;
}

QWidget* FindRegimeDlg::buildResults() {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  auto* buttons = new QHBoxLayout;
  search_ = new QPushButton(QStringLiteral("&Search"));
  cancel_ = new QPushButton(QStringLiteral("Cancel"));
  open_ = new QPushButton(QStringLiteral("&Open"));
  compareTop_ = new QPushButton(QStringLiteral("Com&pare Top 3"));
  compareTop_->setObjectName(QStringLiteral("compareTop"));
  auto* close = new QPushButton(QStringLiteral("Close"));
  search_->setObjectName("search");
  cancel_->setObjectName("cancel");
  open_->setObjectName("open");
  search_->setDefault(true);
  progress_ = new QProgressBar;
  progress_->setRange(0, 1000);
  progress_->setValue(0);
  buttons->addWidget(search_);
  buttons->addWidget(progress_, 1);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  summary_ = new QLabel;
  summary_->setObjectName("summary");
  layout->addWidget(summary_);
  table_ = new QTableWidget(0, 7);
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("Rotation"), QStringLiteral("Thinnings"), QStringLiteral("NPV"),
       QStringLiteral("LEV"), QStringLiteral("IRR"),
       units_ == UnitSystem::Metric ? QStringLiteral("Pulp t/ha") : QStringLiteral("Pulp tons"),
       units_ == UnitSystem::Metric ? QStringLiteral("Saw t/ha") : QStringLiteral("Saw tons")});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  table_->setMinimumWidth(620);
  layout->addWidget(table_, 1);
  plot_ = new RotationPlot;
  layout->addWidget(plot_, 1);
  auto* closing = new QHBoxLayout;
  closing->addStretch();
  closing->addWidget(compareTop_);
  closing->addWidget(open_);
  closing->addWidget(close);
  layout->addLayout(closing);
  connect(search_, &QPushButton::clicked, this, &FindRegimeDlg::startSearch);
  connect(cancel_, &QPushButton::clicked, this, &FindRegimeDlg::cancelSearch);
  connect(open_, &QPushButton::clicked, this, &QDialog::accept);
  connect(compareTop_, &QPushButton::clicked, this, [this] {
    comparing_ = true;
    accept();
  });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(table_, &QTableWidget::itemSelectionChanged, this, &FindRegimeDlg::updateButtons);
  connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
  return column;
}

econ::SearchSpace FindRegimeDlg::space(std::string& error) const {
  econ::SearchSpace space;
  Step plantation{StepKind::Plantation, {}};
  for (const auto& row : kPlantationFields) {
    std::string typed = toLatin1(start_[row.field]->text().trimmed());
    plantation.fields[row.spec.key] = storedText(row.spec, typed, units_);
  }
  plantation.fields[kControlChoice.key] = toLatin1(control_->currentData().toString());
  space.start = {plantation};
  for (const Step& step : settingsSteps(settings_)) space.start.push_back(step);
  space.rotations = ages(rotationFrom_, rotationTo_);
  space.thinningCounts.clear();
  for (int n = 0; n <= econ::kMaxThinnings; ++n) {
    if (thinningCounts_[static_cast<std::size_t>(n)]->isChecked())
      space.thinningCounts.push_back(n);
  }
  space.thinAges = ages(thinFrom_, thinTo_);
  space.residualBA = ages(baFrom_, baTo_, baStep_->value());
  std::optional<std::vector<int>> rows = numbers(rowPercents_->text());
  std::optional<std::vector<int>> fertilize = numbers(fertilizeAges_->text());
  const econ::ThinMethod kinds[] = {econ::ThinMethod::Row, econ::ThinMethod::Low,
                                    econ::ThinMethod::RowLow, econ::ThinMethod::Thinomatic};
  for (std::size_t i = 0; i < methods_.size(); ++i) {
    if (!methods_[i]->isChecked()) continue;
    if (kinds[i] != econ::ThinMethod::RowLow) space.methods.push_back({kinds[i], 0});
    for (int p : kinds[i] == econ::ThinMethod::RowLow && rows ? *rows : std::vector<int>{})
      space.methods.push_back({kinds[i], p});
  }
  space.fertilizeAges = fertilize.value_or(std::vector<int>{});
  space.management = managementField();
  space.best = best_->value();
  space.carbon = carbon_;
  if (!rows) {
    error = "Row percents: give whole numbers separated by commas.";
  } else if (!fertilize) {
    error = "Fertilize at ages: give whole numbers separated by commas, or nothing.";
  } else if (space.rotations.empty() || (space.thinAges.empty() || space.residualBA.empty())) {
    error = "Each range must run from a smaller number to a larger one.";
  } else {
    error = econ::checkSpace(space);
  }
  return space;
}

// A start the plantation dialog would refuse is told as that dialog tells it, on its field.
bool FindRegimeDlg::startAccepted() {
  PlantationTexts texts = start_.read({});
  texts.control = static_cast<VegetationControl>(control_->currentIndex());
  Checked<PlantationEntry, PlantationField> checked =
      checkTyped<PlantationEntry>(units_, kPlantationFields, texts, checkPlantation);
  if (checked.ok()) return true;
  const CheckFailure<PlantationField>& failure = checked.failure();
  showMessageBox(this, failure.message());
  if (failure.focus) {
    QLineEdit* field = start_[*failure.focus];
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
  }
  return false;
}

void FindRegimeDlg::startSearch() {
  if (searching() || !startAccepted()) return;
  std::string error;
  econ::SearchSpace space = this->space(error);
  if (!error.empty()) {
    QMessageBox::warning(this, QStringLiteral("Find Best Regime"), fromLatin1(error));
    return;
  }
  searched_ = space;
  result_ = {};
  cancelFlag_ = false;
  progress_->setValue(0);
  showResults();
  econ::SearchOptions options;
  options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  options.cancel = &cancelFlag_;
  options.progress = [this](double done) {
    // The threads report in the order they get to it, not always in the order of the work.
    QMetaObject::invokeMethod(
        this,
        [this, done] {
          progress_->setValue(std::max(progress_->value(), static_cast<int>(done * 1000)));
        },
        Qt::QueuedConnection);
  };
  worker_ = std::thread([this, space = std::move(space), options] {
    auto result = std::make_shared<econ::SearchResult>(econ::searchRegimes(space, options));
    QMetaObject::invokeMethod(
        this, [this, result] { finish(result); }, Qt::QueuedConnection);
  });
  updateButtons();
}

void FindRegimeDlg::cancelSearch() {
  cancelFlag_ = true;
}

void FindRegimeDlg::finish(const std::shared_ptr<econ::SearchResult>& result) {
  if (worker_.joinable()) worker_.join();
  result_ = *result;
  if (!result_.cancelled && result_.error.empty()) progress_->setValue(progress_->maximum());
  showResults();
  updateButtons();
  if (!result_.error.empty()) {
    QMessageBox::warning(this, QStringLiteral("Find Best Regime"), fromLatin1(result_.error));
  }
  Q_EMIT searchFinished();
}

void FindRegimeDlg::showResults() {
  table_->setRowCount(static_cast<int>(result_.best.size()));
  int startAge = 0;  // a new plantation starts at age 0
  auto measures = [this](const econ::RankedRegime& r) -> const econ::Measures& {
    return result_.management == econ::Management::Pulpwood ? r.pulpwood : r.sawtimber;
  };
  // Per hectare in metric; the rate is a rate in either.
  auto perArea = [this](Quantity quantity, std::optional<double> value) -> std::optional<double> {
    if (value) value = shownValue(units_, quantity, *value);
    return value;
  };
  auto tons = [&perArea](float value) {
    return fromLatin1(
        formatText("%.1f", *perArea(Quantity::MassPerArea, static_cast<double>(value))));
  };
  for (std::size_t i = 0; i < result_.best.size(); ++i) {
    const econ::RankedRegime& r = result_.best[i];
    const econ::Measures& m = measures(r);
    QStringList cells = {QString::number(r.rotation),
                         fromLatin1(describeTreatments(r.steps, startAge, units_)),
                         money(perArea(Quantity::MoneyPerArea, static_cast<double>(m.npv))),
                         money(perArea(Quantity::MoneyPerArea, m.lev)),
                         percent(m.irr),
                         tons(r.harvestPulpTons),
                         tons(r.harvestSawTons)};
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c > 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(static_cast<int>(i), c, item);
    }
  }
  if (!result_.best.empty()) table_->selectRow(0);
  summary_->setText(
      result_.candidates == 0 && !result_.cancelled
          ? QString()
          : QStringLiteral("%1%2 regimes: %3 valued, %4 refused by the growth model")
                .arg(result_.cancelled ? QStringLiteral("Cancelled after ") : QStringLiteral(""))
                .arg(result_.candidates)
                .arg(result_.valued)
                .arg(result_.refused));
  std::vector<QPointF> points;
  for (const econ::RankedRegime& r : result_.bestByRotation)
    points.emplace_back(r.rotation, *perArea(Quantity::MoneyPerArea, r.score));
  // The dialog searches a new plantation, whose regimes end at different ages: LEV, the value
  // of bare land under each regime repeated forever, is what compares them, before and after a
  // search alike.
  econ::Management ranked =
      searching() || result_.candidates > 0 ? searched_.management : managementField();
  bool pulpwood = ranked == econ::Management::Pulpwood;
  plot_->setPoints(
      std::move(points),
      QStringLiteral("LEV ($/%1, %2) of the best regime of each rotation. LEV ranks a "
                     "new plantation's regimes: it compares rotations of different lengths.")
          .arg(units_ == UnitSystem::Metric ? QStringLiteral("hectare") : QStringLiteral("acre"))
          .arg(pulpwood ? QStringLiteral("pulpwood") : QStringLiteral("sawtimber and pulpwood")));
}

void FindRegimeDlg::updateButtons() {
  bool busy = searching();
  search_->setEnabled(!busy);
  cancel_->setEnabled(busy);
  open_->setEnabled(!busy && table_->currentRow() >= 0 && !result_.best.empty());
  compareTop_->setEnabled(!busy && result_.best.size() > 1);
}

void FindRegimeDlg::reject() {
  cancelFlag_ = true;
  if (worker_.joinable()) worker_.join();
  QDialog::reject();
}

std::vector<Step> FindRegimeDlg::chosenSteps() const {
  int row = table_->currentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= result_.best.size()) return {};
  return stepsOf(static_cast<std::size_t>(row));
}

std::vector<Step> FindRegimeDlg::stepsOf(std::size_t rank) const {
  std::vector<Step> steps = searched_.start;
  const std::vector<Step>& regime = result_.best[rank].steps;
  steps.insert(steps.end(), regime.begin(), regime.end());
  return steps;
}

std::vector<std::vector<Step>> FindRegimeDlg::regimesToOpen() const {
  if (!comparing_) {
    std::vector<std::vector<Step>> chosen;
    if (std::vector<Step> steps = chosenSteps(); !steps.empty()) chosen.push_back(steps);
    return chosen;
  }
  std::vector<std::vector<Step>> out;
  for (std::size_t rank = 0; rank < std::min(kCompared, result_.best.size()); ++rank) {
    out.push_back(stepsOf(rank));
  }
  return out;
}

}  // namespace keldovar
