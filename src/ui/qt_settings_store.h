#pragma once
// The user's settings file (INI, in the XDG config folder) behind the toolkit-free store.
// A file that cannot be read as one (a folder, a pipe, something huge) is neither read nor
// replaced; a damaged one reads as empty. Nothing here ever shows a message.

#include <QString>

#include <memory>

#include "show/user_settings.h"

class QSettings;

namespace orvane {

// $XDG_CONFIG_HOME/orvane/orvane.conf (~/.config/orvane/orvane.conf).
QString DefaultSettingsFile();

class QtSettingsStore : public SettingsStore {
 public:
  explicit QtSettingsStore(const QString& file);
  ~QtSettingsStore() override;

  std::optional<std::string> Read(std::string_view key) const override;
  void Write(std::string_view key, const std::string& value) override;
  // Writes what changed to the file now (it happens anyway when the store goes away).
  void Flush() override;

 private:
  std::unique_ptr<QSettings> settings_;  // null: the file is left alone
  bool readable_ = false;
};

}  // namespace orvane
