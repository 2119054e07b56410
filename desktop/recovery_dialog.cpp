// The recovery dialog and the carrying out of its choices.
#include "desktop/recovery_dialog.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

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
  QString where = QDir::toNativeSeparators(damaged.setAsidePath);
  switch (damaged.kind) {
    case DamagedCopy::Kind::SetAside:
      return QStringLiteral(
                 "The recovery copy of %1 is damaged and was not opened. It was kept in %2.")
          .arg(damaged.displayName, where);
    case DamagedCopy::Kind::Damaged:
      return QStringLiteral(
                 "The recovery copy of %1 is damaged and was not opened. It could not be moved "
                 "aside (%2) and stays at %3.")
          .arg(damaged.displayName, damaged.reason, where);
    case DamagedCopy::Kind::Unreadable:
      return QStringLiteral(
                 "The recovery copy of %1 cannot be read now (%2) and was not opened. It stays at "
                 "%3 for a later start.")
          .arg(damaged.displayName, damaged.reason, where);
    case DamagedCopy::Kind::RunLocked:
      break;
  }
  return QStringLiteral(
             "The recovery copies of the run %1 were not looked at: its lock %2 cannot be used "
             "(%3).")
      .arg(damaged.displayName, where, damaged.reason);
}

RecoveryDialog::RecoveryDialog(const std::vector<RecoveryEntry>& entries,
                               const std::vector<DamagedCopy>& damaged, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("RecoveryDialog"));
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  // Any number of copies: the rows scroll, and the dialog stays within the screen.
  auto* content = new QWidget;
  content_ = new QVBoxLayout(content);
  content_->setContentsMargins(0, 0, 0, 0);
  if (!entries.empty()) addRows(entries);
  if (!damaged.empty()) addDamaged(damaged);
  content_->addStretch();
  auto* scroll = new QScrollArea;
  scroll->setObjectName(QStringLiteral("copies"));
  scroll->setWidget(content);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QSize wanted = content->sizeHint();
  int width = wanted.width() + scroll->verticalScrollBar()->sizeHint().width() +
              style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
  const QScreen* display = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  int room = display != nullptr ? display->availableGeometry().height() * 2 / 3 : wanted.height();
  scroll->setMinimumSize(width, std::min(wanted.height(), room));
  layout->addWidget(scroll);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

void RecoveryDialog::addRows(const std::vector<RecoveryEntry>& entries) {
  auto* intro = new QLabel(QStringLiteral(
      "KELDOVAR did not end normally. These documents had changes that were not saved:"));
  intro->setWordWrap(true);
  content_->addWidget(intro);
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
  content_->addLayout(grid);
}

void RecoveryDialog::addDamaged(const std::vector<DamagedCopy>& damaged) {
  QStringList lines;
  for (const DamagedCopy& copy : damaged) lines << damagedCopyText(copy);
  auto* label = new QLabel(lines.join(QLatin1Char('\n')));
  label->setObjectName(QStringLiteral("damaged"));
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  content_->addWidget(label);
}

std::vector<RecoveryChoice> RecoveryDialog::choices() const {
  std::vector<RecoveryChoice> result;
  for (const QButtonGroup* group : groups_) {
    result.push_back(static_cast<RecoveryChoice>(std::max(group->checkedId(), 0)));
  }
  return result;
}

void showProtectionNote(QMainWindow& window, const QString& text) {
  window.statusBar()->showMessage(text);
  auto* note = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kProgramTitle), text,
                               QMessageBox::Ok, &window);
  note->setObjectName(QStringLiteral("protectionNote"));
  note->setWindowModality(Qt::NonModal);
  note->setAttribute(Qt::WA_DeleteOnClose);
  note->show();
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
