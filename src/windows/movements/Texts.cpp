// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/Texts.h"

namespace fondaro::movementTexts {

namespace {

using gui::Keys;
using gui::Typing;
using gui::card::Box;
using gui::card::Row;
using gui::card::SectionPlan;
using gui::card::Tool;
using gui::card::ToolGroup;

constexpr QStringView kCalendar =
    u"Fai clic su questo campo e premi un tasto qualsiasi per importare una data dal calendario.";
constexpr QStringView kImport = u"Importa i dati dall'archivio anagrafico dei Clienti.";

constexpr SectionPlan kSections[] = {
    {"shpSezione1", u"Dati del movimento"},
    {"shpSezione2", u"Pagatore"},
    {"shpSezione3", u"Beneficiario e pagamento"},
    {"shpSezione4", u"Note"},
};

// The amount (section -1) stands in the band between the first section and
// the others; the editor builds it.
constexpr Row kRows[] = {
    {.name = "optEntrata", .caption = u"Tipo movimento:", .box = Box::Option, .text = u"Entrata",
     .panel = "panMovimento", .hover = u"Spunta questa casella per registrare un importo in entrata."},
    {.name = "optUscita", .beside = true, .box = Box::Option, .text = u"Uscita", .panel = "panMovimento",
     .hover = u"Spunta questa casella per registrare un importo in uscita."},
    {.name = "txtData", .caption = u"Data operazione:", .beside = true, .box = Box::Date, .enter = false,
     .button = {"impData", u"ico_cancella", u"Cancella la data"}, .hover = kCalendar,
     .buttonHover = u"Cancella la data."},
    {.name = "txtCausale", .caption = u"Causale:"},
    {.name = "txtPromemoria", .caption = u"Promemoria:"},
    {.name = "txtDataSca", .caption = u"Data scadenza:", .box = Box::Date, .enter = false,
     .button = {"impDataSca", u"ico_cancella", u"Cancella la data di scadenza"}, .hover = kCalendar,
     .buttonHover = u"Cancella la data."},
    {.name = "txtPreavviso", .caption = u"      Avvisa n.", .beside = true, .text = u"Giorni di preavviso",
     .width = 64, .keys = Keys::Digits, .maxLength = 3, .note = u"giorni prima della scadenza."},
    {.name = "txtImporto", .section = -1, .keys = Keys::Amount},
    {.name = "txtPagatore", .caption = u"Pagatore:", .section = 1,
     .button = {"impPagatore", u"ico_importa", u"Importa il pagatore dall'archivio anagrafico"},
     .buttonHover = kImport},
    {.name = "txtRecapitoPag", .caption = u"Recapito:", .section = 1, .text = u"Recapito del pagatore"},
    {.name = "txtCodFisc", .caption = u"Codice fiscale:", .section = 1, .typing = Typing::UpperTrim,
     .button = {"chkCodFisc", u"ico_controlla", u"Controlla il codice fiscale"},
     .buttonHover = u"Controlla il codice fiscale."},
    {.name = "txtPartitaIva", .caption = u"Partita IVA:", .section = 1, .keys = Keys::Digits,
     .button = {"chkIva", u"ico_controlla", u"Controlla la partita IVA"},
     .buttonHover = u"Controlla il numero di partita IVA."},
    {.name = "txtCategoria", .caption = u"Categoria:", .section = 1},
    {.name = "txtEmail", .caption = u"E-mail:", .section = 1, .typing = Typing::Trim,
     .button = {"sndEmail", u"ico_email", u"Invia una e-mail"},
     .buttonHover = u"Invia una e-mail all'indirizzo indicato."},
    {.name = "txtPagamento", .caption = u"Modalità pagamento:", .section = 2},
    {.name = "txtBeneficiario", .caption = u"Beneficiario:", .section = 2,
     .button = {"impBeneficiario", u"ico_importa", u"Importa il beneficiario dall'archivio anagrafico"},
     .buttonHover = kImport},
    {.name = "txtRecapitoBen", .caption = u"Recapito:", .section = 2, .text = u"Recapito del beneficiario"},
    {.name = "txtRicevuta", .caption = u"CRO / Ricevuta n.", .section = 2, .text = u"CRO / Ricevuta n."},
    {.name = "txtNote", .caption = u"Note:", .section = 3},
    {.name = "txtTariffa", .caption = u"Tariffa applicata:", .section = 3},
    {.name = "chkSaldato", .section = 3, .beside = true, .box = Box::Check, .text = u"Saldato",
     .hover = u"Spunta questa casella per indicare che il pagamento è stato saldato."},
};

constexpr Tool kGroup1[] = {
    {"cmdNuovo", u"tb_nuovo", u"Nuovo", u"Predispone la schermata per l'inserimento di una nuova scheda."},
    {"cmdDuplica", u"tb_duplica", u"Duplica",
     u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."},
    {"cmdSalva", u"tb_salva", u"Salva", u"Salva la scheda corrente in archivio."},
    {"cmdTrova", u"tb_trova", u"Trova", u"Trova una scheda in archivio."},
};
constexpr Tool kGroup2[] = {{"cmdFile", u"tb_allega", u"Allega file", u"Allega file alla scheda corrente.", true}};
constexpr Tool kGroup3[] = {{"cmdStampa", u"tb_stampa", u"Stampa", u"Stampa la scheda corrente.", true}};
constexpr Tool kGroup4[] = {
    {"cmdPrimo", u"tb_primo", u"Prima", u"Visualizza la prima scheda in archivio."},
    {"cmdIndietro", u"tb_indietro", u"Precedente", u"Visualizza la scheda precedente in archivio."},
    {"lblPosizione"},
    {"cmdAvanti", u"tb_avanti", u"Successiva", u"Visualizza la scheda successiva in archivio."},
    {"cmdUltimo", u"tb_ultimo", u"Ultima", u"Visualizza l'ultima scheda in archivio."},
};
constexpr Tool kGroup5[] = {
    {"cmdEsporta", u"tb_esporta", u"Esporta", u"Esporta le schede in archivio in un file di Microsoft Excel."},
    {"cmdScadenze", u"tb_scadenze", u"Scadenze",
     u"Visualizza il riepilogo dei pagamenti in scadenza o scaduti e non saldati."},
    // Recurring movements, after the described commands of the group.
    {"cmdRipeti", u"tb_ripeti", u"Ripeti...",
     u"Ripete la scheda corrente ogni mese, ogni anno o ogni N settimane, oppure elenca i movimenti "
     u"ricorrenti per modificarli o sospenderli."},
};
constexpr Tool kGroup6[] = {
    {"cmdGuida", u"ico_guida", u"Guida", u"Visualizza la pagina della guida sensibile al contesto."},
    {"cmdEsci", u"ico_esci", u"Esci", u"Esci da questa schermata di lavoro."},
};
constexpr ToolGroup kToolbar[] = {
    {"shpGruppo1", kGroup1}, {"shpGruppo2", kGroup2}, {"shpGruppo3", kGroup3},
    {"shpGruppo4", kGroup4}, {"shpGruppo5", kGroup5}, {"shpGruppo6", kGroup6},
};

}  // namespace

std::span<const SectionPlan> editorSections() { return kSections; }
std::span<const Row> editorRows() { return kRows; }
std::span<const ToolGroup> editorToolbar() { return kToolbar; }

}  // namespace fondaro::movementTexts
