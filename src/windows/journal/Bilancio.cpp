#include "journal/Bilancio.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "WindowSet.h"
#include "core/archive.h"
#include "core/journal.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/widgets.h"
#include "journal/MenuBilancio.h"

namespace fondaro {

namespace {

constexpr QStringView kNothingToPrint =
    u"Operazione di stampa non applicabile: la primanota non contiene nessun movimento in entrata o in uscita.";
constexpr QStringView kPrintQuestion = u"Si vuole stampare la presente primanota?";
constexpr QStringView kNotAccessible = u"Attenzione: il file di archivio non risulta accessibile.";

// Records the journal could not read are named, and said not to be counted.
QString skippedWarning(const std::vector<SkippedRecord>& skipped) {
  return u"Attenzione: le schede in posizione "_qs + skippedPositionsText(skipped) +
         u" non sono state incluse nella primanota perch\u00E9 la data o l'importo non sono leggibili."_qs +
         kParagraphBreak + u"I loro importi non sono conteggiati nei totali."_qs;
}

QLabel* label(QWidget* parent, const char* name, QStringView text, const QFont& font, const QRect& at,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, const char* colour = nullptr) {
  QLabel* l = gui::placedLabel(parent, name, text.toString(), font, at, align);
  if (colour) l->setStyleSheet(u"color: "_qs + QString::fromLatin1(colour) + u';');
  return l;
}

}  // namespace

TfrmBilancio::TfrmBilancio(QWidget* owner) : ListWindow(owner, Kind::Work) {
  setObjectName(u"frmBilancio"_qs);
  setWindowTitle(gui::windowCaption(u"Primanota e Bilancio"));
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(1220, 712);
  c->setAttribute(Qt::WA_StyledBackground);
  c->setStyleSheet(u"#panContainer { background: rgba(255,255,255,215); border-radius: 18px; }"_qs);

  auto* band = new QWidget(c);
  band->setObjectName(u"shpTitolo"_qs);
  band->setAttribute(Qt::WA_StyledBackground);
  band->setStyleSheet(u"#shpTitolo { background: #4A5A78; border-radius: 8px; }"_qs);
  band->setGeometry(16, 12, 1120, 46);
  const QFont bold12 = gui::windowFont("Verdana", 12, true);
  label(band, "lblTipologia", u"PRIMANOTA E BILANCIO - Causale :", bold12, QRect(14, 0, 360, 46),
        Qt::AlignLeft | Qt::AlignVCenter, "white");
  titTipologia = label(band, "titTipologia", u"- - -", bold12, QRect(378, 7, 730, 32),
                       Qt::AlignLeft | Qt::AlignVCenter);
  titTipologia->setStyleSheet(u"color: #800000; background: white; border-radius: 4px; padding-left: 8px;"_qs);
  imgGuida = new gui::PictureButton(u"imgGuida"_qs, gui::art(u"ico_guida"_qs),
                                    u"Guida: applicazione Primanota e Bilancio"_qs, c);
  imgGuida->setGeometry(1152, 8, 52, 52);

  lblConta = label(c, "lblConta", u"0", bold12, QRect(0, 0, 10, 10));
  lblConta->hide();
  gui::makeListLabel(c, "lblRigo01", gui::kFindHint1, QRect(16, 66, 1120, 22));
  gui::makeListLabel(c, "lblRigo02", gui::kFindHint2, QRect(16, 88, 1120, 22));
  makeFind(c, QRect(16, 116, 700, 34), QRect(730, 116, 110, 34));
  makeList(c, QRect(16, 160, 1188, 384));

  const QFont totals = gui::windowFont("Verdana", 11, true);
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  label(c, "infIntervallo", u"Intervallo selezionato :", totals, QRect(520, 554, 340, 26), right, "#800000");
  lblIntervallo = label(c, "lblIntervallo", u"Dal gg/mm/aaaa al gg/mm/aaaa", totals, QRect(870, 554, 334, 26),
                        right, "#800000");
  label(c, "titTotEntrate", u"TOTALE ENTRATE :", totals, QRect(520, 582, 340, 26), right);
  lblTotEntrate = label(c, "lblTotEntrate", u"0,00", totals, QRect(870, 582, 334, 26), right);
  label(c, "titTotUscite", u"TOTALE USCITE :", totals, QRect(520, 610, 340, 26), right, "#8B0000");
  lblTotUscite = label(c, "lblTotUscite", u"0,00", totals, QRect(870, 610, 334, 26), right, "#8B0000");
  label(c, "titBilancio", u"BILANCIO ENTRATE E USCITE :", totals, QRect(520, 638, 340, 26), right);
  lblBilancio = label(c, "lblBilancio", u"0,00", totals, QRect(870, 638, 334, 26), right);

  btnStampa = new QPushButton(u"Stampa primanota"_qs, c);
  btnStampa->setObjectName(u"btnStampa"_qs);
  btnStampa->setFont(gui::windowFont("Verdana", 10, true));
  btnStampa->setGeometry(16, 656, 200, 40);
  btnEsci = new QPushButton(u"Esci"_qs, c);
  btnEsci->setObjectName(u"btnEsci"_qs);
  btnEsci->setFont(gui::windowFont("Verdana", 10, true));
  btnEsci->setGeometry(226, 656, 140, 40);

  setTabOrder(txtTrova, btnTrova);
  setTabOrder(btnTrova, lstRecords);
  setTabOrder(lstRecords, btnStampa);
  setTabOrder(btnStampa, btnEsci);
  setTabOrder(btnEsci, imgGuida);
  connect(btnStampa, &QPushButton::clicked, this, &TfrmBilancio::btnStampaClick);
  connect(btnEsci, &QPushButton::clicked, this, &TfrmBilancio::btnEsciClick);
  connect(imgGuida, &QToolButton::clicked, this, &TfrmBilancio::imgGuidaClick);
}

void TfrmBilancio::FormShow() {
  resetFind();
  buildJournal();
  txtTrova->setFocus();
}

void TfrmBilancio::buildJournal() {
  const TfrmMenuBilancio* period = windowSet().frmMenuBilancio;
  const QString reason = period->reasonFilter();
  titTipologia->setText(journalReasonText(reason));
  lblConta->setText(isActiveFilter(reason) ? u"1"_qs : u"0"_qs);
  Journal j;
  try {
    auto archive = MovementArchive::OpenOrCreate(trimmedText(period->archivePath()));
    j = fondaro::buildJournal(archive, {parseDate(period->startDate()), parseDate(period->endDate()), reason});
    archive.Close();
  } catch (const ArchiveError&) {
    showLines({});
    QTimer::singleShot(0, this, [this] { gui::message(this, kNotAccessible.toString()); });
    return;
  }
  showLines(j.lines);
  lblIntervallo->setText(intervalText(period->startDate(), period->endDate()));
  lblTotEntrate->setText(j.income.euroText());
  lblTotUscite->setText(j.expense.euroText());
  lblBilancio->setText(j.balance.euroText());
  if (j.skipped.empty()) return;
  // After the window is on screen, so the warning stands over the journal it speaks of.
  const QString text = skippedWarning(j.skipped);
  QTimer::singleShot(0, this, [this, text] {
    gui::notice(this, gui::Icon::Warning, text);
    txtTrova->setFocus();
  });
}

void TfrmBilancio::btnStampaClick() {
  if (lstRecords->count() == 0) {
    gui::notice(this, gui::Icon::Warning, kNothingToPrint.toString());
    return;
  }
  if (!gui::question(this, kPrintQuestion.toString())) return;
  const QStringList lines = journalPrintLines(lstRecords->lines(), lblIntervallo->text(), lblTotEntrate->text(),
                                              lblTotUscite->text(), lblBilancio->text());
  gui::printList(this, gui::ListPrintout::Primanota, journalTitle(titTipologia->text()), lines);
}

void TfrmBilancio::btnEsciClick() { close(); }

void TfrmBilancio::imgGuidaClick() { showJournalGuide(this); }

void TfrmBilancio::FormClose() {
  lstRecords->clear();
  windowSet().frmMenuBilancio->hideWaitText();
}

}  // namespace fondaro
