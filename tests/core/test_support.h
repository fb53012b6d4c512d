#pragma once
// Small helpers shared by the core tests: a scratch folder and raw file access.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <set>
#include <string>

namespace fondaro::testing {

inline QByteArray readAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

// The names in a folder as bytes (QDir leaves out names that are not UTF-8).
inline std::set<QByteArray> namesIn(const QByteArray& folder) {
  std::set<QByteArray> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder.toStdString(), ec))
    names.insert(QByteArray::fromStdString(e.path().filename().string()));
  return names;
}

// Empties a scratch folder by bytes: QTemporaryDir cannot remove names that
// are not UTF-8.
inline void removeContents(const QByteArray& folder) {
  std::error_code ec;
  for (const QByteArray& n : namesIn(folder))
    std::filesystem::remove_all((folder + '/' + n).toStdString(), ec);
}

}  // namespace fondaro::testing
