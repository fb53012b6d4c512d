// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Importa fatture elettroniche": the company's identifiers asked
// the first time and checked, files chosen several at once, every instalment
// listed with its state and tick, the readable copy of the selected invoice,
// the import with its summary, the year and its due list opened from the
// year window, and reading cancelled.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>

#include "core/archive.h"
#include "core/attachments.h"
#include "core/invoiceimport.h"
#include "app/Avvio.h"
#include "app/Password.h"
#include "gui/pageview.h"
#include "gui/product.h"
#include "gui/progress.h"
#include "movements/ImportaFatture.h"
#include "movements/MenuMovimenti.h"
#include "movements/Movimenti.h"
#include "movements/SospesiMov.h"
#include "../core/test_support.h"
#include "invoice_samples.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;
using fondaro::gui::DialogKind;

namespace {

// Two instalments of 61,00, the second due 60 days after the date.
QByteArray twoInstalments() {
  const QString payment = QStringLiteral(
      "<DatiPagamento><CondizioniPagamento>TP01</CondizioniPagamento>"
      "<DettaglioPagamento><ModalitaPagamento>MP05</ModalitaPagamento>"
      "<DataScadenzaPagamento>2024-04-30</DataScadenzaPagamento><ImportoPagamento>61.00</ImportoPagamento>"
      "</DettaglioPagamento><DettaglioPagamento><ModalitaPagamento>MP05</ModalitaPagamento>"
      "<DataScadenzaPagamento>2024-05-31</DataScadenzaPagamento><ImportoPagamento>61.00</ImportoPagamento>"
      "</DettaglioPagamento></DatiPagamento>");
  return invoiceFile(invoiceBody(u"TD01"_qs, u"31"_qs, u"2024-03-20"_qs,
                                 invoiceLine(1, u"Toner"_qs, u"2.00"_qs, u"50.00"_qs, u"100.00"_qs), u"122.00"_qs,
                                 payment));
}

}  // namespace

