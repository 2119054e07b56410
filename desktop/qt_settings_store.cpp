// Settings on QSettings. Each write is flushed at once, so a failing store is noticed by the
// command that wrote.
#include "desktop/qt_settings_store.h"

#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

QString settingsKey(std::string_view section, std::string_view key) {
  return fromLatin1(section) + QLatin1Char('/') + fromLatin1(key);
}

}  // namespace

QtSettingsStore::QtSettingsStore(const AppIdentity& identity)
    : settings_(identity.organization, identity.application) {}

std::optional<std::string> QtSettingsStore::readString(std::string_view section,
                                                       std::string_view key) const {
  QVariant value = settings_.value(settingsKey(section, key));
  if (!value.isValid()) return std::nullopt;
  return toLatin1(value.toString());
}

std::optional<int> QtSettingsStore::readInt(std::string_view section, std::string_view key) const {
  QVariant value = settings_.value(settingsKey(section, key));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  int number = value.toString().trimmed().toInt(&ok);
  return ok ? std::optional<int>(number) : std::nullopt;
}

bool QtSettingsStore::written() {
  settings_.sync();
  return settings_.status() == QSettings::NoError;
}

bool QtSettingsStore::writeString(std::string_view section, std::string_view key,
                                  std::string_view value) {
  settings_.setValue(settingsKey(section, key), fromLatin1(value));
  return written();
}

bool QtSettingsStore::writeInt(std::string_view section, std::string_view key, int value) {
  settings_.setValue(settingsKey(section, key), value);
  return written();
}

}  // namespace keldovar
