// The Sensitivity and Risk window. The financial values are checked as the Financial Values
// dialog checks them; the sensitivity takes microseconds, so it follows every keystroke.
#include "desktop/sensitivity_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "desktop/units_option.h"
#include "engine/report_text.h"
#include "script/dialog_checks.h"
#include "script/field_units.h"
#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

using econ::Management;

constexpr int kFigureRows = 6;
struct FigureName {
  const char* name;
  Quantity quantity;
};
const FigureName kFigureNames[kFigureRows] = {
    {"NPV", Quantity::MoneyPerArea},
    {"LEV", Quantity::MoneyPerArea},
    {"IRR", Quantity::Plain},
    {"Harvest sawtimber at NPV 0", Quantity::MoneyPerMass},
    {"Harvest pulpwood at NPV 0", Quantity::MoneyPerMass},
    {"Establishment at LEV 0", Quantity::MoneyPerArea}};

template <typename T>
QString money(const ShownUnits& shown, Quantity quantity, const std::optional<T>& value) {
  return value ? moneyText(shown, quantity, static_cast<double>(*value)) : QStringLiteral("-");
}

ShownUnits documentUnits(CChildFrame& frame) {
  return frame.controller().options().units == UnitSystem::Metric ? localeMoney() : ShownUnits{};
}

QLineEdit* lineEdit(const QString& text, const char* name, int width = 0) {
  auto* field = new QLineEdit(text);
  field->setObjectName(name);
  if (width > 0) field->setMaximumWidth(width);
  return field;
}

std::optional<double> number(const QLineEdit* field) {
  bool ok = false;
  double value = field->text().trimmed().toDouble(&ok);
  return ok ? std::optional<double>(value) : std::nullopt;
}

}  // namespace

