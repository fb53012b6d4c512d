// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics: the year window with its three boxes, the chart windows it
// opens (figures, bars and pie, printing questions, help), and the warning
// for an amount that cannot be read.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/Avvio.h"
#include "app/Password.h"
#include "chart/chart.h"
#include "core/archive.h"
#include "../common/records.h"
#include "core/records.h"
#include "gui/form.h"
#include "gui/guide.h"
#include "stats/MenuStats.h"
#include "stats/StatsWindow.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;
using fondaro::gui::DialogKind;
using fondaro::gui::Icon;

namespace {

const QString kYearNeeded = u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs;

QString currentYear() { return QString::number(QDate::currentDate().year()); }

TMovimento movement(bool in, const char* date, const char* amount, bool paid = false) {
  TMovimento r = testdata::movement(u"Quota", QString::fromLatin1(date), QString::fromLatin1(amount), in);
  if (paid) r.Saldato.set(kSi);
  return r;
}

// A picture of a window's container, whole whatever the screen's size.
void shot(QWidget* w, const QString& name) {
  QDir().mkpath(artifacts());
  child<QWidget>(w, "panContainer")->grab().save(QDir(artifacts()).filePath(name + u".png"_qs));
}

// What a chart window showed while it was open.
struct Seen {
  QString caption;
  QString title;
  QString file;
  QString info;
  QString rigo04;
  std::vector<chart::Point> points;
  chart::SeriesKind kind = chart::SeriesKind::Bars;
  QStringList mems;
};

}  // namespace

