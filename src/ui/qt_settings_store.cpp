#include "ui/qt_settings_store.h"

#include <QSettings>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace orvane {
namespace {

// A settings file of this program is a few kilobytes.
constexpr std::uintmax_t kMaxSettingsBytes = 1 << 20;

// A missing file or a small regular one; reading anything else could block (a pipe) or
// take all memory (a device), and replacing it would destroy what it is.
bool SafeToUse(const QString& file) {
  std::error_code error;
  const std::filesystem::path path = file.toStdString();
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  if (error || status.type() != std::filesystem::file_type::regular) return false;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return !error && size <= kMaxSettingsBytes;
}

QString Key(std::string_view key) { return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())); }

}  // namespace

QString DefaultSettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/orvane/orvane.conf");
}

QtSettingsStore::QtSettingsStore(const QString& file) {
  if (!SafeToUse(file)) return;
  settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
  readable_ = settings_->status() == QSettings::NoError;
}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::string> QtSettingsStore::Read(std::string_view key) const {
  if (!settings_ || !readable_) return std::nullopt;
  const QVariant value = settings_->value(Key(key));
  if (!value.isValid()) return std::nullopt;
  const QByteArray bytes = value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
  return bytes.toStdString();
}

void QtSettingsStore::Write(std::string_view key, const std::string& value) {
  if (!settings_) return;
  const QByteArray bytes = QByteArray::fromStdString(value);
  const QString text = QString::fromUtf8(bytes);
  // Readable text stays readable in the file; layout records are bytes.
  if (text.toUtf8() == bytes && !bytes.contains('\0')) {
    settings_->setValue(Key(key), text);
  } else {
    settings_->setValue(Key(key), bytes);
  }
}

void QtSettingsStore::Flush() {
  if (settings_) settings_->sync();
}

}  // namespace orvane