SensitivityWindow* SensitivityWindow::showFor(CChildFrame& frame, QWidget* owner) {
  SensitivityWindow* window = nullptr;
  for (auto* open : owner->findChildren<SensitivityWindow*>(Qt::FindDirectChildrenOnly)) {
    if (open->frame() == &frame) window = open;
  }
  if (window == nullptr) window = new SensitivityWindow(frame, owner);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

SensitivityWindow::SensitivityWindow(CChildFrame& frame, QWidget* owner)
    : QWidget(owner, Qt::Window), frame_(&frame), shown_(documentUnits(frame)) {
  setObjectName("SensitivityWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(buildFields());
  pages_ = new QTabWidget;
  pages_->setObjectName("pages");
  pages_->addTab(buildSensitivityPage(), QStringLiteral("&Sensitivity"));
  riskPage_ = new RiskPage;
  pages_->addTab(riskPage_, QStringLiteral("&Risk"));
  layout->addWidget(pages_, 1);
  showUnitLabels();
  connect(&frame, &CChildFrame::stateChanged, this, &SensitivityWindow::reloadRegime);
  connect(&frame, &QObject::destroyed, this, &QWidget::close);
  resize(1180, 720);
  reloadRegime();
}

QWidget* SensitivityWindow::buildFields() {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  auto* values = new QGroupBox(QStringLiteral("Financial values"));
  auto* valueForm = new QFormLayout(values);
  FinanceTexts texts = openFinance(frame_->controller().content().settings.financial);
  for (std::size_t i = 0; i < values_.size(); ++i) {
    std::string shown = shownText(kFinanceFields[i], texts.fields[i], shown_.units);
    values_[i] = lineEdit(fromLatin1(shown), kFinancialFields[i].scriptKey, 90);
    valueLabels_[i] = new QLabel;
    valueForm->addRow(valueLabels_[i], values_[i]);
    connect(values_[i], &QLineEdit::textChanged, this, &SensitivityWindow::recompute);
  }
  layout->addWidget(values);
  auto* ranges = new QGroupBox(QStringLiteral("Sensitivity"));
  auto* rangeForm = new QFormLayout(ranges);
  econ::SensitivityOptions defaults;
  auto* rates = new QHBoxLayout;
  ratesFrom_ = lineEdit(QString::number(defaults.rates.from), "ratesFrom", 50);
  ratesTo_ = lineEdit(QString::number(defaults.rates.to), "ratesTo", 50);
  ratesStep_ = lineEdit(QString::number(defaults.rates.step), "ratesStep", 50);
  for (QWidget* part :
       std::initializer_list<QWidget*>{ratesFrom_, new QLabel(QStringLiteral("to")), ratesTo_,
                                       new QLabel(QStringLiteral("by")), ratesStep_}) {
    rates->addWidget(part);
  }
  rangeForm->addRow(QStringLiteral("Rates (%)"), rates);
  swing_ = lineEdit(QString::number(defaults.swing), "swing", 50);
  rangeForm->addRow(QStringLiteral("Values moved by (%)"), swing_);
  management_ = new QComboBox;
  management_->setObjectName("management");
  management_->addItems({QStringLiteral("Pulpwood"), QStringLiteral("Sawtimber and pulpwood")});
  management_->setCurrentIndex(1);
  rangeForm->addRow(QStringLiteral("Management"), management_);
  for (QLineEdit* field : {ratesFrom_, ratesTo_, ratesStep_, swing_}) {
    connect(field, &QLineEdit::textChanged, this, &SensitivityWindow::recompute);
  }
  connect(management_, &QComboBox::currentIndexChanged, this, &SensitivityWindow::recompute);
  layout->addWidget(ranges);
  status_ = new QLabel;
  status_->setObjectName("status");
  status_->setWordWrap(true);
  layout->addWidget(status_);
  layout->addStretch();
  return column;
}

QWidget* SensitivityWindow::buildSensitivityPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* top = new QHBoxLayout;
  auto* figures = new QGroupBox(QStringLiteral("Value and break-even"));
  auto* grid = new QGridLayout(figures);
  grid->addWidget(new QLabel(QStringLiteral("<b>Pulpwood</b>")), 0, 1, Qt::AlignRight);
  grid->addWidget(new QLabel(QStringLiteral("<b>Saw+pulp</b>")), 0, 2, Qt::AlignRight);
  for (int row = 0; row < kFigureRows; ++row) {
    auto* name = new QLabel;
    name->setObjectName(QStringLiteral("figureName%1").arg(row));
    grid->addWidget(name, row + 1, 0);
    for (std::size_t m = 0; m < 2; ++m) {
      auto* figure = new QLabel(QStringLiteral("-"));
      figure->setObjectName(QStringLiteral("figure%1_%2").arg(row).arg(m));
      figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      figure->setTextInteractionFlags(Qt::TextSelectableByMouse);
      grid->addWidget(figure, row + 1, static_cast<int>(m) + 1);
      figures_[static_cast<std::size_t>(row)][m] = figure;
    }
  }
  top->addWidget(figures, 0, Qt::AlignTop);
  curve_ = new RateCurveChart;
  top->addWidget(curve_, 1);
  layout->addLayout(top, 1);
  tornado_ = new TornadoChart;
  layout->addWidget(tornado_, 1);
  return page;
}

QString SensitivityWindow::status() const {
  return status_->text();
}

void SensitivityWindow::showUnitLabels() {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    valueLabels_[i]->setText(QStringLiteral("%1 (%2)").arg(
        fromLatin1(econ::kValueNames[i]), moneyUnit(shown_, kFinanceFields[i].quantity)));
  }
  for (int row = 0; row < kFigureRows; ++row) {
    const FigureName& figure = kFigureNames[row];
    auto* name = findChild<QLabel*>(QStringLiteral("figureName%1").arg(row));
    name->setText(figure.quantity == Quantity::Plain
                      ? fromLatin1(figure.name)
                      : QStringLiteral("%1 (%2)").arg(fromLatin1(figure.name),
                                                      moneyUnit(shown_, figure.quantity)));
  }
  QString perArea = moneyUnit(shown_, Quantity::MoneyPerArea);
  curve_->setMoneyUnit(perArea);
  tornado_->setMoneyUnit(perArea);
  riskPage_->setMoneyStyle(shown_);
}

void SensitivityWindow::followUnits() {
  ShownUnits now = documentUnits(*frame_);
  if (now.units == shown_.units) return;
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const DialogField& field = kFinanceFields[i];
    std::string stored = storedText(field, toLatin1(values_[i]->text()), shown_.units);
    QSignalBlocker quiet(values_[i]);
    values_[i]->setText(fromLatin1(shownText(field, stored, now.units)));
  }
  shown_ = now;
  showUnitLabels();
  recompute();
}

void SensitivityWindow::reloadRegime() {
  if (frame_ == nullptr) return;
  followUnits();
  setWindowTitle(QStringLiteral("Sensitivity and Risk - ") + frame_->document().title());
  const ReportTable* harvest = econ::newestHarvest(frame_->controller().store());
  std::optional<econ::RegimeQuantities> regime;
  if (harvest != nullptr) regime = econ::harvestQuantities(*harvest);
  // The frame reports selections too: only a changed regime is valued again.
  if (regime == regime_ && sensitivity_) return;
  regime_ = std::move(regime);
  recompute();
}

std::optional<FinancialValues> SensitivityWindow::financialValues() {
  FinanceTexts texts;
  for (std::size_t i = 0; i < values_.size(); ++i) texts.fields[i] = toLatin1(values_[i]->text());
  Checked<FinanceEntry, FinanceField> checked = checkFinanceTyped(shown_.units, texts);
  if (checked.ok()) return checked.accepted().values;
  const CheckFailure<FinanceField>& failure = checked.failure();
  QString field = failure.focus
                      ? fromLatin1(econ::kValueNames[static_cast<std::size_t>(*failure.focus)])
                      : QString();
  status_->setText(field + QStringLiteral(": ") + fromLatin1(failure.text));
  return std::nullopt;
}