class TestStats : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  QWidget* menu() { return p->windows->frmMenuStats; }
  QLineEdit* field(const char* name) { return child<QLineEdit>(menu(), name); }

  void openMenu() {
    p->windows->frmPassword->present();
    gui::switchTo(p->windows->frmPassword, p->windows->frmAvvio);
    QVERIFY(QTest::qWaitForWindowActive(p->windows->frmAvvio));
    p->windows->frmAvvio->imgApp04Click();
    QVERIFY(QTest::qWaitForWindowActive(menu()));
  }
  void setYear(const char* name, const QString& year) {
    field(name)->clear();
    field(name)->setFocus();
    typeText(field(name), year);
  }
  void writeArchive(const QString& year, std::initializer_list<TMovimento> recs) {
    auto a = MovementArchive::OpenOrCreate(p->folder() + year + u".eur"_qs);
    for (const TMovimento& r : recs) a.Append(r);
  }

  // Clicks `button` of the year window, lets `during` act on the chart window
  // while it is open, then closes it with "Esci".
  Seen openChart(const char* button, std::function<void(StatsWindow*)> during = {}, const char* shotName = nullptr) {
    Seen s;
    ModalDriver driver([&](QWidget* w) {
      QCoreApplication::processEvents();
      auto* sw = qobject_cast<StatsWindow*>(w);
      if (!sw) return;
      s.caption = w->windowTitle();
      s.title = child<QLabel>(w, "lblTitolo")->text();
      s.file = child<QLabel>(w, "lblFile")->text();
      s.info = child<QLabel>(w, "panInfo")->text();
      s.rigo04 = child<QLabel>(w, "lblRigo04")->text();
      for (QLabel* l : w->findChildren<QLabel*>())
        if (l->objectName().startsWith(u"mem"_qs)) s.mems << l->objectName() + u'=' + l->text();
      s.mems.sort();
      if (shotName) shot(w, QString::fromLatin1(shotName));
      if (during) during(sw);
      s.points = sw->chart().points();
      s.kind = sw->chart().seriesKind();
      child<QPushButton>(w, "btnEsci")->click();
    });
    child<QPushButton>(menu(), button)->click();
    if (!driver.done()) qWarning("the chart window did not open");
    return s;
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void theYearWindowProposesTheCurrentYearInEachBox() {
    openMenu();
    QCOMPARE(menu()->windowTitle(), u" Fondaro 3.0 - Grafici Statistici"_qs);
    for (const char* f : {"txtAnnoPreventivi", "txtAnnoNDC", "txtAnnoDDT"}) QCOMPARE(field(f)->text(), currentYear());
    QCOMPARE(QApplication::focusWidget(), field("txtAnnoPreventivi"));
    QCOMPARE(child<QLabel>(menu(), "lblInformazioni")->text(),
             u"In questo ambiente è possibile visualizzare grafici statistici tridimensionali relativi alle entrate "
             "e uscite mensili e al bilancio annuale."_qs);
    QCOMPARE(child<QLabel>(menu(), "intAnnoPreventivi")->text(), u"Entrate mensili:"_qs);
    QCOMPARE(child<QLabel>(menu(), "intAnnoNDC")->text(), u"Uscite mensili:"_qs);
    QCOMPARE(child<QLabel>(menu(), "intAnnoDDT")->text(), u"Bilancio annuale:"_qs);
    for (const char* b : {"btnApriPreventivi", "btnApriNDC", "btnApriDDT"})
      QCOMPARE(child<QPushButton>(menu(), b)->text(), u"Visualizza"_qs);
    QVERIFY(!child<QLabel>(menu(), "lblFile")->isVisible());
    shot(menu(), u"stats-year-window"_qs);

    // Shown again from the launcher, the boxes start over.
    setYear("txtAnnoNDC", u"1999"_qs);
    child<QToolButton>(menu(), "imgEsci")->click();
    QVERIFY(p->windows->frmAvvio->isVisible());
    QVERIFY(!menu()->isVisible());
    p->windows->frmAvvio->imgApp04Click();
    QVERIFY(QTest::qWaitForWindowActive(menu()));
    QCOMPARE(field("txtAnnoNDC")->text(), currentYear());
  }

  void yearFieldsTakeFourDigitsAndEnterOnlyMovesOn_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("button");
    QTest::newRow("income") << u"txtAnnoPreventivi"_qs << u"btnApriPreventivi"_qs;
    QTest::newRow("expense") << u"txtAnnoNDC"_qs << u"btnApriNDC"_qs;
    QTest::newRow("balance") << u"txtAnnoDDT"_qs << u"btnApriDDT"_qs;
  }
  void yearFieldsTakeFourDigitsAndEnterOnlyMovesOn() {
    QFETCH(QString, name);
    QFETCH(QString, button);
    openMenu();
    const QByteArray n = name.toLatin1();
    setYear(n.constData(), u"2a0 2-45"_qs);
    QCOMPARE(field(n.constData())->text(), u"2024"_qs);
    pressKey(field(n.constData()), Qt::Key_Return, u"\r"_qs);
    QCOMPARE(QApplication::focusWidget()->objectName(), button);
    QVERIFY(p->dialogs.seen().isEmpty());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
  }

  void aYearOfFewerThanFourDigitsIsRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::newRow("income empty") << u"txtAnnoPreventivi"_qs << u"btnApriPreventivi"_qs << QString();
    QTest::newRow("expense three digits") << u"txtAnnoNDC"_qs << u"btnApriNDC"_qs << u"202"_qs;
    QTest::newRow("balance one digit") << u"txtAnnoDDT"_qs << u"btnApriDDT"_qs << u"7"_qs;
  }
  void aYearOfFewerThanFourDigitsIsRefused() {
    QFETCH(QString, name);
    QFETCH(QString, button);
    QFETCH(QString, typed);
    openMenu();
    const QByteArray n = name.toLatin1();
    setYear(n.constData(), typed);
    child<QPushButton>(menu(), button.toLatin1().constData())->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.kind, DialogKind::Notice);
    QCOMPARE(shown.icon, Icon::Warning);
    QCOMPARE(shown.text, kYearNeeded);
    QCOMPARE(QApplication::focusWidget(), field(n.constData()));
    QVERIFY(child<QLabel>(menu(), "lblFile")->text().isEmpty());
    QVERIFY(QDir(p->folder()).entryList({u"*.eur"_qs}).isEmpty());
  }

  // Each box opens its own chart with its own year; the archive of a year
  // without one is created and the chart shows zeros.
  void eachBoxOpensItsChartForItsYear() {
    openMenu();
    setYear("txtAnnoPreventivi", u"2024"_qs);
    setYear("txtAnnoNDC", u"2023"_qs);
    setYear("txtAnnoDDT", u"2022"_qs);
    writeArchive(u"2024"_qs, {movement(true, "02/01/2024", "0,40"), movement(true, "20/01/2024", "0,20", true),
                              movement(true, "15/03/2024", "1234,50"), movement(false, "15/03/2024", "99,00"),
                              movement(true, "15/03/2023", "500,00")});
    writeArchive(u"2023"_qs, {movement(false, "01/12/2023", "7,50"), movement(false, "01/12/2024", "8,00")});

    const Seen in = openChart("btnApriPreventivi", {}, "stats-entrate-bars");
    QCOMPARE(in.caption, u" Fondaro 3.0 - Statistiche entrate mensili"_qs);
    QCOMPARE(in.title, u"Rappresentazione grafica delle entrate mensili dell'anno 2024."_qs);
    QCOMPARE(in.file, p->folder() + u"2024.eur"_qs);
    QCOMPARE(in.info, u"Grafico statistico delle entrate mensili."_qs);
    QCOMPARE(in.rigo04, u"Il presente grafico statistico mostra le entrate relative a ciascun mese dell'anno in base "
                        "ai movimenti registrati."_qs);
    const QStringList months = {u"Gennaio"_qs, u"Febbraio"_qs, u"Marzo"_qs,     u"Aprile"_qs,
                                u"Maggio"_qs,  u"Giugno"_qs,   u"Luglio"_qs,    u"Agosto"_qs,
                                u"Settembre"_qs, u"Ottobre"_qs, u"Novembre"_qs, u"Dicembre"_qs};
    const QList<QRgb> colours = {0xFFFF0000, 0xFF0000FF, 0xFFFFE4C4, 0xFFFF00FF, 0xFFC0DCC0, 0xFFFFFF00,
                                 0xFF00FF00, 0xFFC0C0C0, 0xFFF0FBFF, 0xFF87CEEB, 0xFF800000, 0xFF008000};
    QCOMPARE(in.points.size(), size_t(12));
    for (int i = 0; i < 12; ++i) {
      QCOMPARE(in.points[size_t(i)].label, months[i]);
      QCOMPARE(in.points[size_t(i)].colour.rgba(), colours[i]);
      QCOMPARE(in.points[size_t(i)].value, i == 0 ? 1.0 : i == 2 ? 1235.0 : 0.0);
    }
    QVERIFY(in.mems.contains(u"memGennaio=1"_qs));
    QVERIFY(in.mems.contains(u"memMarzo=1235"_qs));

    const Seen out = openChart("btnApriNDC", {}, "stats-uscite-bars");
    QCOMPARE(out.caption, u" Fondaro 3.0 - Statistiche uscite mensili"_qs);
    QCOMPARE(out.title, u"Rappresentazione grafica delle uscite mensili dell'anno 2023."_qs);
    QCOMPARE(out.file, p->folder() + u"2023.eur"_qs);
    QCOMPARE(out.info, u"Grafico statistico delle uscite mensili."_qs);
    QCOMPARE(out.points[11].value, 8.0);  // 7,50 of 2023; the 2024 date is left out
    QCOMPARE(out.points[2].value, 0.0);

    const Seen bal = openChart("btnApriDDT");
    QCOMPARE(bal.caption, u" Fondaro 3.0 - Statistiche bilancio annuale"_qs);
    QCOMPARE(bal.title, u"Rappresentazione grafica del bilancio entrate e uscite dell'anno 2022."_qs);
    QCOMPARE(bal.info, u"Grafico statistico del bilancio annuale."_qs);
    QVERIFY(QFile::exists(p->folder() + u"2022.eur"_qs));
    QCOMPARE(bal.points.size(), size_t(2));
    QCOMPARE(bal.points[0].label, u"Entrate"_qs);
    QCOMPARE(bal.points[0].colour.rgba(), 0xFF008000u);
    QCOMPARE(bal.points[1].label, u"Uscite"_qs);
    QCOMPARE(bal.points[1].colour.rgba(), 0xFFFF0000u);
    QCOMPARE(bal.points[0].value, 0.0);
    QCOMPARE(bal.mems, (QStringList{u"memGuadagni=0"_qs, u"memSpese=0"_qs}));
    QVERIFY(p->dialogs.seen().isEmpty());
    QVERIFY(menu()->isVisible());
  }

  // The three chart windows each show their own picture beside the title.
  void eachChartWindowHasItsOwnPicture() {
    openMenu();
    QList<QImage> pictures;
    for (const char* b : {"btnApriPreventivi", "btnApriNDC", "btnApriDDT"})
      openChart(b, [&](StatsWindow* w) { pictures << child<QLabel>(w, "imgFattura")->pixmap().toImage(); });
    QCOMPARE(pictures.size(), 3);
    for (const QImage& picture : pictures) QVERIFY(!picture.isNull());
    QVERIFY(pictures[0] != pictures[1]);
    QVERIFY(pictures[1] != pictures[2]);
    QVERIFY(pictures[0] != pictures[2]);
  }

  void theBalanceCountsEveryRecordOfTheArchive() {
    openMenu();
    writeArchive(currentYear(), {movement(true, "01/01/2000", "1000,50"), movement(false, "31/12/1999", "999,49"),
                                 movement(true, "", "0,00")});
    const Seen s = openChart("btnApriDDT", {}, "stats-bilancio-bars");
    QCOMPARE(s.points[0].value, 1001.0);
    QCOMPARE(s.points[1].value, 999.0);
    openChart("btnApriDDT", [](StatsWindow* w) { child<QPushButton>(w, "btnTorta")->click(); }, nullptr);
  }

  void theSwitchKeepsThePoints() {
    openMenu();
    setYear("txtAnnoPreventivi", u"2024"_qs);
    writeArchive(u"2024"_qs, {movement(true, "02/01/2024", "120,00"), movement(true, "02/05/2024", "80000,00"),
                              movement(true, "02/11/2024", "1999999,00")});
    std::vector<chart::Point> before;
    std::vector<chart::SeriesKind> kinds;
    const Seen s = openChart("btnApriPreventivi", [&](StatsWindow* w) {
      before = w->chart().points();
      child<QPushButton>(w, "btnTorta")->click();
      kinds.push_back(w->chart().seriesKind());
      QVERIFY(w->chart().view3D() && w->chart().orthogonal());
      shot(w, u"stats-entrate-pie"_qs);
      child<QPushButton>(w, "btnBarre")->click();
      kinds.push_back(w->chart().seriesKind());
      child<QPushButton>(w, "btnTorta")->click();
    });
    QCOMPARE(kinds, (std::vector<chart::SeriesKind>{chart::SeriesKind::Pie, chart::SeriesKind::Bars}));
    QCOMPARE(s.kind, chart::SeriesKind::Pie);
    QCOMPARE(s.points.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
      QCOMPARE(s.points[i].label, before[i].label);
      QCOMPARE(s.points[i].value, before[i].value);
      QCOMPARE(s.points[i].colour, before[i].colour);
    }
    // A new opening starts with bars.
    QCOMPARE(openChart("btnApriPreventivi").kind, chart::SeriesKind::Bars);
  }

  // The computation stops at an amount that is not a number: the chart stays
  // empty and a warning names the card to correct.
  void anAmountThatIsNotANumberIsReported() {
    openMenu();
    setYear("txtAnnoNDC", u"2024"_qs);
    writeArchive(u"2024"_qs, {movement(false, "02/01/2024", "5,00"), movement(false, "02/02/2024", "1.234,50")});
    const Seen s = openChart("btnApriNDC", {}, "stats-uscite-bad-amount");
    QVERIFY(s.points.empty());
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.kind, DialogKind::Notice);
    QCOMPARE(shown.icon, Icon::Warning);
    QVERIFY2(shown.text.contains(u"scheda n. 2"_qs) && shown.text.contains(u"1.234,50"_qs), qPrintable(shown.text));
  }

  // A year whose archive cannot be opened (here a folder holds its name):
  // the chart stays empty and the program's archive message says why.
  void anArchiveThatCannotBeReadIsReported() {
    openMenu();
    setYear("txtAnnoDDT", u"2024"_qs);
    QVERIFY(QDir(p->folder()).mkdir(u"2024.eur"_qs));
    const Seen s = openChart("btnApriDDT");
    QVERIFY(s.points.empty());
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.icon, Icon::Error);
    QCOMPARE(shown.text, archiveAccessMessage());
  }

  void hoverSentencesAndHelp() {
    openMenu();
    QString guideTitle, guideText;
    QStringList hover;
    openChart("btnApriNDC", [&](StatsWindow* w) {
      for (const char* b : {"btnBarre", "btnTorta", "btnStampa", "btnEsci", "cmdGuida"})
        hover << child<QWidget>(w, b)->accessibleDescription();
      QCOMPARE(child<QPushButton>(w, "btnBarre")->text(), u"Visualizza grafico a barre"_qs);
      QCOMPARE(child<QPushButton>(w, "btnTorta")->text(), u"Visualizza grafico a torta"_qs);
      QCOMPARE(child<QPushButton>(w, "btnStampa")->text(), u"Stampa grafico"_qs);
      QCOMPARE(child<QPushButton>(w, "btnEsci")->text(), u"Esci"_qs);
      QCOMPARE(child<QLabel>(w, "lblRigo05")->text(),
               u"Servirsi dei pulsanti in calce per visualizzare il tipo di grafico desiderato e per mandarlo in "
               "stampa."_qs);
      ModalDriver guide([&](QWidget* g) {
        guideTitle = child<QLabel>(g, "lblTitolo")->text();
        guideText = child<QPlainTextEdit>(g, "txtGuida")->toPlainText();
        g->close();
      });
      child<QToolButton>(w, "cmdGuida")->click();
    });
    QCOMPARE(hover, (QStringList{
                        u"Visualizza le statistiche delle uscite mensili sotto forma di grafico a barre tridimensionali."_qs,
                        u"Visualizza le statistiche delle uscite mensili sotto forma di grafico a torta tridimensionale."_qs,
                        u"Stampa il grafico corrente."_qs,
                        u"Esci da questo ambiente di lavoro."_qs,
                        u"Visualizza la pagina della guida sensibile al contesto."_qs}));
    QCOMPARE(guideTitle, u"Applicazione Grafici Statistici."_qs);
    const QStringList paragraphs = gui::guidePage(u"grafici"_qs).split(u"\r\n\r\n"_qs);
    QCOMPARE(paragraphs.size(), 6);
    QCOMPARE(guideText.split(u"\n\n"_qs), paragraphs);
  }

  void copiesAnswers_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("copies");  // -1: above the limit
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("blanks") << u"   "_qs << 1;
    QTest::newRow("letters") << u"due"_qs << 1;
    QTest::newRow("digits and a sign") << u"-3"_qs << 1;
    QTest::newRow("trimmed digits") << u" 3 "_qs << 3;
    QTest::newRow("leading zeros") << u"007"_qs << 7;
    QTest::newRow("zero") << u"0"_qs << 0;
    QTest::newRow("the limit") << u"999"_qs << 999;
    QTest::newRow("above") << u"1000"_qs << -1;
    QTest::newRow("beyond an integer") << u"99999999999999999999"_qs << -1;
  }
  void copiesAnswers() {
    QFETCH(QString, answer);
    QFETCH(int, copies);
    const std::optional<int> got = copiesFromAnswer(answer, 999);
    QCOMPARE(got.value_or(-1), copies);
  }

  // The question, then the copies dialog, then the print dialog with the
  // copies preset. No or Cancel ends there, 0 copies prints nothing, too many
  // copies is refused with a warning.
  void printingAsksFirst_data() {
    QTest::addColumn<QList<int>>("answers");  // Answer values, in order
    QTest::addColumn<QString>("copies");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<int>("printed");  // copies handed to the print dialog; 0: no job
    QTest::newRow("no") << QList<int>{int(Answer::No)} << QString() << 1 << 0;
    QTest::newRow("cancel the copies") << QList<int>{int(Answer::Yes), int(Answer::Cancel)} << QString() << 2 << 0;
    QTest::newRow("empty answer") << QList<int>{int(Answer::Yes), int(Answer::Ok)} << QString() << 2 << 1;
    QTest::newRow("not digits") << QList<int>{int(Answer::Yes), int(Answer::Ok)} << u"tre"_qs << 2 << 1;
    QTest::newRow("three") << QList<int>{int(Answer::Yes), int(Answer::Ok)} << u" 3 "_qs << 2 << 3;
    QTest::newRow("zero copies") << QList<int>{int(Answer::Yes), int(Answer::Ok)} << u"0"_qs << 2 << 0;
    QTest::newRow("too many") << QList<int>{int(Answer::Yes), int(Answer::Ok)} << u"5000"_qs << 3 << 0;
  }
  void printingAsksFirst() {
    QFETCH(QList<int>, answers);
    QFETCH(QString, copies);
    QFETCH(int, dialogs);
    QFETCH(int, printed);
    PrintCapture printer;
    openMenu();
    openChart("btnApriPreventivi", [&](StatsWindow* w) {
      p->dialogs.clear();
      for (int a : answers) p->dialogs.answer(Answer(a), copies);
      child<QPushButton>(w, "btnStampa")->click();
    });
    const auto seen = p->dialogs.seen();
    QCOMPARE(seen.size(), dialogs);
    QCOMPARE(seen[0].kind, DialogKind::Question);
    QCOMPARE(seen[0].text, u"Si vuole stampare il presente grafico statistico?"_qs);
    if (dialogs > 1) {
      QCOMPARE(seen[1].kind, DialogKind::InputText);
      QCOMPARE(seen[1].title, u"Numero copie da stampare"_qs);
      QCOMPARE(seen[1].text, u"Copie:"_qs);
      QCOMPARE(seen[1].value, u"1"_qs);
    }
    if (dialogs > 2) QCOMPARE(seen[2].icon, Icon::Warning);
    QCOMPARE(printer.jobs().size(), printed ? 1 : 0);
    if (printed) {
      QCOMPARE(printer.jobs()[0].request.target, gui::PrintTarget::PrintDialog);
      QCOMPARE(printer.jobs()[0].request.copies, printed);
    }
  }

  // The page printed is the chart as shown, in its current form, landscape.
  void thePrintedPageIsTheChartAsShown() {
    PrintCapture printer;
    openMenu();
    setYear("txtAnnoNDC", u"2024"_qs);
    writeArchive(u"2024"_qs, {movement(false, "02/01/2024", "1234,50"), movement(false, "02/09/2024", "1999999,00"),
                              movement(false, "02/10/2024", "0,49")});
    for (const char* form : {"btnBarre", "btnTorta"}) {
      openChart("btnApriNDC", [&](StatsWindow* w) {
        child<QPushButton>(w, form)->click();
        p->dialogs.answer(Answer::Yes);
        p->dialogs.answer(Answer::Ok, u"1"_qs);
        child<QPushButton>(w, "btnStampa")->click();
      });
    }
    QCOMPARE(printer.jobs().size(), 2);
    for (int i = 0; i < 2; ++i) {
      const auto& r = printer.jobs()[i].request;
      QCOMPARE(r.title, u"Statistiche uscite mensili"_qs);
      QCOMPARE(r.pageCount, 1);
      QCOMPARE(r.layout.orientation(), QPageLayout::Landscape);
      const QString text = printer.text(i);
      for (const QString& s : {u"Statistiche uscite mensili"_qs, u"Uscite mensili:"_qs,
                               u"Tutti gli importi sono arrotondati all'euro"_qs, u"Gennaio"_qs, u"Dicembre"_qs,
                               u"1235"_qs, u"1999999"_qs})
        QVERIFY2(text.contains(s), qPrintable(s + u" missing in\n"_qs + text));
      printer.savePages(i, artifacts(), i == 0 ? u"stats-print-bars"_qs : u"stats-print-pie"_qs);
    }
  }
};

QTEST_MAIN(TestStats)
#include "test_stats.moc"
