// The per-user settings store on QSettings: sections are groups, integers are kept as numbers.
#pragma once

#include <QSettings>
#include <QString>

#include "document/settings_store.h"

namespace keldovar {

// Whose settings these are. The program uses the company and its title; tests use a scratch
// organization so that they never touch a user's settings.
struct AppIdentity {
  QString organization = QStringLiteral("Brakkel Forestry");
  QString application = QStringLiteral("KELDOVAR");
};

class QtSettingsStore final : public SettingsStore {
 public:
  explicit QtSettingsStore(const AppIdentity& identity);

  std::optional<std::string> readString(std::string_view section,
                                        std::string_view key) const override;
  std::optional<int> readInt(std::string_view section, std::string_view key) const override;
  bool writeString(std::string_view section, std::string_view key, std::string_view value) override;
  bool writeInt(std::string_view section, std::string_view key, int value) override;

  // For what the program keeps beyond strings and integers: the toolbar layout, recent files.
  QSettings& settings() { return settings_; }

 private:
  bool written();

  mutable QSettings settings_;
};

}  // namespace keldovar
