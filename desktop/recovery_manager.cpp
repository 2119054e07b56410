// Recovery copies: the schedule of each document's copy, this run's lock, and what earlier runs
// left in the folder.
#include "desktop/recovery_manager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/safe_file.h"
#include "keldovar_version.h"

namespace keldovar {
namespace {

// Far above any file the program writes (a full document is under 1 MB), but bounded.
constexpr std::size_t kCopyLimit = 64u * 1024u * 1024u;
constexpr const char* kDamagedFolder = "damaged";

std::string local8(const QString& text) {
  return QFile::encodeName(text).toStdString();
}

QString fromLocal8(const std::string& text) {
  return QFile::decodeName(QByteArray::fromStdString(text));
}

std::int64_t chooseInterval(std::int64_t given) {
  if (given > 0) return given;
  QByteArray override = qgetenv("KELDOVAR_AUTOSAVE_MS");
  return autosaveInterval(override.isEmpty() ? nullptr : override.constData());
}

// `what` names the folder as %1.
QString notProtected(const QString& what, const QString& folder, const std::string& reason) {
  return QStringLiteral("Documents are not protected against a crash: %1 (%2).")
      .arg(what.arg(QDir::toNativeSeparators(folder)), fromLocal8(reason));
}

}  // namespace

RecoveryManager::RecoveryManager(Options options, QObject* parent)
    : QObject(parent),
      options_(std::move(options)),
      interval_(chooseInterval(options_.intervalMs)),
      writer_([this](int error) {
        // From the worker thread: the manager hears of it on its own.
        QMetaObject::invokeMethod(this, [this, error] { copyWritten(error); });
      }) {
  if (!options_.readFile) options_.readFile = readFileContents;
  folder_ = options_.folder;
  if (folder_.isEmpty()) {
    folder_ = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
              QStringLiteral("/recovery");
  }
  if (options_.version.isEmpty()) options_.version = QString::fromLatin1(kFullVersion);
  clock_.start();
}

RecoveryManager::~RecoveryManager() {
  for (auto& [id, doc] : documents_) doc->timer.reset();
}

std::string RecoveryManager::pathOf(const std::string& name) const {
  return local8(folder_) + "/" + name;
}

bool RecoveryManager::start() {
  if (started_) return true;
  std::error_code error;
  std::filesystem::create_directories(local8(folder_), error);
  if (error) {
    startFailure_ = notProtected(QStringLiteral("the recovery folder %1 cannot be used"), folder_,
                                 error.message());
    return false;
  }
  instance_ =
      recoveryInstanceTag(QCoreApplication::applicationPid(), QDateTime::currentMSecsSinceEpoch());
  lock_ = std::make_unique<QLockFile>(fromLocal8(pathOf(recoveryLockName(instance_))));
  if (!lock_->tryLock(0)) {
    std::string reason = lock_->error() == QLockFile::PermissionError
                             ? std::generic_category().message(EACCES)
                             : std::string("its lock cannot be taken");
    startFailure_ =
        notProtected(QStringLiteral("the recovery folder %1 cannot be used"), folder_, reason);
    lock_.reset();
    return false;
  }
  started_ = true;
  std::vector<std::string> names;
  const QStringList entries = QDir(folder_).entryList(QDir::Files | QDir::Hidden);
  for (const QString& entry : entries) names.push_back(local8(entry));
  for (const RecoveryLeftovers& leftovers : findRecoveryLeftovers(names, instance_)) {
    takeLeftovers(leftovers);
  }
  return true;
}

// A run's copies are taken only with its lock: a lock that is held belongs to a running
// program, and one whose process is gone counts as free.
void RecoveryManager::takeLeftovers(const RecoveryLeftovers& leftovers) {
  QString lockPath = fromLocal8(pathOf(recoveryLockName(leftovers.instance)));
  // A lock that is no file belongs to no running program, yet cannot be taken: the run's copies
  // would stay hidden for good without a word.
  QFileInfo lockInfo(lockPath);
  if (lockInfo.exists() && !lockInfo.isFile()) {
    damaged_.push_back({fromLocal8(leftovers.instance), lockPath, DamagedCopy::Kind::RunLocked,
                        QStringLiteral("it is not a file")});
    return;
  }
  auto lock = std::make_unique<QLockFile>(lockPath);
  if (!lock->tryLock(0)) return;
  for (const RecoveryName& name : leftovers.recordOnly) {
    QFile::remove(fromLocal8(pathOf(recoveryRecordName(name))));
  }
  for (const RecoveryName& name : leftovers.copyOnly) {
    std::string copy = recoveryCopyName(name);
    setAside({copy}, fromLocal8(copy));
  }
  for (const RecoveryName& name : leftovers.complete) inspect(name);
  heldLocks_.push_back(std::move(lock));
}

QString RecoveryManager::displayName(const RecoveryRecord& record) const {
  if (record.path.empty()) return options_.untitledPrefix + QString::number(record.untitledNumber);
  return QFileInfo(fromLocal8(record.path)).fileName();
}

// A copy is offered only when both its record and the whole stand file read back. One that
// cannot be read at all is not damaged: it may read at a later start.
void RecoveryManager::inspect(const RecoveryName& name) {
  std::string recordName = recoveryRecordName(name);
  std::string copyName = recoveryCopyName(name);
  std::vector<std::uint8_t> bytes;
  int error = options_.readFile(pathOf(recordName), kRecoveryRecordLimit + 1, bytes);
  if (error != 0 && error != kNotRegularFile) {
    keepUnreadable(recordName, fromLocal8(copyName), error);
    return;
  }
  std::optional<RecoveryRecord> record;
  if (error == 0) {
    record = readRecoveryRecord(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  if (!record) {
    setAside({copyName, recordName}, fromLocal8(copyName));
    return;
  }
  auto content = std::make_unique<DocumentContent>();
  resetSnapshot(content->store.snapshot);
  bytes.clear();  // the reader appends
  error = options_.readFile(pathOf(copyName), kCopyLimit, bytes);
  if (error != 0 && error != kNotRegularFile) {
    keepUnreadable(copyName, displayName(*record), error);
    return;
  }
  if (error != 0 || bytes.size() >= kCopyLimit || !readStandFile(bytes, *content).ok()) {
    setAside({copyName, recordName}, displayName(*record));
    return;
  }
  RecoveryEntry entry{name,
                      *record,
                      content->store.count(),
                      fromLocal8(pathOf(copyName)),
                      fromLocal8(pathOf(recordName)),
                      displayName(*record)};
  pending_.push_back(std::move(entry));
}

// Kept for the user to look at, out of the way of the next start's search. What cannot be
// moved stays where it is: a copy is never deleted here.
void RecoveryManager::setAside(const std::vector<std::string>& names, const QString& displayName) {
  namespace fs = std::filesystem;
  const fs::path aside = fs::path(local8(folder_)) / kDamagedFolder;
  std::error_code error;
  fs::create_directories(aside, error);
  DamagedCopy copy{displayName, fromLocal8(pathOf(names.front())), DamagedCopy::Kind::Damaged, {}};
  for (std::size_t i = 0; i < names.size() && !error; ++i) {
    fs::rename(pathOf(names[i]), aside / names[i], error);
    if (i == 0 && !error) {
      copy.kind = DamagedCopy::Kind::SetAside;
      copy.setAsidePath = fromLocal8((aside / names[i]).string());
    }
  }
  if (error && copy.kind == DamagedCopy::Kind::Damaged) {
    copy.reason = fromLocal8(error.message());
  }
  damaged_.push_back(copy);
}

void RecoveryManager::keepUnreadable(const std::string& name, const QString& displayName,
                                     int error) {
  damaged_.push_back({displayName, fromLocal8(pathOf(name)), DamagedCopy::Kind::Unreadable,
                      fromLocal8(fileErrorText(error))});
}

void RecoveryManager::copyWritten(int error) {
  if (error == 0) {
    protectionLost_ = false;
    return;
  }
  if (protectionLost_) return;
  protectionLost_ = true;
  Q_EMIT protectionLost(notProtected(QStringLiteral("a recovery copy could not be written in %1"),
                                     folder_, fileErrorText(error)));
}

RecoveryManager::Tracked& RecoveryManager::tracked(int id) {
  auto& slot = documents_[id];
  if (!slot) {
    slot = std::make_unique<Tracked>(interval_);
    slot->timer = std::make_unique<QTimer>();
    slot->timer->setSingleShot(true);
    connect(slot->timer.get(), &QTimer::timeout, this, [this, id] { writeIfDue(id); });
  }
  return *slot;
}

void RecoveryManager::documentChanged(int id, const RecoveryOrigin& origin,
                                      const DocumentController& controller) {
  if (!started_) return;
  Tracked& doc = tracked(id);
  doc.origin = origin;
  doc.controller = &controller;
  if (!controller.modified()) {
    dropCopy(id, doc);
    return;
  }
  doc.scheduler.changed();
  writeIfDue(id);
}

void RecoveryManager::writeIfDue(int id) {
  auto found = documents_.find(id);
  if (found == documents_.end() || found->second->controller == nullptr) return;
  Tracked& doc = *found->second;
  std::int64_t now = clock_.elapsed();
  if (doc.scheduler.take(now)) {
    writeCopy(id, doc);
  } else if (doc.scheduler.pending() && !doc.timer->isActive()) {
    doc.timer->start(static_cast<int>(std::max<std::int64_t>(0, doc.scheduler.dueAt() - now)));
  }
}

// The bytes are built here, on the user interface's thread, from the document as it is now;
// the worker only writes them.
void RecoveryManager::writeCopy(int id, Tracked& doc) {
  RecoveryName name{instance_, id};
  RecoveryRecord record;
  record.path = local8(doc.origin.path);
  record.untitledNumber = std::max(doc.origin.untitledNumber, 1);
  record.time = QDateTime::currentSecsSinceEpoch();
  record.processId = QCoreApplication::applicationPid();
  record.version = options_.version.toStdString();
  writer_.write(pathOf(recoveryRecordName(name)), writeRecoveryRecord(record),
                pathOf(recoveryCopyName(name)), writeStandFile(doc.controller->content()));
  doc.hasCopy = true;
  if (!doc.retire.empty()) writer_.remove(std::move(doc.retire));
  doc.retire.clear();
}

void RecoveryManager::dropCopy(int id, Tracked& doc) {
  doc.scheduler.cancel();
  doc.timer->stop();
  if (doc.hasCopy) {
    RecoveryName name{instance_, id};
    writer_.remove({pathOf(recoveryCopyName(name)), pathOf(recoveryRecordName(name))});
    doc.hasCopy = false;
  }
  if (!doc.retire.empty()) writer_.remove(std::move(doc.retire));
  doc.retire.clear();
}

void RecoveryManager::documentSaved(int id) {
  auto found = documents_.find(id);
  if (found != documents_.end()) dropCopy(id, *found->second);
}

void RecoveryManager::documentClosed(int id) {
  auto found = documents_.find(id);
  if (found == documents_.end()) return;
  dropCopy(id, *found->second);
  documents_.erase(found);
}

void RecoveryManager::documentDetached(int id) {
  auto found = documents_.find(id);
  if (found == documents_.end()) return;
  Tracked& doc = *found->second;
  // A recovered entry's old files stay too when this document never got a copy of its own.
  if (doc.scheduler.pending() && doc.controller != nullptr) writeCopy(id, doc);
  documents_.erase(found);
}

void RecoveryManager::shutdown() {
  for (auto& [id, doc] : documents_) dropCopy(id, *doc);
  documents_.clear();
  writer_.waitIdle();
  heldLocks_.clear();
  lock_.reset();
  started_ = false;
}

void RecoveryManager::forget(const RecoveryEntry& entry) {
  auto same = [&entry](const RecoveryEntry& e) { return e.copyPath == entry.copyPath; };
  pending_.erase(std::remove_if(pending_.begin(), pending_.end(), same), pending_.end());
}

StandFileResult RecoveryManager::recover(RecoveryEntry entry, int id, DocumentController& into) {
  auto content = std::make_unique<DocumentContent>(into.content());
  std::vector<std::uint8_t> bytes;
  int error = options_.readFile(local8(entry.copyPath), kCopyLimit, bytes);
  forget(entry);
  if (error != 0 && error != kNotRegularFile) {
    // Not damaged: it stays for a later start.
    // Shown as Latin-1, as every file message is.
    QString text = QStringLiteral(
                       "The recovery copy of %1 cannot be read now (%2). It is kept "
                       "for a later start.")
                       .arg(entry.displayName, fromLocal8(fileErrorText(error)));
    return {StandFileStatus::FileError, text.toLatin1().toStdString()};
  }
  StandFileResult result{StandFileStatus::BadFormat, kBadFormatMessage};
  if (error == 0) result = readStandFile(bytes, *content);
  if (!result.ok()) {
    std::string recordName = recoveryRecordName(entry.name);
    setAside({recoveryCopyName(entry.name), recordName}, entry.displayName);
    return result;
  }
  into.replaceContent(std::move(*content));
  into.markModified();
  if (!started_) return result;
  Tracked& doc = tracked(id);
  doc.origin = {fromLocal8(entry.record.path), entry.record.untitledNumber};
  doc.retire = {local8(entry.copyPath), local8(entry.recordPath)};
  documentChanged(id, doc.origin, into);
  return result;
}

void RecoveryManager::discard(RecoveryEntry entry) {
  forget(entry);
  writer_.remove({local8(entry.copyPath), local8(entry.recordPath)});
}

}  // namespace keldovar
