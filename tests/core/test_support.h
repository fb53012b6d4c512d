// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers shared by the core tests: a scratch folder and raw file access.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QString>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <set>
#include <string>

namespace fondaro::testing {

#ifdef FONDARO_TOOL_PATH
// One run of the built fondaro-tool with `input` on its standard input: the
// exit status (-1 when it did not end normally within 30 s) and what it
// printed, as bytes.
struct ToolBytes {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};
inline ToolBytes runToolBytes(const QStringList& args, const QByteArray& input = {},
                              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(FONDARO_TOOL_PATH), args);
  p.waitForStarted();
  if (!input.isEmpty()) p.write(input);
  p.closeWriteChannel();
  const bool finished = p.waitForFinished(30000);
  return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}

// The same, what it printed read as UTF-8.
struct ToolRun {
  int exitCode = -1;
  QString out;
  QString err;
};
inline ToolRun runTool(const QStringList& args, const QByteArray& input = {}) {
  const ToolBytes r = runToolBytes(args, input);
  return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

#ifdef FONDARO_FAULTSHIM_PATH
// The same with one system call made to fail (tests/common/faultshim.cpp:
// "CALL:N:ERRNO[:COUNT][:MATCH]").
inline ToolRun runToolFailing(const QString& fault, const QStringList& args, const QByteArray& input = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FONDARO_FAULTSHIM_PATH));
  env.insert(QStringLiteral("FONDARO_FAULT"), fault);
  const ToolBytes r = runToolBytes(args, input, env);
  return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}
#endif
#endif

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

// If a read of a FIFO waits for a writer, this guard becomes the writer after a
// few seconds, so that a regression fails the test instead of hanging it.
class FifoGuard {
 public:
  explicit FifoGuard(QByteArray fifo) : fifo_(std::move(fifo)), thread_([this] { watch(); }) {}
  ~FifoGuard() {
    {
      std::lock_guard<std::mutex> lock(m_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  bool released() const { return released_; }

 private:
  void watch() {
    std::unique_lock<std::mutex> lock(m_);
    while (!done_) {
      if (cv_.wait_for(lock, std::chrono::seconds(5), [this] { return done_; })) return;
      const int fd = ::open(fifo_.constData(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        released_ = true;
        ::close(fd);
      }
    }
  }
  QByteArray fifo_;
  std::mutex m_;
  std::condition_variable cv_;
  bool done_ = false;
  std::atomic<bool> released_{false};
  std::thread thread_;
};

}  // namespace fondaro::testing
