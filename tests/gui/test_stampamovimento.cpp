// SPDX-License-Identifier: GPL-3.0-or-later
// The card printout: what the editor's controls hold at that moment goes on one
// A4 sheet under its captions, with the date and time of printing; one print
// per opening; no printer means a notice and nothing printed.
#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "movements/Movimenti.h"
#include "movements/StampaMovimento.h"
#include "report/report.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;

namespace {

// Every row: its caption, the editor control, and a value that shows it printed.
struct Row {
  const char* caption;
  const char* control;
  const char* value;
};
const Row kRows[] = {
    {"Data operazione:", "txtData", "07/03/2024"},
    {"Causale:", "txtCausale", "Bolletta luce e gas"},
    {"Promemoria:", "txtPromemoria", "Pagare entro venerdì"},
    {"Data scadenza:", "txtDataSca", "31/03/2024"},
    {"Giorni preavviso:", "txtPreavviso", "5"},
    {"Importo in euro:", "txtImporto", "1.234,50"},
    {"Pagatore:", "txtPagatore", "Mario Rossi"},
    {"Recapito:", "txtRecapitoPag", "Via Roma 1, Città di Castello"},
    {"Codice fiscale:", "txtCodFisc", "RSSMRA80A01H501U"},
    {"Partita IVA:", "txtPartitaIva", "01234567890"},
    {"Categoria:", "txtCategoria", "Utenze"},
    {"E-mail:", "txtEmail", "mario.rossi@example.it"},
    {"Modalità pagamento:", "txtPagamento", "Bonifico bancario"},
    {"Beneficiario:", "txtBeneficiario", "Società Elettrica S.p.A."},
    {"Recapito:", "txtRecapitoBen", "Piazza Duomo 2"},
    {"CRO / Ricevuta n.", "txtRicevuta", "CRO 998877"},
    {"Tariffa applicata:", "txtTariffa", "Bioraria"},
    {"Note:", "txtNote", "[DATE] consegnata a mano (vedi [allegato])"},
};

}  // namespace