class TestImportaFatture : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  std::unique_ptr<TfrmImportaFatture> w;

  QString archive(int year) const { return movementArchivePath(p->folder(), QString::number(year)); }
  std::vector<TMovimento> records(int year) const {
    std::vector<TMovimento> out;
    if (!QFile::exists(archive(year))) return out;
    const auto a = MovementArchive::OpenExisting(archive(year), RecordFile::Access::ReadOnly);
    for (qint64 i = 1; i <= a.Count(); ++i) out.push_back(a.ReadAt(i));
    return out;
  }
  QString invoice(const QString& name, const QByteArray& bytes) {
    const QString path = p->dir.filePath(u"fatture/"_qs + name);
    QDir().mkpath(p->dir.filePath(u"fatture"_qs));
    fondaro::testing::writeAll(path, bytes);
    return path;
  }
  QTableView* table() const { return child<QTableView>(w.get(), "tblFatture"); }
  QModelIndex at(int row, int column) const { return table()->model()->index(row, column); }
  QString cell(int row, int column) const { return at(row, column).data().toString(); }
  QString counts() const { return child<QLabel>(w.get(), "lblConteggio")->text(); }
  gui::PageView* copy() const { return child<gui::PageView>(w.get(), "viewCopia"); }
  void openWindow() {
    w.reset(new TfrmImportaFatture(p->windows->frmMenuMovimenti));
    QVERIFY(showActive(w.get()));
  }
  void setOwnIds(const QStringList& ids, int notice = kDefaultInvoiceNotice) {
    QVERIFY(writeInvoiceSettings(QFile::encodeName(p->folder()), {ids, notice}));
  }
  // "File..." with these files chosen together.
  void choose(const QStringList& paths) {
    p->dialogs.answer(Answer::Ok, paths.join(u'\n'));
    child<QPushButton>(w.get(), "btnFile")->click();
  }

 private slots:
  void initTestCase() {
    prepareTestApplication();
    fondaro::gui::testing::setProgressDelay(0);
  }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() {
    w.reset();
    p.reset();
  }

  void fromTheFilesToTheSummary() {
    const QString first = invoice(u"IT01234567897_00001.xml"_qs, simpleInvoice(u"7"_qs, u"2024-03-15"_qs, u"2024-04-15"_qs));
    const QString second = invoice(u"IT01234567897_00002.xml"_qs, twoInstalments());
    const QString receipt = invoice(u"ricevuta.xml"_qs, "<?xml version=\"1.0\"?><RicevutaConsegna/>");
    openWindow();
    QVERIFY(child<QLineEdit>(w.get(), "txtAzienda")->text().isEmpty());
    QCOMPARE(child<QSpinBox>(w.get(), "txtPreavviso")->value(), 5);
    QVERIFY(!child<QPushButton>(w.get(), "btnImporta")->isEnabled());

    // The first time, the company's identifiers are asked before reading.
    p->dialogs.answer(Answer::Ok, QStringList{first, second, receipt}.join(u'\n'));
    p->dialogs.answer(Answer::Ok, QString::fromLatin1(kBuyerVat));
    child<QPushButton>(w.get(), "btnFile")->click();
    QVERIFY2(p->dialogs.seen().size() == 2, qPrintable(p->dialogs.texts().join(u" | ")));
    QCOMPARE(p->dialogs.seen()[0].kind, DialogKind::OpenFile);
    QCOMPARE(p->dialogs.seen()[1].kind, DialogKind::InputText);
    QCOMPARE(readInvoiceSettings(QFile::encodeName(p->folder())).ownIds, QStringList{QString::fromLatin1(kBuyerVat)});
    QCOMPARE(child<QLineEdit>(w.get(), "txtAzienda")->text(), QString::fromLatin1(kBuyerVat));
    QVERIFY(!child<QLabel>(w.get(), "lblAvvisoAzienda")->isVisible());

    QCOMPARE(table()->model()->rowCount(), 4);
    QCOMPARE(cell(0, 1), u"IT01234567897_00001.xml"_qs);
    QCOMPARE(cell(0, 2), u"Fattura"_qs);
    QCOMPARE(cell(0, 3), u"7"_qs);
    QCOMPARE(cell(0, 4), u"15/03/2024"_qs);
    QCOMPARE(cell(0, 5), u"Rossi Forniture S.r.l."_qs);
    QCOMPARE(cell(0, 6), u"Uscita"_qs);
    QCOMPARE(cell(0, 7), u"122,00"_qs);
    QCOMPARE(cell(0, 8), u"15/04/2024"_qs);
    QCOMPARE(cell(0, 9), u"Nuova"_qs);
    QCOMPARE(cell(1, 9), u"Nuova, rata 1 di 2"_qs);
    QCOMPARE(cell(2, 8), u"31/05/2024"_qs);
    QCOMPARE(cell(3, 1), u"ricevuta.xml"_qs);
    QVERIFY2(cell(3, 9).startsWith(u"Scartata: "_qs), qPrintable(cell(3, 9)));
    QVERIFY(!(table()->model()->flags(at(3, 0)) & Qt::ItemIsUserCheckable));
    QCOMPARE(counts(), u"Da importare: 3   Escluse: 0   Già presenti: 0   Scartate: 1"_qs);

    // The copy of the selected line's invoice shows below the list.
    QCOMPARE(table()->currentIndex().row(), 0);
    QVERIFY(copy()->pageCount() >= 1);
    QVERIFY(child<QLabel>(w.get(), "lblCopia")->text().endsWith(u"IT01234567897_00001.xml"_qs));
    table()->setCurrentIndex(at(3, 5));
    QVERIFY(child<QLabel>(w.get(), "lblCopia")->text().startsWith(u"Il file ricevuta.xml non contiene"_qs));
    QCOMPARE(copy()->pageCount(), 0);
    QVERIFY(!child<QPushButton>(w.get(), "btnAnteprima")->isEnabled());

    // Space on the second instalment leaves it out.
    table()->setFocus();
    table()->setCurrentIndex(at(2, 5));
    QVERIFY(child<QLabel>(w.get(), "lblCopia")->text().endsWith(u"IT01234567897_00002.xml"_qs));
    QTest::keyClick(table(), Qt::Key_Space);
    QCOMPARE(at(2, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(cell(2, 9), u"Nuova, esclusa, rata 2 di 2"_qs);
    QCOMPARE(counts(), u"Da importare: 2   Escluse: 1   Già presenti: 0   Scartate: 1"_qs);
    table()->setCurrentIndex(at(0, 5));
    saveShot(w.get(), artifacts(), u"import-invoices"_qs);

    p->dialogs.clear();
    p->dialogs.answer(Answer::No);
    child<QPushButton>(w.get(), "btnImporta")->click();
    QCOMPARE(p->dialogs.seen().size(), 1);
    QCOMPARE(p->dialogs.seen().front().kind, DialogKind::Question);
    QCOMPARE(p->dialogs.seen().front().text,
             u"Importazione delle fatture elettroniche completata.\n\r\n\r"
             "Anno 2024: 2 movimenti aggiunti, 0 già presenti.\nRubrica: 1 scheda aggiunta.\n"
             "Allegati: 4 file salvati, 0 già presenti.\nFatture o file scartati: 1.\nRate escluse: 1."
             "\n\r\n\rAprire i movimenti dell'anno 2024?"_qs);
    const auto stored = records(2024);
    QCOMPARE(stored.size(), size_t(2));
    QCOMPARE(stored[0].Causale.get(), u"Fattura n. 7 del 15/03/2024 - Rossi Forniture S.r.l."_qs);
    QCOMPARE(stored[0].DataSca.get(), u"15/04/2024"_qs);
    QCOMPARE(stored[0].Preavviso.get(), u"5"_qs);
    QCOMPARE(stored[0].File02.get(), u"IT01234567897_00001.pdf"_qs);
    QVERIFY(QFile::exists(attachmentsFolder(p->folder()) + u"IT01234567897_00001.pdf"_qs));
    QCOMPARE(stored[1].Causale.get(), u"Fattura n. 31 del 20/03/2024 - Rossi Forniture S.r.l. - rata 1 di 2"_qs);

    // The window stays, the list read again: what was imported is present.
    QVERIFY(w->isVisible());
    QCOMPARE(cell(0, 9), u"Già presente"_qs);
    QCOMPARE(cell(2, 9), u"Nuova, rata 2 di 2"_qs);
    QCOMPARE(counts(), u"Da importare: 1   Escluse: 0   Già presenti: 2   Scartate: 1"_qs);
  }

  // An identifier that fails the program's checks is kept as typed, with a
  // warning; changing it plans the files again.
  void aWrongIdentifierIsKeptWithAWarning() {
    setOwnIds({QString::fromLatin1(kSellerVat)}, 9);
    const QString path = invoice(u"a.xml"_qs, simpleInvoice(u"7"_qs, u"2024-03-15"_qs, u"2024-04-15"_qs));
    openWindow();
    QCOMPARE(child<QSpinBox>(w.get(), "txtPreavviso")->value(), 9);
    choose({path});
    QCOMPARE(cell(0, 6), u"Entrata"_qs);  // issued by the company
    p->dialogs.clear();
    auto* ids = child<QLineEdit>(w.get(), "txtAzienda");
    ids->setText(u"09876543210 "_qs);
    emit ids->editingFinished();
    QCOMPARE(p->dialogs.seen().size(), 1);
    QCOMPARE(p->dialogs.seen().front().kind, DialogKind::Notice);
    auto* warning = child<QLabel>(w.get(), "lblAvvisoAzienda");
    QVERIFY(warning->isVisible());
    QVERIFY2(warning->text().contains(u"09876543210"_qs), qPrintable(warning->text()));
    QCOMPARE(readInvoiceSettings(QFile::encodeName(p->folder())).ownIds, QStringList{u"09876543210"_qs});
    QCOMPARE(readInvoiceSettings(QFile::encodeName(p->folder())).notice, 9);
    // Now the invoice names the company as neither party.
    QCOMPARE(table()->model()->rowCount(), 1);
    QVERIFY2(cell(0, 9).startsWith(u"Scartata: "_qs), qPrintable(cell(0, 9)));
  }

  void withoutIdentifiersNothingIsRead() {
    const QString path = invoice(u"a.xml"_qs, simpleInvoice(u"7"_qs, u"2024-03-15"_qs, u"2024-04-15"_qs));
    openWindow();
    p->dialogs.answer(Answer::Ok, path);
    p->dialogs.answer(Answer::Cancel);
    child<QPushButton>(w.get(), "btnFile")->click();
    QCOMPARE(p->dialogs.seen().size(), 3);
    QCOMPARE(p->dialogs.seen()[2].kind, DialogKind::Notice);
    QCOMPARE(table()->model()->rowCount(), 0);
    QVERIFY(!QFile::exists(p->dir.filePath(QString::fromLatin1(kInvoiceSettingsFileName))));
  }

  void cancellingWhileReadingLeavesEverythingAsItWas() {
    setOwnIds({QString::fromLatin1(kBuyerVat)});
    const QString path = invoice(u"a.xml"_qs, simpleInvoice(u"7"_qs, u"2024-03-15"_qs, u"2024-04-15"_qs));
    openWindow();
    {
      ProgressCanceller cancel;
      p->dialogs.answer(Answer::Ok, p->dir.filePath(u"fatture"_qs));
      child<QPushButton>(w.get(), "btnCartella")->click();
      QCOMPARE(p->dialogs.seen().front().kind, DialogKind::ChooseFolder);
      QVERIFY(!cancel.sentences().isEmpty());
    }
    QCOMPARE(table()->model()->rowCount(), 0);
    QVERIFY(!child<QPushButton>(w.get(), "btnImporta")->isEnabled());
    QVERIFY(!QFile::exists(archive(2024)));
  }

  // The way in: a button of the register's year window under the bank
  // statement's; afterwards the year's movements open, and its due list over them.
  void theYearWindowOpensItThenTheRegisterAndTheDueList() {
    setOwnIds({QString::fromLatin1(kBuyerVat)});
    const QString path = invoice(u"a.xml"_qs, simpleInvoice(u"7"_qs, QDate::currentDate().toString(u"yyyy-MM-dd"_qs),
                                                            QDate::currentDate().addDays(2).toString(u"yyyy-MM-dd"_qs)));
    WindowSet& ws = *p->windows;
    ws.frmPassword->present();
    gui::switchTo(ws.frmPassword, ws.frmAvvio);
    QVERIFY(QTest::qWaitForWindowActive(ws.frmAvvio));
    ws.frmAvvio->imgApp02Click();
    QVERIFY(QTest::qWaitForWindowActive(ws.frmMenuMovimenti));
    auto* button = child<QPushButton>(ws.frmMenuMovimenti, "btnImportaFatture");
    QCOMPARE(button->text(), u"Importa fatture elettroniche..."_qs);
    saveShot(ws.frmMenuMovimenti, artifacts(), u"year-window-invoices"_qs);
    p->dialogs.answer(Answer::Yes);
    p->dialogs.answer(Answer::Yes);
    ModalDriver driver([&](QWidget* modal) {
      auto* window = qobject_cast<TfrmImportaFatture*>(modal);
      QVERIFY(window);
      window->openPaths({path});
      child<QPushButton>(window, "btnImporta")->click();
    });
    QString dueLines;
    ModalDriver due(
        [&](QWidget* modal) {
          auto* list = qobject_cast<TfrmSospesiMov*>(modal);
          QVERIFY(list);
          dueLines = list->list()->lines().join(u'\n');
          list->close();
        },
        15000);
    button->click();
    QVERIFY(driver.done());
    const QString year = QString::number(QDate::currentDate().year());
    QCOMPARE(records(QDate::currentDate().year()).size(), size_t(1));
    QVERIFY(QTest::qWaitFor([&] { return due.done(); }, 15000));
    QVERIFY2(dueLines.contains(u"Fattura n. 7"_qs), qPrintable(dueLines));
    QVERIFY(ws.frmMovimenti->isVisible());
    QCOMPARE(ws.frmMovimenti->windowTitle(), gui::windowCaption(u"Registro movimenti anno "_qs + year));
  }
};

QTEST_MAIN(TestImportaFatture)
#include "test_importafatture.moc"
