// Documents read from and written to stand files.
#include "app/qt/keldovar_doc.h"

#include <QFile>
#include <QFileInfo>

#include "app/settings.h"

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
      untitledName_(std::move(untitledName)) {}

QString CKELDOVARDoc::title() const {
  return path_.isEmpty() ? untitledName_ : QFileInfo(path_).fileName();
}

StandFileResult CKELDOVARDoc::saveTo(const QString& path) {
  StandFileResult result = saveStandFile(localName(path), controller_.content());
  if (result.ok()) {
    path_ = path;
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
