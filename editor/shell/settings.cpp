#include "editor/shell/settings.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>

namespace pivolane::editor {

// The editor's build names the key; others that share the store (the
// launcher, which installs only what the editor checked) have none.
#ifndef PIVOLANE_UPDATE_PUBLIC_KEY
#define PIVOLANE_UPDATE_PUBLIC_KEY ""
#endif
const char* const SettingNames::kUpdatePublicKeyDefault = PIVOLANE_UPDATE_PUBLIC_KEY;

namespace {

// The stored spelling of name among names, or name itself when none matches.
QString StoredSpelling(const QStringList& names, const QString& name) {
  for (const QString& stored : names) {
    if (stored.compare(name, Qt::CaseInsensitive) == 0) return stored;
  }
  return name;
}

}  // namespace

QString EditorSettings::UserStorePath() {
  QSettings user(QSettings::IniFormat, QSettings::UserScope, SettingNames::kApplication,
                 SettingNames::kApplication);
  return user.fileName();
}

std::optional<QString> EditorSettings::Value(const QString& section, const QString& key) const {
  QSettings store(path_, QSettings::IniFormat);
  store.beginGroup(StoredSpelling(store.childGroups(), section));
  const QString storedKey = StoredSpelling(store.childKeys(), key);
  if (!store.contains(storedKey)) return std::nullopt;
  return store.value(storedKey).toString();
}

void EditorSettings::SetValue(const QString& section, const QString& key, const QString& value) {
  QSettings store(path_, QSettings::IniFormat);
  store.beginGroup(StoredSpelling(store.childGroups(), section));
  store.setValue(StoredSpelling(store.childKeys(), key), value);
  store.endGroup();
  store.sync();
  if (store.status() != QSettings::NoError) {
    qWarning("Could not write the settings file %s", qPrintable(path_));
  }
}

std::optional<QString> EditorSettings::StoredLanguage() const {
  auto value = Value(SettingNames::kReadSection, SettingNames::kLanguage);
  if (!value || value->isEmpty()) return std::nullopt;
  return value;
}

void EditorSettings::SetLanguage(Language language) {
  SetValue(SettingNames::kWriteSection, SettingNames::kLanguage,
           QString::number(static_cast<int>(language)));
}

int EditorSettings::CipherVersion() const {
  const auto value = Value(SettingNames::kReadSection, SettingNames::kCipherVersion);
  const int version = value ? value->trimmed().toInt() : 0;
  return version == 1 || version == 2 ? version : SettingNames::kCipherVersionDefault;
}

void EditorSettings::SetCipherVersion(int version) {
  SetValue(SettingNames::kWriteSection, SettingNames::kCipherVersion, QString::number(version));
}

bool EditorSettings::AutoUpdateAtStart() const {
  const auto value = Value(SettingNames::kReadSection, SettingNames::kAutoUpdate);
  if (!value) return SettingNames::kAutoUpdateDefault == 1;
  return value->trimmed().toInt() == 1;
}

void EditorSettings::SetAutoUpdateAtStart(bool on) {
  SetValue(SettingNames::kWriteSection, SettingNames::kAutoUpdate, on ? "1" : "0");
}

QString EditorSettings::UpdateServer() const {
  const auto value = Value(SettingNames::kReadSection, SettingNames::kUpdateServer);
  return value && !value->trimmed().isEmpty() ? value->trimmed()
                                              : SettingNames::kUpdateServerDefault;
}

QString EditorSettings::UpdatePublicKey() const {
  const auto value = Value(SettingNames::kReadSection, SettingNames::kUpdatePublicKey);
  return value && !value->trimmed().isEmpty() ? value->trimmed()
                                              : SettingNames::kUpdatePublicKeyDefault;
}

QString EditorSettings::InstallationId() {
  const auto stored = Value(SettingNames::kReadSection, SettingNames::kInstallationId);
  if (stored && !stored->isEmpty()) return *stored;
  QByteArray bytes(16, Qt::Uninitialized);
  QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), 4);
  const QString id = QString::fromLatin1(bytes.toHex());
  SetValue(SettingNames::kWriteSection, SettingNames::kInstallationId, id);
  return id;
}

}  // namespace pivolane::editor
