// A document: its controller, the file it was read from or saved to, and its title.
#pragma once

#include <QString>
#include <utility>

#include <optional>

#include "app/safe_file.h"
#include "app/stand_file.h"
#include "document/document_controller.h"

namespace keldovar {

class CKELDOVARDoc {
 public:
  // A new document takes the user's stored defaults.
  CKELDOVARDoc(Session& session, Prompts& prompts, SettingsStore& settings, QString untitledName);

  DocumentController& controller() { return controller_; }
  const DocumentController& controller() const { return controller_; }
  const QString& path() const { return path_; }
  // The file's name, or "KLDVR1" and so on for a document never saved.
  QString title() const;
  // The name a printout, its footers and an export carry: the file's name without its
  // extension, as the batch runner names them, or the title of a document never saved.
  QString reportTitle() const;
  // The number of a document never saved ("KLDVR3": 3), 0 for one with a file.
  int untitledNumber() const;
  // The title of a document never saved, such as a branch's "NAME (from age A)".
  void setUntitledName(QString name) { untitledName_ = std::move(name); }

  // A document recovered after a crash is titled as its file was; the first Save asks before it
  // replaces that file.
  void adoptRecoveredPath(const QString& path);
  bool recovered() const { return recovered_; }

  // True when the file at path() is no longer the one this document was read from or last
  // saved to: another program (or another window) replaced or rewrote it since. A file that is
  // gone, or a path never read or written here, is not "changed".
  bool fileChangedElsewhere() const;

  // Saving never truncates the previous file; on failure nothing changes.
  StandFileResult saveTo(const QString& path);
  // Replaces the whole document with the file's, or leaves it exactly as it was.
  StandFileResult openFrom(const QString& path);

 private:
  DocumentController controller_;
  QString path_;
  QString untitledName_;
  bool recovered_ = false;
  std::optional<FileIdentity> fileSeen_;  // the file at path_ as read or written here
};

}  // namespace keldovar
