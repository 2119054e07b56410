// Documents read from and written to stand files.
#include "desktop/keldovar_doc.h"

#include <QFile>
#include <QFileInfo>

#include "document/settings.h"
#include "view/print_defaults.h"

namespace keldovar {
namespace {

std::string localName(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

CKELDOVARDoc::CKELDOVARDoc(Session& session, Prompts& prompts, SettingsStore& settings,
                           QString untitledName)
    : controller_(session, prompts, settings, readDocumentDefaults(settings).settings,
                  readDocumentDefaults(settings).options),
      untitledName_(std::move(untitledName)) {
  controller_.setCarbonValues(readCarbonValues(settings));
}

QString CKELDOVARDoc::title() const {
  return path_.isEmpty() ? untitledName_ : QFileInfo(path_).fileName();
}

QString CKELDOVARDoc::reportTitle() const {
  if (path_.isEmpty()) return untitledName_;
  return QFile::decodeName(QByteArray::fromStdString(documentTitle(localName(path_))));
}

int CKELDOVARDoc::untitledNumber() const {
  if (!path_.isEmpty()) return 0;
  qsizetype digits = 0;
  while (digits < untitledName_.size() &&
         untitledName_[untitledName_.size() - digits - 1].isDigit()) {
    ++digits;
  }
  return untitledName_.right(digits).toInt();
}

void CKELDOVARDoc::adoptRecoveredPath(const QString& path) {
  path_ = path;
  recovered_ = true;
}

StandFileResult CKELDOVARDoc::saveTo(const QString& path) {
  StandFileResult result = saveStandFile(localName(path), controller_.content());
  if (result.ok()) {
    path_ = path;
    recovered_ = false;
    controller_.markSaved();
  }
  return result;
}

StandFileResult CKELDOVARDoc::openFrom(const QString& path) {
  DocumentContent content = controller_.content();
  StandFileResult result = openStandFile(localName(path), content);
  if (result.ok()) {
    path_ = path;
    controller_.replaceContent(std::move(content));
  }
  return result;
}

}  // namespace keldovar
