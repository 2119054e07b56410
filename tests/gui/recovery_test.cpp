// Recovery copies as a user meets them: steps leave a copy that opens to the same tables, Save
// and Close take it away, a second running program leaves it alone, damaged copies are set
// aside and reported.
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <system_error>

#include "app/safe_file.h"
#include "desktop/recovery_dialog.h"
#include "tests/gui/gui_test_registry.h"
#include "tests/gui/modal_script.h"
#include "tests/gui/recovery_rig.h"

namespace keldovar::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray data = file.readAll();
  return Bytes(data.begin(), data.end());
}

void writeFile(const QString& path, const QByteArray& data) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(data);
}

QByteArray asArray(const Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

QString copyPath(const RecoveryManager& manager, int id) {
  return manager.folder() + "/" +
         QString::fromStdString(recoveryCopyName({manager.instanceTag(), id}));
}

// The copies and records in the folder, the damaged ones left out.
QStringList copiesIn(const QString& folder) {
  return QDir(folder).entryList({"*.kdv", "*.rec"}, QDir::Files, QDir::Name);
}

RecoveryManager::Options inFolder(const QString& folder) {
  RecoveryManager::Options options;
  options.folder = folder;
  options.intervalMs = 50;
  return options;
}

}  // namespace

class RecoveryTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void defaultFolderIsThePerUserStateFolder() {
    RecoveryManager manager;
    QCOMPARE(manager.folder(),
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery");
  }

  void stepsLeaveACopyThatASecondProgramLeavesAloneAndALaterOneRecovers() {
    QTemporaryDir dir;
    auto first = std::make_unique<RecoveryManager>(inFolder(dir.path()));
    QVERIFY(first->start());
    SteppedDocument document;
    int id = first->newDocumentId();
    RecoveryForwarder forwarder(*first, id, {QString(), 2}, document.controller());
    document.controller().setListener(&forwarder);
    for (int n = 0; n < 4; ++n) QVERIFY(document.step(n));
    const Bytes expected = document.bytes();
    // The first step's copy is written at once, the three after it at the interval's end.
    QTRY_VERIFY_WITH_TIMEOUT((first->waitForWrites(), fileBytes(copyPath(*first, id)) == expected),
                             kEventWait);

    // A program that has run for hours: its lock is old, and still its own.
    QFile lock(dir.path() + "/" + QString::fromStdString(recoveryLockName(first->instanceTag())));
    QVERIFY(lock.open(QIODevice::ReadWrite) &&
            lock.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                             QFileDevice::FileModificationTime));
    lock.close();
    RecoveryManager second(inFolder(dir.path()));
    QVERIFY(second.start());
    QVERIFY(second.pendingCopies().empty());
    second.shutdown();

    // The first program ends without cleaning up, as it would in a crash.
    document.controller().setListener(nullptr);
    first.reset();
    RecoveryManager third(inFolder(dir.path()));
    QVERIFY(third.start());
    QCOMPARE(third.pendingCopies().size(), std::size_t(1));
    const RecoveryEntry entry = third.pendingCopies()[0];
    QCOMPARE(entry.displayName, QString("KLDVR2"));
    QCOMPARE(entry.tables, 4);
    QCOMPARE(entry.record.processId, QCoreApplication::applicationPid());
    QVERIFY(third.damagedCopies().empty());

