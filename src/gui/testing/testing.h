// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for window tests: answer the program's dialogs and read what they
// said, capture what goes to the desktop's opener and the program's end, drive
// a real modal window, type any text, find controls by name.
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>

#include "gui/messages.h"
#include "gui/print.h"

namespace fondaro::gui::testing {

// While alive, every notice, question, message, input and file dialog is
// answered from a queue instead of being shown, and recorded.
class DialogScript {
 public:
  DialogScript();
  ~DialogScript();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  // The next dialogs' answers, in order; when the queue is empty, a notice or a
  // message gets OK, a question gets `defaultQuestionAnswer`, an input or file
  // dialog gets Cancel.
  void answer(Answer a, const QString& value = QString());
  Answer defaultQuestionAnswer = Answer::No;

  const QList<DialogRequest>& seen() const { return seen_; }
  // The answer each dialog got, in the same order.
  const QList<DialogReply>& answers() const { return answers_; }
  QStringList texts() const;
  // The one dialog seen, or a failure if there were none or several.
  DialogRequest only() const;
  void clear() {
    seen_.clear();
    answers_.clear();
  }

 private:
  DialogReply reply(const DialogRequest& r);
  std::deque<DialogReply> queue_;
  QList<DialogRequest> seen_;
  QList<DialogReply> answers_;
};

// While alive, the texts handed to TMisc::Open are recorded, not opened.
class ShellCapture {
 public:
  ShellCapture();
  ~ShellCapture();
  const QStringList& texts() const { return texts_; }

 private:
  QStringList texts_;
};

// While alive, what goes to the printer, the print dialog or the preview is
// recorded instead (a PDF is written and recorded too). Each document is drawn
// at once into a PDF of its own, so a test reads its text or looks at its pages
// after the window that printed it has gone.
class PrintCapture {
 public:
  // `printerPresent`: whether the system is taken to have a default printer.
  explicit PrintCapture(bool printerPresent = true);
  ~PrintCapture();
  PrintCapture(const PrintCapture&) = delete;
  PrintCapture& operator=(const PrintCapture&) = delete;

  struct Job {
    PrintRequest request;
    QString pdf;  // the document as drawn, in a scratch folder
  };
  const QList<Job>& jobs() const { return jobs_; }
  // What the next request answers (true: printed, false: cancelled).
  bool answer = true;

  // The text of job `i` as pdftotext reads it (-layout keeps each line's
  // columns); empty if the job is missing or the tool failed.
  QString text(int i = 0, bool layout = true) const;
  // Pictures of job `i`'s pages (pdftoppm, `dpi`), saved as `folder`/`name`-N.png;
  // returns the files written.
  QStringList savePages(int i, const QString& folder, const QString& name, int dpi = 60) const;

 private:
  QList<Job> jobs_;
  QString dir_;
};

// The text of a PDF as pdftotext reads it; empty when the tool fails.
QString pdfText(const QString& pdf, bool layout = true);
// The page count pdfinfo gives for a PDF; -1 when it cannot tell.
int pdfPageCount(const QString& pdf);

// While alive, ending the program is recorded, not done.
class EndCapture {
 public:
  EndCapture();
  ~EndCapture();
  int count() const { return count_; }

 private:
  int count_ = 0;
};

// Runs `act` on the next modal window that appears (a real modal window: a
// per-use window, a message box not going through DialogScript). Arm it before
// the action that opens the window; `act` typically reads it and closes it.
// Returns false from wait() if nothing appeared within the time.
class ModalDriver {
 public:
  explicit ModalDriver(std::function<void(QWidget*)> act, int timeoutMs = 5000);
  ~ModalDriver();
  bool done() const { return done_; }

 private:
  std::function<void(QWidget*)> act_;
  QObject* timer_;
  bool done_ = false;
};

// While alive, long work shows its progress dialog at once, and the first such
// dialog (or every one, with `every`) is cancelled as soon as it shows, as if
// the user pressed "Annulla". `sentences()` are the dialogs' texts.
class ProgressCanceller {
 public:
  explicit ProgressCanceller(bool every = false);
  ~ProgressCanceller();
  int cancelled() const { return cancelled_; }
  const QStringList& sentences() const { return sentences_; }

 private:
  QObject* timer_;
  int cancelled_ = 0;
  QStringList sentences_;
};

// Types text into the focused widget of `w`, one key event per character; any
// character, accented ones included.
void typeText(QWidget* w, const QString& text);
// Presses a key on `w` (down and up).
void pressKey(QWidget* w, Qt::Key key, const QString& text = QString());

// Shows a window, makes it active and waits until it is.
bool showActive(QWidget* w);

// A control of `w` by objectName, of type T; nullptr when missing.
template <class T = QWidget>
T* child(const QWidget* w, const char* name) {
  return w->findChild<T*>(QString::fromLatin1(name));
}

// Saves a picture of the window (for looking at it) under `folder`/`name`.png;
// returns the file path.
QString saveShot(QWidget* w, const QString& folder, const QString& name);

}  // namespace fondaro::gui::testing