class TestStampaMovimento : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  TfrmMovimenti* editor() const { return p->windows->frmMovimenti; }
  QLineEdit* edit(const char* name) const { return child<QLineEdit>(editor(), name); }

  void openEditor() {
    editor()->setArchiveFile(p->folder() + u"/2024.eur"_qs);
    gui::switchTo(nullptr, editor());
    editor()->setWindowState(Qt::WindowNoState);
    editor()->setGeometry(0, 0, 1280, 1000);
    QVERIFY(QTest::qWaitForWindowActive(editor()));
  }

  // Opens the card print window with the editor's button and presses `button`.
  void printWith(const char* button, const QString& shot = QString()) {
    ModalDriver driver([&](QWidget* w) {
      QCOMPARE(w->objectName(), u"frmStampaMovimento"_qs);
      if (!shot.isEmpty()) saveShot(w, artifacts(), shot);
      child<QPushButton>(w, button)->click();
    });
    child<QAbstractButton>(editor(), "cmdStampa")->click();
    QVERIFY(driver.done());
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void theCardPrintsTheEditorsUnsavedTexts() {
    openEditor();
    for (const Row& r : kRows) edit(r.control)->setText(u"  "_qs + QString::fromUtf8(r.value) + u" "_qs);
    child<QRadioButton>(editor(), "optEntrata")->setChecked(true);
    child<QCheckBox>(editor(), "chkSaldato")->setChecked(true);

    PrintCapture printer;
    const QDateTime before = QDateTime::currentDateTime();
    printWith("btnStampa", u"stampa-movimento"_qs);
    const QDateTime after = QDateTime::currentDateTime();

    QCOMPARE(printer.jobs().size(), 1);
    const gui::PrintRequest& r = printer.jobs()[0].request;
    QCOMPARE(r.target, gui::PrintTarget::Printer);
    QCOMPARE(r.title, u"Scheda Movimento"_qs);
    QCOMPARE(r.pageCount, 1);
    QCOMPARE(r.copies, 1);
    QCOMPARE(r.layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(r.layout.pageSize().id(), QPageSize::A4);
    QVERIFY(p->dialogs.seen().isEmpty());
    QVERIFY(!QFile::exists(p->folder() + u"/2024.eur"_qs));  // the archive is not read or written

    // Caption and value on the same printed line, the value trimmed.
    const QStringList lines = printer.text().split(u'\n');
    const auto rowOf = [&](const QString& caption, const QString& value) {
      const QRegularExpression row(u"^\\s*"_qs + QRegularExpression::escape(caption) + u"\\s+"_qs +
                                   QRegularExpression::escape(value) + u"\\s*$"_qs);
      for (const QString& line : lines)
        if (row.match(line).hasMatch()) return true;
      return false;
    };
    QVERIFY2(rowOf(u"Tipo movimento:"_qs, u"Entrata"_qs), qPrintable(printer.text()));
    for (const Row& row : kRows)
      QVERIFY2(rowOf(QString::fromUtf8(row.caption), QString::fromUtf8(row.value)), row.control);
    QVERIFY(rowOf(u"Saldato:"_qs, u"Sì"_qs));
    QVERIFY(printer.text().contains(u"SCHEDA INFORMATIVA MOVIMENTO"_qs));

    // The footer: the moment of printing.
    const QRegularExpression footer(u"Stampa eseguita in data (\\d\\d/\\d\\d/\\d{4}) alle ore (\\d\\d:\\d\\d:\\d\\d)"_qs);
    const auto m = footer.match(printer.text());
    QVERIFY2(m.hasMatch(), qPrintable(printer.text()));
    const QDateTime printed(QDate::fromString(m.captured(1), u"dd/MM/yyyy"_qs),
                            QTime::fromString(m.captured(2), u"HH:mm:ss"_qs));
    QVERIFY(printed.addSecs(1) >= before && printed <= after.addSecs(1));
    QVERIFY(!QApplication::activeModalWidget());  // one print, then the window is gone
    printer.savePages(0, artifacts(), u"scheda-movimento"_qs, 80);
  }

  void aNewCardPrintsEmptyValuesAsUscitaAndNotPaid() {
    openEditor();
    child<QRadioButton>(editor(), "optUscita")->setChecked(true);
    child<QCheckBox>(editor(), "chkSaldato")->setChecked(false);
    for (const Row& r : kRows) edit(r.control)->clear();
    PrintCapture printer;
    printWith("btnStampa");
    QCOMPARE(printer.jobs().size(), 1);
    const QString text = printer.text();
    QVERIFY(QRegularExpression(u"Tipo movimento:\\s+Uscita"_qs).match(text).hasMatch());
    QVERIFY(QRegularExpression(u"Saldato:\\s+No"_qs).match(text).hasMatch());
    QVERIFY(QRegularExpression(u"Causale:\\s*\\n"_qs).match(text).hasMatch());
  }

  void aLongValueIsCutAtItsEdgeNotWrapped() {
    openEditor();
    edit("txtCausale")->setMaxLength(1000);
    edit("txtCausale")->setText(u"Inizio "_qs + QString(200, u'x') + u" FINECAUSALE"_qs);
    PrintCapture printer;
    printWith("btnStampa");
    const QString text = printer.text();
    QVERIFY(text.contains(u"Inizio xxxx"_qs));
    QVERIFY2(!text.contains(u"FINECAUSALE"_qs), qPrintable(text));
  }

  void annullaClosesWithoutPrinting() {
    openEditor();
    PrintCapture printer;
    printWith("btnAnnulla");
    QVERIFY(printer.jobs().isEmpty());
  }

  void noPrinterGivesTheNoticeAndClosesTheWindow() {
    openEditor();
    PrintCapture printer(false);
    printWith("btnStampa");
    QVERIFY(printer.jobs().isEmpty());
    QCOMPARE(p->dialogs.only().text, gui::noPrinterText());
    QVERIFY(!QApplication::activeModalWidget());
  }
};

QTEST_MAIN(TestStampaMovimento)
#include "test_stampamovimento.moc"
