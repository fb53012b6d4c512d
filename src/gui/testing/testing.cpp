// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/testing/testing.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui/application.h"
#include "gui/openurl.h"
#include "gui/progress.h"
#include "report/pdf.h"

namespace fondaro::gui::testing {

DialogScript::DialogScript() {
  setDialogHook([this](const DialogRequest& r) { return reply(r); });
}

DialogScript::~DialogScript() { setDialogHook({}); }

void DialogScript::answer(Answer a, const QString& value) { queue_.push_back({a, value}); }

DialogReply DialogScript::reply(const DialogRequest& r) {
  seen_.append(r);
  DialogReply a;
  if (!queue_.empty()) {
    a = queue_.front();
    queue_.pop_front();
  } else if (r.kind == DialogKind::Question) {
    a = {defaultQuestionAnswer, {}};
  } else if (r.kind == DialogKind::InputText || r.kind == DialogKind::InputInt ||
             r.kind == DialogKind::OpenFile) {
    a = {Answer::Cancel, {}};
  }
  answers_.append(a);
  return a;
}

QStringList DialogScript::texts() const {
  QStringList out;
  for (const DialogRequest& r : seen_) out.append(r.text);
  return out;
}

DialogRequest DialogScript::only() const {
  if (seen_.size() != 1) {
    QTest::qFail(qPrintable(u"expected exactly one dialog, saw %1: %2"_qs.arg(seen_.size())
                                .arg(texts().join(u" | "_qs))),
                 __FILE__, __LINE__);
    return {DialogKind::Message, Icon::None, {}, {}, {}, nullptr};
  }
  return seen_.front();
}

ShellCapture::ShellCapture() {
  setShellHook([this](const QString& t) { texts_.append(t); });
}
ShellCapture::~ShellCapture() { setShellHook({}); }

namespace {
QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}
}  // namespace

QString pdfText(const QString& pdf, bool layout) {
  QStringList args;
  if (layout) args << u"-layout"_qs;
  args << pdf << u"-"_qs;
  return run(u"pdftotext"_qs, args);
}

int pdfPageCount(const QString& pdf) {
  const QString info = run(u"pdfinfo"_qs, {pdf});
  const auto m = QRegularExpression(u"^Pages:\\s+(\\d+)"_qs, QRegularExpression::MultilineOption)
                     .match(info);
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

PrintCapture::PrintCapture(bool printerPresent) {
  static int serial = 0;
  dir_ = QDir::tempPath() + u"/fondaro-print-%1-%2"_qs.arg(QCoreApplication::applicationPid()).arg(++serial);
  QDir().mkpath(dir_);
  setPrinterPresent(printerPresent);
  setPrintHook([this](const PrintRequest& r, PrintDocument& doc) {
    const QString pdf = dir_ + u"/job-%1.pdf"_qs.arg(jobs_.size());
    report::writePdf(doc, pdf);
    jobs_.append({r, pdf});
    return answer;
  });
}

PrintCapture::~PrintCapture() {
  setPrintHook({});
  setPrinterPresent(std::nullopt);
  QDir(dir_).removeRecursively();
}

QString PrintCapture::text(int i, bool layout) const {
  return i >= 0 && i < jobs_.size() ? pdfText(jobs_[i].pdf, layout) : QString();
}

QStringList PrintCapture::savePages(int i, const QString& folder, const QString& name, int dpi) const {
  if (i < 0 || i >= jobs_.size()) return {};
  QDir().mkpath(folder);
  const QString prefix = folder + u'/' + name;
  run(u"pdftoppm"_qs, {u"-png"_qs, u"-r"_qs, QString::number(dpi), jobs_[i].pdf, prefix});
  QStringList out;
  for (const QString& f : QDir(folder).entryList({name + u"-*.png"_qs}, QDir::Files, QDir::Name))
    out << folder + u'/' + f;
  return out;
}

EndCapture::EndCapture() {
  setEndHook([this] { ++count_; });
}
EndCapture::~EndCapture() { setEndHook({}); }

ModalDriver::ModalDriver(std::function<void(QWidget*)> act, int timeoutMs)
    : act_(std::move(act)), timer_(new QTimer) {
  auto* t = static_cast<QTimer*>(timer_);
  auto elapsed = std::make_shared<int>(0);
  t->setInterval(10);
  QObject::connect(t, &QTimer::timeout, [this, t, elapsed, timeoutMs] {
    *elapsed += t->interval();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      t->stop();
      done_ = true;
      act_(modal);
    } else if (*elapsed > timeoutMs) {
      t->stop();
    }
  });
  t->start();
}

ModalDriver::~ModalDriver() { delete timer_; }

ProgressCanceller::ProgressCanceller(bool every) : timer_(new QTimer) {
  setProgressDelay(0);
  auto* t = static_cast<QTimer*>(timer_);
  t->setInterval(0);
  QObject::connect(t, &QTimer::timeout, [this, t, every] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QProgressDialog*>(w);
      if (!dialog || !dialog->isVisible() || dialog->wasCanceled()) continue;
      sentences_ << dialog->labelText();
      ++cancelled_;
      dialog->cancel();
      if (!every) t->stop();
      return;
    }
  });
  t->start();
}

ProgressCanceller::~ProgressCanceller() {
  delete timer_;
  setProgressDelay(500);
}

void typeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 128 && c.isPrint()) {
      QTest::keyClick(w, c.toLatin1());
    } else {
      // QTest::keyClicks refuses characters beyond ASCII.
      QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

void pressKey(QWidget* w, Qt::Key key, const QString& text) {
  QTest::sendKeyEvent(QTest::Press, w, key, text, Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Release, w, key, text, Qt::NoModifier);
}

bool showActive(QWidget* w) {
  if (!w->isVisible()) w->show();
  w->activateWindow();
  return QTest::qWaitForWindowActive(w);
}

QString saveShot(QWidget* w, const QString& folder, const QString& name) {
  QDir().mkpath(folder);
  const QString path = folder + u'/' + name + u".png"_qs;
  w->grab().save(path);
  return path;
}

}  // namespace fondaro::gui::testing
