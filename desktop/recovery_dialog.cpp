// The recovery dialog and the carrying out of its choices.
#include "desktop/recovery_dialog.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

#include "desktop/dialogs/message_box.h"

namespace keldovar {
namespace {

constexpr const char* kChoiceTexts[] = {"Recover", "Discard", "Later"};

QLabel* boldLabel(const QString& text) {
  auto* label = new QLabel(text);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace

QString damagedCopyText(const DamagedCopy& damaged) {
  return QStringLiteral("The recovery copy of %1 is damaged and was not opened. It was kept in %2.")
      .arg(damaged.displayName, damaged.setAsidePath);
}

RecoveryDialog::RecoveryDialog(const std::vector<RecoveryEntry>& entries,
                               const std::vector<DamagedCopy>& damaged, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("RecoveryDialog"));
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  if (!entries.empty()) addRows(entries);
  if (!damaged.empty()) addDamaged(damaged);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

void RecoveryDialog::addRows(const std::vector<RecoveryEntry>& entries) {
  auto* intro = new QLabel(QStringLiteral(
      "KELDOVAR did not end normally. These documents had changes that were not saved:"));
  intro->setWordWrap(true);
  static_cast<QVBoxLayout*>(layout())->addWidget(intro);
  auto* grid = new QGridLayout;
  grid->addWidget(boldLabel(QStringLiteral("Document")), 0, 0);
  grid->addWidget(boldLabel(QStringLiteral("Time")), 0, 1);
  grid->addWidget(boldLabel(QStringLiteral("Tables")), 0, 2);
  QLocale locale;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const RecoveryEntry& entry = entries[i];
    int row = static_cast<int>(i) + 1;
    QDateTime time = QDateTime::fromSecsSinceEpoch(entry.record.time);
    grid->addWidget(new QLabel(entry.displayName), row, 0);
    grid->addWidget(new QLabel(locale.toString(time, QLocale::ShortFormat)), row, 1);
    grid->addWidget(new QLabel(QString::number(entry.tables)), row, 2);
    auto* group = new QButtonGroup(this);
    for (int choice = 0; choice < 3; ++choice) {
      auto* button = new QRadioButton(QString::fromLatin1(kChoiceTexts[choice]));
      button->setObjectName(
          QStringLiteral("%1_%2").arg(QLatin1String(kChoiceTexts[choice])).arg(i));
      button->setChecked(choice == 0);
      group->addButton(button, choice);
      grid->addWidget(button, row, 3 + choice);
    }
    groups_.push_back(group);
  }
  static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void RecoveryDialog::addDamaged(const std::vector<DamagedCopy>& damaged) {
  QStringList lines;
  for (const DamagedCopy& copy : damaged) lines << damagedCopyText(copy);
  auto* label = new QLabel(lines.join(QLatin1Char('\n')));
  label->setObjectName(QStringLiteral("damaged"));
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  static_cast<QVBoxLayout*>(layout())->addWidget(label);
}

std::vector<RecoveryChoice> RecoveryDialog::choices() const {
  std::vector<RecoveryChoice> result;
  for (const QButtonGroup* group : groups_) {
    result.push_back(static_cast<RecoveryChoice>(std::max(group->checkedId(), 0)));
  }
  return result;
}

void offerRecovery(RecoveryManager& manager, QWidget* parent,
                   const std::function<void(const RecoveryEntry&)>& open) {
  const std::vector<RecoveryEntry> entries = manager.pendingCopies();
  if (entries.empty() && manager.damagedCopies().empty()) return;
  RecoveryDialog dialog(entries, manager.damagedCopies(), parent);
  dialog.exec();
  // Closing the dialog without OK decides nothing: every copy is kept for the next start.
  if (dialog.result() != QDialog::Accepted) return;
  std::vector<RecoveryChoice> choices = dialog.choices();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (choices[i] == RecoveryChoice::Recover) open(entries[i]);
    if (choices[i] == RecoveryChoice::Discard) manager.discard(entries[i]);
  }
}

}  // namespace keldovar