    SteppedDocument recovered;
    int newId = third.newDocumentId();
    QVERIFY(third.recover(entry, newId, recovered.controller()).ok());
    QVERIFY(recovered.controller().modified());
    QVERIFY(recovered.bytes() == expected);
    QVERIFY(third.pendingCopies().empty());
    third.waitForWrites();
    // The old files go only once the recovered document has a copy of its own.
    QVERIFY(!QFile::exists(entry.copyPath) && !QFile::exists(entry.recordPath));
    QVERIFY(fileBytes(copyPath(third, newId)) == expected);
    third.shutdown();
    QCOMPARE(copiesIn(dir.path()), QStringList());
  }

  void saveCloseAndExitTakeTheCopiesAway() {
    QTemporaryDir dir;
    RecoveryManager manager(inFolder(dir.path()));
    QVERIFY(manager.start());
    SteppedDocument a, b;
    int idA = manager.newDocumentId(), idB = manager.newDocumentId();
    RecoveryForwarder toA(manager, idA, {"/stands/a.kdv", 0}, a.controller());
    RecoveryForwarder toB(manager, idB, {QString(), 1}, b.controller());
    a.controller().setListener(&toA);
    b.controller().setListener(&toB);
    // An option toggled in an unchanged document leaves nothing to recover.
    b.controller().toggleBargraph();
    manager.waitForWrites();
    QCOMPARE(copiesIn(dir.path()), QStringList());

    QVERIFY(a.step(0) && b.step(0));
    manager.waitForWrites();
    QCOMPARE(copiesIn(dir.path()).size(), 4);
    a.controller().markSaved();
    manager.documentSaved(idA);
    manager.waitForWrites();
    QVERIFY(!QFile::exists(copyPath(manager, idA)));
    // A fertilization adds no table but is kept all the same.
    QVERIFY(b.controller().fertilize());
    QTRY_VERIFY_WITH_TIMEOUT(
        (manager.waitForWrites(), fileBytes(copyPath(manager, idB)) == b.bytes()), kEventWait);
    manager.documentClosed(idB);
    b.controller().setListener(nullptr);
    manager.waitForWrites();
    QVERIFY(!QFile::exists(copyPath(manager, idB)));

    QVERIFY(a.step(1));
    QTRY_VERIFY_WITH_TIMEOUT(
        (manager.waitForWrites(), fileBytes(copyPath(manager, idA)) == a.bytes()), kEventWait);
    manager.shutdown();
    a.controller().setListener(nullptr);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
  }

  void damagedCopiesAreSetAsideAndTheDialogCarriesOutEachChoice() {
    QTemporaryDir dir;
    SteppedDocument source;
    QVERIFY(source.step(0) && source.step(1));
    const QByteArray good = asArray(source.bytes());
    auto record = [](const char* path, int untitled) {
      RecoveryRecord r{path, untitled, 1796550000, 77, "3.0.0"};
      return QByteArray::fromStdString(writeRecoveryRecord(r));
    };
    const QString gone = dir.path() + "/p77t1_";
    writeFile(gone + "1.rec", record("/stands/north.kdv", 0));
    writeFile(gone + "1.kdv", good.left(good.size() / 2));  // a copy cut short
    writeFile(gone + "2.rec", "KELDOVAR recovery record 1\npath=/x\n");
    writeFile(gone + "2.kdv", good);
    writeFile(gone + "3.kdv", good);                            // no record
    writeFile(gone + "4.rec", record("/stands/never.kdv", 0));  // no copy
    writeFile(gone + "5.rec", record("", 7));
    writeFile(gone + "5.kdv", good);
    writeFile(gone + "6.rec", record("/stands/south.kdv", 0));
    writeFile(gone + "6.kdv", good);
    writeFile(gone + "8.rec", record("/stands/west.kdv", 0));
    writeFile(gone + "8.kdv", good);

    auto manager = std::make_unique<RecoveryManager>(inFolder(dir.path()));
    QVERIFY(manager->start());
    QStringList offered, damaged;
    for (const RecoveryEntry& e : manager->pendingCopies()) offered << e.displayName;
    for (const DamagedCopy& d : manager->damagedCopies()) damaged << d.displayName;
    QCOMPARE(offered, QStringList({"KLDVR7", "south.kdv", "west.kdv"}));
    QCOMPARE(damaged, QStringList({"p77t1_3.kdv", "north.kdv", "p77t1_2.kdv"}));
    QCOMPARE(
        QDir(dir.path() + "/damaged").entryList(QDir::Files),
        QStringList({"p77t1_1.kdv", "p77t1_1.rec", "p77t1_2.kdv", "p77t1_2.rec", "p77t1_3.kdv"}));
    QVERIFY(!QFile::exists(gone + "4.rec"));

    QString shownDamage;
    ModalScript script;
    script.tick("RecoveryDialog", "Discard_1").tick("RecoveryDialog", "Later_2");
    script.on("RecoveryDialog", [&](QWidget* w) {
      shownDamage = w->findChild<QLabel*>("damaged")->text();
      static_cast<QDialog*>(w)->accept();
    });
    SteppedDocument recovered;
    QStringList opened;
    offerRecovery(*manager, nullptr, [&](const RecoveryEntry& e) {
      opened << e.displayName;
      QVERIFY(manager->recover(e, manager->newDocumentId(), recovered.controller()).ok());
    });
    QVERIFY(script.finished());
    QCOMPARE(opened, QStringList({"KLDVR7"}));
    QVERIFY(recovered.bytes() == source.bytes());
    QVERIFY(shownDamage.contains(damagedCopyText(manager->damagedCopies()[1])));
    manager->waitForWrites();
    QVERIFY(!QFile::exists(gone + "5.kdv") && !QFile::exists(gone + "6.kdv"));
    manager->shutdown();

    // Later keeps the copy for the next start.
    manager = std::make_unique<RecoveryManager>(inFolder(dir.path()));
    QVERIFY(manager->start());
    QCOMPARE(manager->pendingCopies().size(), std::size_t(1));
    QCOMPARE(manager->pendingCopies()[0].displayName, QString("west.kdv"));
    QVERIFY(manager->damagedCopies().empty());
    manager->shutdown();
  }

  // Three hundred copies left by a crash: the dialog stays within the screen and its rows scroll.
  void manyCopiesScrollWithinTheScreen() {
    RecoveryEntry entry;
    entry.displayName = "KLDVR1";
    RecoveryDialog dialog(std::vector<RecoveryEntry>(300, entry), {});
    dialog.show();
    auto* rows = dialog.findChild<QScrollArea*>("copies");
    QVERIFY(rows != nullptr && rows->verticalScrollBar()->maximum() > 0);
    QVERIFY(dialog.height() <= dialog.screen()->availableGeometry().height());
    QCOMPARE(dialog.choices().size(), std::size_t(300));
  }

  // Nothing is deleted that could not be set aside, a copy that cannot be read now is not
  // damaged, and a run whose lock is no file is named rather than hidden; every file stays.
  void copiesThatCannotBeMovedOrReadStayAndAreReportedForWhatHappened() {
    QTemporaryDir dir;
    SteppedDocument source;
    QVERIFY(source.step(0));
    const QByteArray good = asArray(source.bytes());
    auto record = [](const char* path) {
      return QByteArray::fromStdString(writeRecoveryRecord({path, 0, 1796550000, 77, "3.0.0"}));
    };
    const QString gone = dir.path() + "/p77t1_";
    writeFile(gone + "1.rec", record("/stands/north.kdv"));
    writeFile(gone + "1.kdv", good.left(good.size() / 2));
    writeFile(gone + "2.rec", record("/stands/south.kdv"));
    writeFile(gone + "2.kdv", good);
    writeFile(dir.path() + "/damaged", "a file where the folder belongs");
    QVERIFY(QDir(dir.path()).mkdir("p88t1.lock"));
    writeFile(dir.path() + "/p88t1_1.rec", record("/stands/east.kdv"));
    writeFile(dir.path() + "/p88t1_1.kdv", good);
    const QStringList before = copiesIn(dir.path());
    RecoveryManager::Options options = inFolder(dir.path());
    options.readFile = [](const std::string& path, std::size_t limit, Bytes& bytes) {
      return path.ends_with("_2.kdv") ? EACCES : readFileContents(path, limit, bytes);
    };
    RecoveryManager manager(options);
    QVERIFY(manager.start());
    QVERIFY(manager.pendingCopies().empty());
    QStringList shown;
    for (const DamagedCopy& copy : manager.damagedCopies()) shown << damagedCopyText(copy);
    const QString notDir = QString::fromStdString(std::generic_category().message(ENOTDIR));
    QCOMPARE(shown, QStringList({
                        "The recovery copy of north.kdv is damaged and was not opened. It could "
                        "not be moved aside (" +
                            notDir + ") and stays at " + gone + "1.kdv.",
                        "The recovery copy of south.kdv cannot be read now (Permission denied) "
                        "and was not opened. It stays at " +
                            gone + "2.kdv for a later start.",
                        "The recovery copies of the run p88t1 were not looked at: its lock " +
                            dir.path() + "/p88t1.lock cannot be used (it is not a file).",
                    }));
    QCOMPARE(copiesIn(dir.path()), before);
    QVERIFY(QFileInfo(dir.path() + "/damaged").isFile());
    manager.shutdown();
  }
};
KELDOVAR_GUI_TEST(RecoveryTest);

}  // namespace keldovar::test

#include "recovery_test.moc"
