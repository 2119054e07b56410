// Autosave and crash recovery: a recovery copy of every document with unsaved changes in the
// per-user state folder, and the copies an earlier run left behind when it did not end cleanly.
#pragma once

#include <QElapsedTimer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/recovery.h"
#include "app/recovery_writer.h"
#include "app/stand_file.h"
#include "document/document_controller.h"

namespace keldovar {

// The file a document was read from or saved to, or its number while it has none.
struct RecoveryOrigin {
  QString path;
  int untitledNumber = 0;
};

// A copy left by a run that ended without cleaning up, and sound enough to offer.
struct RecoveryEntry {
  RecoveryName name;
  RecoveryRecord record;
  int tables = 0;
  QString copyPath;
  QString recordPath;
  QString displayName;  // the file's name, or the title of a document never saved
};

// A copy that was not offered, and why. A damaged copy is moved to the folder "damaged" when it
// can be; one that cannot be read now stays where it is for a later start.
struct DamagedCopy {
  enum class Kind {
    SetAside,    // damaged, and moved to `setAsidePath`
    Damaged,     // damaged, and could not be moved (`reason`): it stays at `setAsidePath`
    Unreadable,  // could not be read (`reason`): it stays at `setAsidePath`
    RunLocked,   // the copies of a run whose lock `setAsidePath` cannot be used (`reason`)
  };
  QString displayName;
  QString setAsidePath;
  Kind kind = Kind::SetAside;
  QString reason;
};

// Reads at most `limit` bytes of a file: 0, an error number or kNotRegularFile.
using RecoveryFileReader =
    std::function<int(const std::string& path, std::size_t limit, std::vector<std::uint8_t>&)>;

struct RecoveryOptions {
  QString folder;                // empty: the per-user AppDataLocation + "/recovery"
  std::int64_t intervalMs = -1;  // below 0: two seconds, or KELDOVAR_AUTOSAVE_MS of a test
  QString untitledPrefix = QStringLiteral("KLDVR");
  QString version;              // empty: the program's version
  RecoveryFileReader readFile;  // empty: readFileContents; tests make reads fail
};

class RecoveryManager final : public QObject {
  Q_OBJECT
 public:
  using Options = RecoveryOptions;

  explicit RecoveryManager(Options options = {}, QObject* parent = nullptr);
  // Finishes the writes already given. The copies stay: only shutdown() is a clean end.
  ~RecoveryManager() override;

  // Takes this run's lock and gathers the copies of runs that are no longer running. False
  // when the folder cannot be used; autosave is then off and every call below does nothing,
  // and startFailure() says why.
  bool start();
  const QString& startFailure() const { return startFailure_; }
  const std::vector<RecoveryEntry>& pendingCopies() const { return pending_; }
  const std::vector<DamagedCopy>& damagedCopies() const { return damaged_; }

  // A number for a new document window, to pass to the calls below.
  int newDocumentId() { return ++lastDocumentId_; }
  // After every change of the document (DocumentListener::contentChanged and modifiedChanged):
  // a copy is written at once, or at most once per interval while changes keep coming. A
  // document without unsaved changes has no copy. `controller` must outlive documentClosed(id).
  void documentChanged(int id, const RecoveryOrigin& origin, const DocumentController& controller);
  // After a successful Save or Save As: the copy goes.
  void documentSaved(int id);
  // The window closes (saved, or No to the save question): the copy goes.
  void documentClosed(int id);
  // The window goes without the user having decided (the program is torn down without Exit):
  // a pending copy is written now and the copy stays for the next start.
  void documentDetached(int id);
  // Exit: every copy of this run goes and the lock is released. Later entries stay.
  void shutdown();

  // Reads the entry's copy into `into` (a newly built document) and marks it modified; the old
  // files go once this document's own first copy is written. A copy that turns out damaged is
  // set aside and the result says why; `into` is then unchanged.
  StandFileResult recover(RecoveryEntry entry, int id, DocumentController& into);
  void discard(RecoveryEntry entry);

  // Returns once every copy given to the worker is on disk: for Exit and for tests.
  void waitForWrites() { writer_.waitIdle(); }
  int lastWriteError() const { return writer_.lastError(); }
  const QString& folder() const { return folder_; }
  const std::string& instanceTag() const { return instance_; }

 Q_SIGNALS:
  // A copy could not be written, so the documents are not protected against a crash: said once,
  // and again only after a copy has been written since.
  void protectionLost(const QString& reason);

 private:
  struct Tracked {
    explicit Tracked(std::int64_t interval) : scheduler(interval) {}
    AutosaveScheduler scheduler;
    RecoveryOrigin origin;
    const DocumentController* controller = nullptr;
    std::unique_ptr<QTimer> timer;
    bool hasCopy = false;
    std::vector<std::string> retire;  // a recovered entry's files, removed after the first copy
  };

  Tracked& tracked(int id);
  void writeIfDue(int id);
  void writeCopy(int id, Tracked& doc);
  void dropCopy(int id, Tracked& doc);
  std::string pathOf(const std::string& name) const;
  void takeLeftovers(const RecoveryLeftovers& leftovers);
  void inspect(const RecoveryName& name);
  void setAside(const std::vector<std::string>& names, const QString& displayName);
  void keepUnreadable(const std::string& name, const QString& displayName, int error);
  void copyWritten(int error);
  QString displayName(const RecoveryRecord& record) const;
  void forget(const RecoveryEntry& entry);

  Options options_;
  QString folder_;
  std::int64_t interval_;
  std::string instance_;
  bool started_ = false;
  int lastDocumentId_ = 0;
  QElapsedTimer clock_;
  std::unique_ptr<QLockFile> lock_;
  std::vector<std::unique_ptr<QLockFile>> heldLocks_;  // runs whose copies this run took
  std::vector<RecoveryEntry> pending_;
  std::vector<DamagedCopy> damaged_;
  std::map<int, std::unique_ptr<Tracked>> documents_;
  QString startFailure_;
  bool protectionLost_ = false;
  // Last: its thread ends before anything it reports to goes.
  RecoveryWriter writer_;
};

}  // namespace keldovar
