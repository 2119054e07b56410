// The Risk page: its fields become a risk model checked by the same function as the batch
// runner's options, and the paths run on every core once the typing pauses.
#include "desktop/risk_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <charconv>
#include <thread>

#include "engine/report_text.h"
#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

// Long enough that the digits of one number come in one run.
constexpr int kPauseMs = 150;
constexpr int kHistogramBins = 40;

const char* const kFigureNames[] = {"Mean",
                                    "Standard deviation",
                                    "P5",
                                    "P50 (median)",
                                    "P95",
                                    "Probability below 0",
                                    "Expected shortfall (worst 5 %)"};

QString share(double value) {
  return fromLatin1(formatText("%.1f %%", value * 100));
}

std::optional<double> number(const QLineEdit* field) {
  bool ok = false;
  double value = field->text().trimmed().toDouble(&ok);
  return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<std::uint64_t> wholeNumber(const QLineEdit* field) {
  std::string text = toLatin1(field->text().trimmed());
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

QTableWidgetItem* cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

RiskPage::RiskPage(QWidget* parent) : QWidget(parent) {
  setObjectName("riskPage");
  econ::RiskModel defaults;
  auto* layout = new QHBoxLayout(this);
  auto* fields = new QVBoxLayout;
  auto* prices = new QGroupBox(QStringLiteral("Prices"));
  auto* priceForm = new QFormLayout(prices);
  drift_ = addField(priceForm, "Drift (% a year)", "drift", defaults.prices.drift);
  volatility_ =
      addField(priceForm, "Volatility (% a year)", "volatility", defaults.prices.volatility);
  reversion_ =
      addField(priceForm, "Mean reversion (a year)", "reversion", defaults.prices.reversion);
  correlation_ = addField(priceForm, "Pulpwood-sawtimber correlation", "correlation",
                          defaults.prices.correlation);
  auto* loss = new QGroupBox(QStringLiteral("Catastrophic loss"));
  auto* lossForm = new QFormLayout(loss);
  lossProbability_ =
      addField(lossForm, "Probability (% a year)", "lossProbability", defaults.loss.probability);
  salvage_ = addField(lossForm, "Salvaged (% of value)", "salvage", defaults.loss.salvage);
  auto* run = new QGroupBox(QStringLiteral("Simulation"));
  auto* runForm = new QFormLayout(run);
  paths_ = addField(runForm, "Paths", "paths", static_cast<double>(defaults.paths));
  seed_ = addField(runForm, "Seed", "seed", static_cast<double>(defaults.seed));
  histogramOf_ = new QComboBox;
  histogramOf_->setObjectName("histogramOf");
  histogramOf_->addItems({QStringLiteral("NPV"), QStringLiteral("LEV")});
  runForm->addRow(QStringLiteral("Histogram of"), histogramOf_);
  connect(histogramOf_, &QComboBox::currentIndexChanged, this, &RiskPage::showHistogram);
  for (QGroupBox* group : {prices, loss, run}) fields->addWidget(group);
  fields->addStretch();
  layout->addLayout(fields);

  auto* results = new QVBoxLayout;
  status_ = new QLabel;
  status_->setObjectName("riskStatus");
  status_->setWordWrap(true);
  results->addWidget(status_);
  figures_ = new QTableWidget(static_cast<int>(std::size(kFigureNames)), 2);
  figures_->setObjectName("riskFigures");
  for (int row = 0; row < figures_->rowCount(); ++row) {
    figures_->setVerticalHeaderItem(row, new QTableWidgetItem(fromLatin1(kFigureNames[row])));
  }
  figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  figures_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  figures_->setFixedHeight(figures_->verticalHeader()->length() +
                           figures_->horizontalHeader()->height() + 4);
  results->addWidget(figures_);
  histogram_ = new HistogramChart;
  results->addWidget(histogram_, 1);
  layout->addLayout(results, 1);

  setMoneyStyle(shown_);
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, &RiskPage::runPaths);
}

QLineEdit* RiskPage::addField(QFormLayout* form, const char* label, const char* name,
                              double value) {
  auto* field = new QLineEdit(fromLatin1(formatText("%.10g", value)));
  field->setObjectName(name);
  form->addRow(fromLatin1(label), field);
  connect(field, &QLineEdit::textChanged, &pause_, qOverload<>(&QTimer::start));
  return field;
}

void RiskPage::setRegime(const std::optional<econ::RegimeQuantities>& regime,
                         const FinancialValues& values, econ::Management management) {
  regime_ = regime;
  values_ = values;
  management_ = management;
  pause_.start();
}

void RiskPage::setMoneyStyle(const ShownUnits& shown) {
  shown_ = shown;
  QString unit = moneyUnit(shown_, Quantity::MoneyPerArea);
  figures_->setHorizontalHeaderLabels(
      {QStringLiteral("NPV (%1)").arg(unit), QStringLiteral("LEV (%1)").arg(unit)});
  showSummary();
}

void RiskPage::clear(const QString& reason) {
  pause_.stop();
  regime_.reset();
  summary_.reset();
  status_->setText(reason);
  showSummary();
}

std::optional<econ::RiskModel> RiskPage::model() {
  econ::RiskModel model;
  model.management = management_;
  struct Field {
    QLineEdit* field;
    double* value;
    const char* name;
  };
  for (auto [field, value, name] :
       {Field{drift_, &model.prices.drift, "Drift"},
        Field{volatility_, &model.prices.volatility, "Volatility"},
        Field{reversion_, &model.prices.reversion, "Mean reversion"},
        Field{correlation_, &model.prices.correlation, "Correlation"},
        Field{lossProbability_, &model.loss.probability, "Probability of a loss"},
        Field{salvage_, &model.loss.salvage, "Salvaged"}}) {
    std::optional<double> read = number(field);
    if (!read) {
      fieldError_ = QStringLiteral("%1: Enter a number.").arg(fromLatin1(name));
      return std::nullopt;
    }
    *value = *read;
  }
  std::optional<std::uint64_t> paths = wholeNumber(paths_);
  std::optional<std::uint64_t> seed = wholeNumber(seed_);
  if (!paths || !seed) {
    fieldError_ = QStringLiteral("%1: Enter a whole number.")
                      .arg(paths ? QStringLiteral("Seed") : QStringLiteral("Paths"));
    return std::nullopt;
  }
  model.paths = static_cast<std::int64_t>(std::min<std::uint64_t>(*paths, econ::kMaxPaths + 1));
  model.seed = *seed;
  fieldError_ = fromLatin1(econ::checkRiskModel(model));
  if (!fieldError_.isEmpty()) return std::nullopt;
  return model;
}

void RiskPage::runPaths() {
  pause_.stop();
  std::optional<econ::RiskModel> checked = model();
  if (!regime_ || !checked) {
    summary_.reset();
    status_->setText(regime_ ? fieldError_ : QStringLiteral("The document holds no harvest."));
  } else {
    econ::RiskSimulator simulator(*regime_, values_, *checked);
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    summary_ = simulator.run(threads, kHistogramBins);
    status_->setText(
        QStringLiteral("%1 paths; the stand was lost before its harvest on %2 of them.")
            .arg(QLocale(QLocale::English).toString(static_cast<qlonglong>(summary_->paths)))
            .arg(share(summary_->lostShare)));
  }
  showSummary();
  Q_EMIT pathsRun();
}

void RiskPage::showSummary() {
  for (int column = 0; column < 2; ++column) {
    const econ::Distribution* d = nullptr;
    if (summary_) d = column == 0 ? &summary_->npv : (summary_->lev ? &*summary_->lev : nullptr);
    for (int row = 0; row < figures_->rowCount(); ++row) {
      QString text = QStringLiteral("-");
      if (d != nullptr) {
        const double values[] = {
            d->mean, d->sd, d->p5, d->p50, d->p95, d->lossProbability, d->expectedShortfall};
        text =
            row == 5 ? share(values[row]) : moneyText(shown_, Quantity::MoneyPerArea, values[row]);
      }
      figures_->setItem(row, column, cell(text));
    }
  }
  showHistogram();
}

void RiskPage::showHistogram() {
  bool lev = histogramOf_->currentIndex() == 1;
  const econ::Distribution* d = nullptr;
  if (summary_) d = lev ? (summary_->lev ? &*summary_->lev : nullptr) : &summary_->npv;
  if (d == nullptr) {
    histogram_->setHistogram({}, {}, QStringLiteral(""), QStringLiteral(""));
    return;
  }
  QString name = lev ? QStringLiteral("LEV") : QStringLiteral("NPV");
  auto shown = [this](double stored) { return shownMoney(shown_, Quantity::MoneyPerArea, stored); };
  econ::Histogram stored = lev ? summary_->levHistogram : summary_->npvHistogram;
  econ::Histogram histogram{shown(stored.low), shown(stored.width), std::move(stored.counts)};
  histogram_->setHistogram(
      std::move(histogram),
      {{QStringLiteral("P5"), shown(d->p5)},
       {QStringLiteral("P50"), shown(d->p50)},
       {QStringLiteral("P95"), shown(d->p95)}},
      name + QStringLiteral(" of the paths"),
      QStringLiteral("%1 (%2)").arg(name, moneyUnit(shown_, Quantity::MoneyPerArea)));
}

}  // namespace keldovar
