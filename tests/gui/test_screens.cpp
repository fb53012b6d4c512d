// SPDX-License-Identifier: GPL-3.0-or-later
// Every window on the screens users have: each of the program's windows is
// opened on the screen this run was started with (see CMakeLists.txt: a
// 1366 x 768 laptop less its task bar, 1280 x 720, 1024 x 768, 2560 x 1440 at
// double scale, full HD at 125 % and 150 %, 1600 x 900), and every visible
// control must show whole, inside its window and the screen's free area,
// without scrolling. On a high-density screen every picture and icon must have
// the screen's pixels, not be enlarged. The movement lists and the journal
// show their longest line whole, from 1600 pixels of width in the list's own
// font, below that in a smaller one down to 9 points. The print preview too.
// A picture of each window is left in artifacts()/screens-<screen>.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QToolBar>

#include "app/Avvio.h"
#include "app/CopieSicurezza.h"
#include "core/archive.h"
#include "core/filepath.h"
#include "core/journal.h"
#include "core/lists.h"
#include "gui/form.h"
#include "gui/print.h"
#include "gui/searchwindow.h"
#include "journal/Categorie.h"
#include "journal/Classifica.h"
#include "journal/MenuBilancio.h"
#include "journal/Rendiconto.h"
#include "movements/ImportaEstratto.h"
#include "movements/ImportaFatture.h"
#include "movements/MenuMovimenti.h"
#include "movements/Movimenti.h"
#include "movements/Ricorrenti.h"
#include "movements/Ripeti.h"
#include "report/report.h"
#include "report/templates.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;

namespace {

QString screenName() {
  const QScreen* s = QGuiApplication::primaryScreen();
  const QSize px = s->geometry().size() * s->devicePixelRatio();
  return u"%1x%2"_qs.arg(px.width()).arg(px.height()) +
         (s->devicePixelRatio() != 1.0 ? u"@%1x"_qs.arg(s->devicePixelRatio()) : QString());
}

// The parts of a control that the control places itself are not looked at on
// their own: a spin box's editor, a list's scroll bars and rows.
bool isComposite(const QWidget* w) {
  return qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QCalendarWidget*>(w) ||
         (qobject_cast<const QAbstractScrollArea*>(w) && !qobject_cast<const QScrollArea*>(w));
}

// The visible, named controls of a window.
void collect(QWidget* parent, QList<QWidget*>& out) {
  for (QObject* o : parent->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->isWindow() || !w->isVisible()) continue;
    const QString name = w->objectName();
    if (!name.isEmpty() && !name.startsWith(u"qt_"_qs) && !w->size().isEmpty()) out.append(w);
    if (!isComposite(w)) collect(w, out);
  }
}

QString text(const QRect& r) {
  return u"(%1,%2 %3x%4)"_qs.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString nameOf(const QWidget* w) {
  return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

// What of `w` is cut: by an ancestor's edge (a panel, the window's scroll
// area) or by the screen. Empty when the whole control shows.
QString cut(QWidget* w) {
  QRect r(QPoint(0, 0), w->size());
  QWidget* at = w;
  while (!at->isWindow()) {
    r.translate(at->pos());
    at = at->parentWidget();
    if (!at->rect().contains(r))
      return u"%1 %2 lies outside %3 %4"_qs.arg(w->objectName(), text(r), nameOf(at), text(at->rect()));
  }
  const QRect global(w->mapToGlobal(QPoint(0, 0)), w->size());
  const QRect screen = w->screen()->availableGeometry();
  if (!screen.contains(global))
    return u"%1 %2 lies off the screen's free area %3"_qs.arg(w->objectName(), text(global), text(screen));
  return {};
}

// A picture drawn with fewer pixels than the screen shows it with.
QString blurred(QWidget* w) {
  const qreal density = w->devicePixelRatioF();
  if (density <= 1.0) return {};
  if (auto* l = qobject_cast<QLabel*>(w);
      l && !l->pixmap().isNull() && l->pixmap().devicePixelRatio() < density)
    return w->objectName() + u": its picture has 1 pixel a point on a screen of "_qs +
           QString::number(density);
  if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->icon().isNull()) {
    int largest = 0;
    for (const QSize& s : b->icon().availableSizes()) largest = std::max(largest, s.height());
    if (largest < b->iconSize().height() * density)
      return w->objectName() + u": its icon is enlarged from "_qs + QString::number(largest) + u" pixels"_qs;
  }
  return {};
}

// The longest line a movement list or the journal can have shows whole,
// amount included, without scrolling: in the list's own font on a screen 1600
// pixels wide or more, in a smaller one where the list cannot widen enough,
// unless that would need a font under 9 points (the lines then scroll).
QString lineCut(gui::ListWindow* w) {
  if (!w->list()->isVisible()) return {};
  const QString name = w->objectName();
  int longest = 0;
  if (name == u"frmTrovaMovimenti"_qs || name == u"frmSospesiMov"_qs)
    longest = ListKind<TMovimento>::longest();
  else if (name == u"frmBilancio"_qs)
    longest = longestJournalLine();
  if (longest == 0) return {};
  const QFont font = w->list()->lineFont();
  const bool wide = w->screen()->availableGeometry().width() >= 1600;
  if (wide && font != w->list()->font())
    return u"its lines are drawn at %1 points, not in the list's %2"_qs.arg(font.pointSizeF())
        .arg(w->list()->font().pointSizeF());
  const int needed = QFontMetrics(font).horizontalAdvance(QString(longest, u'0'));
  const int shown = w->list()->viewport()->width();
  if (needed <= shown || (!wide && font.pointSizeF() <= gui::kSmallestLinePoints)) return {};
  return u"its longest line needs %1 pixels at %2 points, the list shows %3"_qs.arg(needed)
      .arg(font.pointSizeF())
      .arg(shown);
}

// What of window `f` does not show whole or sharp; leaves its picture as `name`.
QStringList faultsOf(QWidget* f, const QString& name, const QString& pictures) {
  QStringList faults;
  // At a fractional scale the frame's edge is rounded to a whole point: 1 point either way.
  if (!QGuiApplication::primaryScreen()->availableGeometry().adjusted(-1, -1, 1, 1).contains(f->frameGeometry()))
    faults << name + u": the window "_qs + text(f->frameGeometry()) + u" is larger than the screen "_qs +
                  text(QGuiApplication::primaryScreen()->availableGeometry());
  QList<QWidget*> controls;
  collect(f, controls);
  for (QWidget* c : controls) {
    if (const QString why = blurred(c); !why.isEmpty()) faults << name + u": "_qs + why;
    if (const QString why = cut(c); !why.isEmpty()) faults << name + u": "_qs + why;
  }
  if (auto* l = qobject_cast<gui::ListWindow*>(f)) {
    if (const QString why = lineCut(l); !why.isEmpty()) faults << name + u": "_qs + why;
  }
  saveShot(f, pictures, name);
  return faults;
}

// Each command of a toolbar is on it, whole and sharp, not put away behind the
// toolbar's extension button.
QStringList toolbarFaults(QToolBar* bar) {
  QStringList faults;
  for (QAction* a : bar->actions()) {
    if (a->isSeparator()) continue;
    QWidget* b = bar->widgetForAction(a);
    const QString name = a->objectName().isEmpty() && b ? b->objectName() : a->objectName();
    if (!b || !b->isVisible()) {
      faults << name + u": not on the toolbar"_qs;
      continue;
    }
    for (const QString& why : {blurred(b), cut(b)})
      if (!why.isEmpty()) faults << name + u": "_qs + why;
  }
  return faults;
}

}  // namespace

class ScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { prepareTestApplication(); }

  void everyWindowShowsWhole() {
    Program program;
    WindowSet& set = *program.windows;
    // The windows made for one use: their start-up instances are not enough,
    // the new ones have none.
    new TfrmImportaEstratto(set.frmMenuMovimenti);
    new TfrmImportaFatture(set.frmMenuMovimenti);
    new TfrmRicorrenti(set.frmMenuMovimenti);
    new TfrmRipeti(set.frmMovimenti);
    new TfrmCopieSicurezza(set.frmAvvio);
    new TfrmCategorie(set.frmMenuBilancio, QDate(2024, 1, 1), QDate(2024, 12, 31));
    new TfrmRendiconto(set.frmMenuBilancio, 2024);
    new TfrmClassifica(set.frmMenuBilancio, {}, {});
    // A year with one movement whose every field is full: the longest line.
    const QString year = movementArchivePath(program.folder(), u"2024"_qs);
    {
      TMovimento full{};
      for (int f = 0; f < int(TMovimento::fields().size()); ++f)
        setFieldText(full, f, QString(TMovimento::fields()[f].capacity, u'9'));
      MovementArchive a = MovementArchive::OpenOrCreate(year);
      a.Append(full);
      a.Close();
    }
    set.frmMovimenti->setArchiveFile(year);

    QList<gui::Form*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<gui::Form*>(w)) windows.append(f);
    std::sort(windows.begin(), windows.end(),
              [](gui::Form* a, gui::Form* b) { return a->creationOrder() < b->creationOrder(); });
    QCOMPARE(windows.size(), 36);

    const QString pictures = artifacts() + u"/screens-"_qs + screenName();
    QStringList faults;
    const auto look = [&](gui::Form* f, const QString& name) { faults << faultsOf(f, name, pictures); };
    for (gui::Form* f : windows) {
      f->present();
      QVERIFY2(QTest::qWaitForWindowExposed(f), qPrintable(f->objectName()));
      QTest::qWait(20);
      program.dialogs.clear();
      look(f, f->objectName());
      // A search window's second face: its results.
      if (auto* search = qobject_cast<gui::SearchWindow*>(f)) {
        search->btnCercaClick();
        program.dialogs.clear();
        look(f, f->objectName() + u"-risultati"_qs);
      }
      f->hide();
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
  }

  // The print preview, opened on a list of several pages as a user opens it.
  void thePreviewShowsWhole() {
    QStringList lines;
    for (int i = 1; i <= 160; ++i) lines << u"Riga %1 dell'elenco"_qs.arg(i);
    report::Report list = report::listReport(u"Riepilogo movimenti in archivio"_qs, lines);
    QStringList faults;
    bool seen = false;
    ModalDriver driver([&](QWidget* w) {
      if ((seen = w->objectName() == u"frmAnteprima"_qs) && QTest::qWaitForWindowExposed(w)) {
        faults << faultsOf(w, u"frmAnteprima"_qs, artifacts() + u"/screens-"_qs + screenName());
        if (auto* bar = w->findChild<QToolBar*>(u"barAnteprima"_qs)) faults << toolbarFaults(bar);
      }
      w->close();
    });
    QVERIFY(gui::print(nullptr, list, gui::PrintTarget::Preview));
    QVERIFY(driver.done());
    QVERIFY(seen);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
  }
};

QTEST_MAIN(ScreensTest)
#include "test_screens.moc"