std::optional<econ::SensitivityOptions> SensitivityWindow::options() {
  econ::SensitivityOptions options;
  options.management =
      management_->currentIndex() == 0 ? Management::Pulpwood : Management::Sawtimber;
  std::optional<double> from = number(ratesFrom_);
  std::optional<double> to = number(ratesTo_);
  std::optional<double> step = number(ratesStep_);
  std::optional<double> swing = number(swing_);
  if (!from || !to || !step || !swing) {
    status_->setText(QStringLiteral("%1: Enter a number.")
                         .arg(swing ? QStringLiteral("Rates") : QStringLiteral("Values moved by")));
    return std::nullopt;
  }
  options.rates = {*from, *to, *step};
  options.swing = *swing;
  std::string error = econ::checkSensitivityOptions(options);
  if (error.empty()) return options;
  status_->setText(fromLatin1(error));
  return std::nullopt;
}

void SensitivityWindow::recompute() {
  std::optional<FinancialValues> values = financialValues();
  std::optional<econ::SensitivityOptions> checked = values ? options() : std::nullopt;
  if (!regime_)
    status_->setText(QStringLiteral("The document holds no harvest: harvest the stand first."));
  if (!values || !checked || !regime_) {
    sensitivity_.reset();
    clearCharts();
    riskPage_->clear(status_->text());
    return;
  }
  status_->clear();
  sensitivity_ = econ::sensitivityOf(*regime_, *values, *checked);
  showSensitivity(*values, checked->management);
  riskPage_->setRegime(regime_, *values, checked->management);
}

void SensitivityWindow::showSensitivity(const FinancialValues& values, Management management) {
  std::size_t m = econ::indexOf(management);
  auto perArea = [this](double stored) {
    return shownMoney(shown_, Quantity::MoneyPerArea, stored);
  };
  std::vector<QPointF> npv;
  std::vector<QPointF> lev;
  for (const econ::RatePoint& point : sensitivity_->curve) {
    npv.emplace_back(point.rate, perArea(static_cast<double>(point.npv[m])));
    if (point.lev[m]) lev.emplace_back(point.rate, perArea(*point.lev[m]));
  }
  std::optional<double> irr = sensitivity_->breakEven.irr[m];
  curve_->setCurve(std::move(npv), std::move(lev), static_cast<double>(values.interestRate),
                   irr ? std::optional<double>(*irr * 100) : std::nullopt);
  std::vector<TornadoRow> rows;
  for (const econ::TornadoBar& bar : sensitivity_->tornado) {
    Quantity moved = kFinanceFields[bar.field].quantity;
    rows.push_back({fromLatin1(econ::kValueNames[bar.field]),
                    moneyText(shown_, moved, static_cast<double>(bar.low)),
                    moneyText(shown_, moved, static_cast<double>(bar.high)),
                    perArea(static_cast<double>(bar.atLow[m].npv)),
                    perArea(static_cast<double>(bar.atHigh[m].npv))});
  }
  tornado_->setRows(std::move(rows), perArea(static_cast<double>(sensitivity_->base[m].npv)),
                    QStringLiteral("NPV with each value lowered and raised by %1 %")
                        .arg(swing_->text().trimmed()));
  showFigures();
}

void SensitivityWindow::showFigures() {
  for (std::size_t m = 0; m < 2; ++m) {
    const econ::BreakEvens& b = sensitivity_->breakEven;
    const QString texts[] = {
        money(shown_, Quantity::MoneyPerArea, std::optional<float>(sensitivity_->base[m].npv)),
        money(shown_, Quantity::MoneyPerArea, sensitivity_->base[m].lev),
        b.irr[m] ? percentText(shown_, *b.irr[m]) : QStringLiteral("-"),
        money(shown_, Quantity::MoneyPerMass, b.harvestSaw[m]),
        money(shown_, Quantity::MoneyPerMass, b.harvestPulp[m]),
        money(shown_, Quantity::MoneyPerArea, b.establishmentCost[m])};
    for (std::size_t row = 0; row < figures_.size(); ++row) figures_[row][m]->setText(texts[row]);
  }
}

void SensitivityWindow::clearCharts() {
  curve_->setCurve({}, {}, 0, std::nullopt);
  tornado_->setRows({}, 0, QStringLiteral(""));
  for (auto& row : figures_) {
    for (QLabel* figure : row) figure->setText(QStringLiteral("-"));
  }
}

}  // namespace keldovar
