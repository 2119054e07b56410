// The start-up dialog that offers the recovery copies of an earlier run: per copy Recover,
// Discard or Later, and the copies that were damaged and set aside.
#pragma once

#include <QDialog>
#include <QMainWindow>
#include <functional>
#include <vector>

#include "desktop/recovery_manager.h"

class QButtonGroup;
class QVBoxLayout;

namespace keldovar {

enum class RecoveryChoice { Recover, Discard, Later };

class RecoveryDialog final : public QDialog {
  Q_OBJECT
 public:
  // Rows are in the order of `entries`; every row starts at Recover.
  RecoveryDialog(const std::vector<RecoveryEntry>& entries, const std::vector<DamagedCopy>& damaged,
                 QWidget* parent = nullptr);
  // One choice per entry, in their order.
  std::vector<RecoveryChoice> choices() const;

 private:
  void addRows(const std::vector<RecoveryEntry>& entries);
  void addDamaged(const std::vector<DamagedCopy>& damaged);

  std::vector<QButtonGroup*> groups_;
  QVBoxLayout* content_ = nullptr;  // what scrolls: the rows and the copies not offered
};

// The text that reports a copy that was not offered.
QString damagedCopyText(const DamagedCopy& damaged);

// Says, in the status bar and in a note that does not block the window, that the documents are
// not protected against a crash and why.
void showProtectionNote(QMainWindow& window, const QString& text);

// Shows the dialog when there is anything to say, then carries out the choices: a copy to
// recover goes to `open`, which builds a document window and calls manager.recover() for it;
// Discard deletes the copy; Later leaves it for the next start.
void offerRecovery(RecoveryManager& manager, QWidget* parent,
                   const std::function<void(const RecoveryEntry&)>& open);

}  // namespace keldovar
