// SPDX-License-Identifier: GPL-3.0-or-later
#include "clients/Texts.h"

namespace fondaro::clientTexts {

namespace {

using gui::Keys;
using gui::Typing;
using gui::card::Box;
using gui::card::Captions;
using gui::card::Row;
using gui::card::SectionPlan;
using gui::card::Tool;
using gui::card::ToolGroup;

constexpr QStringView kLightBlue = u"#E3EEFA";

constexpr SectionPlan kSections[] = {
    {"shpSezione1", u"Dati anagrafici e residenza", Captions::Above, kLightBlue},
    {"shpSezione2", u"Telefoni ed e-mail", Captions::Above, kLightBlue},
    {"shpSezione3", u"Dati fiscali e di pagamento", Captions::Above, kLightBlue},
    {"shpSezione4", u"Dati personali", Captions::Above, kLightBlue},
    {"shpSezione5", u"Questioni in sospeso", Captions::Above, kLightBlue},
};

// The text boxes have no info-bar sentence: moving over them leaves the bar
// as it is. The card and VAT numbers take digits only: even Tab is swallowed
// there.
constexpr Row kRows[] = {
    {.name = "txtCliente", .caption = u"Cognome e nome o ragione sociale:", .text = u"Pagatore o beneficiario",
     .stretch = 3},
    {.name = "txtDataNasc", .caption = u"Data di nascita:", .beside = true, .width = 150},
    {.name = "txtComuneNasc", .caption = u"Comune di nascita:", .beside = true, .stretch = 2},
    {.name = "txtProvNasc", .caption = u"Prov.", .beside = true, .box = Box::Province,
     .text = u"Provincia di nascita", .typing = Typing::UpperTrim},
    {.name = "txtSesso", .caption = u"Sesso:", .width = 60, .typing = Typing::Upper},
    {.name = "txtRecapito", .caption = u"Recapito preferenziale:", .beside = true, .stretch = 2},
    {.name = "txtIndirizzoRes", .caption = u"Residente in Via / Piazza e numero civico:", .beside = true,
     .stretch = 3},
    {.name = "txtProvRes", .caption = u"Prov.", .beside = true, .box = Box::Province,
     .text = u"Provincia di residenza", .typing = Typing::UpperTrim},
    {.name = "txtComuneRes", .caption = u"Comune di residenza:", .stretch = 2},
    {.name = "txtCapRes", .caption = u"CAP:", .beside = true, .width = 84, .typing = Typing::Upper},
    {.name = "txtEstremi", .caption = u"Modalità di pagamento:", .beside = true, .stretch = 3},
    {.name = "txtTelCasa", .caption = u"Tel. casa:", .section = 1},
    {.name = "txtTelUff", .caption = u"Tel. ufficio:", .section = 1, .beside = true},
    {.name = "txtTelCel", .caption = u"Tel. cellulare:", .section = 1, .beside = true},
    {.name = "txtFax", .caption = u"Fax:", .section = 1},
    {.name = "txtEmail", .caption = u"E-mail:", .section = 1, .beside = true, .stretch = 2,
     .typing = Typing::Trim, .button = {"btnEmail", u"ico_email", u"Invia una e-mail"},
     .buttonHover = u"Invia una e-mail all'indirizzo indicato."},
    {.name = "txtCodFisc", .caption = u"Codice fiscale:", .section = 2, .typing = Typing::UpperTrim,
     .button = {"btnCodFisc", u"ico_controlla", u"Controlla il codice fiscale"},
     .buttonHover = u"Controlla il codice fiscale."},
    {.name = "txtCarta", .caption = u"Carta di credito n.", .section = 2, .beside = true, .keys = Keys::Digits,
     .tabMoves = false, .button = {"btnCarta", u"ico_controlla", u"Controlla il numero di carta di credito"},
     .buttonHover = u"Controlla il numero di carta di credito."},
    {.name = "txtScadeCarta", .caption = u"Scadenza:", .section = 2, .beside = true, .width = 150},
    {.name = "txtPartitaIva", .caption = u"Partita IVA:", .section = 2, .keys = Keys::Digits, .tabMoves = false,
     .button = {"btnPartitaIva", u"ico_controlla", u"Controlla la partita IVA"},
     .buttonHover = u"Controlla il numero di partita IVA."},
    {.name = "txtIban", .caption = u"IBAN:", .section = 2, .beside = true, .stretch = 2, .typing = Typing::UpperTrim,
     .button = {"btnIban", u"ico_controlla", u"Controlla l'IBAN"}, .buttonHover = u"Controlla l'IBAN."},
    {.name = "txtDocumento", .caption = u"Estremi documento:", .section = 3, .stretch = 2},
    {.name = "txtOccupazione", .caption = u"Occupazione:", .section = 3, .beside = true},
    {.name = "txtCivile", .caption = u"Stato civile:", .section = 3, .beside = true},
    {.name = "txtTitoli", .caption = u"Titoli e qualifiche:", .section = 3},
    {.name = "txtProdotti", .caption = u"Prodotti o servizi di interesse:", .section = 3, .beside = true},
    {.name = "txtZona", .caption = u"Zona di appartenenza:", .section = 3, .beside = true},
    {.name = "txtQuestioni", .caption = u"Questioni in sospeso:", .section = 4},
    {.name = "chkRicontatta", .section = 4, .beside = true, .box = Box::Check, .text = u"Da ricontattare",
     .hover = u"Annota che il Cliente è da ricontattare per questioni in sospeso."},
    {.name = "txtNote", .caption = u"Note:", .section = 4},
};

constexpr Tool kColumn[] = {
    {"cmdNuovo", u"tb_nuovo", u"Nuovo", u"Prepara la schermata per la registrazione di una nuova scheda.", true},
    {"cmdDuplica", u"tb_duplica", u"Duplica",
     u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti.", true},
    {"cmdFile", u"tb_allega", u"Allega file", u"Allega file alla scheda corrente.", true},
    {"cmdSalva", u"tb_salva", u"Salva", u"Salva la scheda corrente in archivio.", true},
    {"cmdTrova", u"tb_trova", u"Trova", u"Trova una scheda in archivio.", true},
    {"cmdAnteprima", u"tb_anteprima", u"Anteprima", u"Visualizza l'anteprima di stampa.", true},
    {"cmdStampa", u"tb_stampa", u"Stampa", u"Stampa la scheda corrente.", true},
    {"cmdPDF", u"tb_pdf", u"Crea PDF", u"Esporta la scheda in formato PDF.", true},
    {"cmdRicontatta", u"tb_ricontatta", u"Da ricontattare", u"Visualizza il riepilogo dei Clienti da ricontattare.",
     true},
    {"cmdEsporta", u"tb_esporta", u"Esporta archivio", u"Esporta le schede in archivio in un file di Microsoft Excel.",
     true},
    {"cmdGuida", u"ico_guida", u"Guida", u"Visualizza la guida in linea.", true},
    {"cmdEsci", u"ico_esci", u"Esci", u"Esci dalla schermata di lavoro corrente.", true},
};
constexpr Tool kNavigation[] = {
    {"cmdPrimo", u"tb_primo", u"Prima", u"Visualizza la prima scheda in archivio.", true},
    {"cmdIndietro", u"tb_indietro", u"Precedente", u"Visualizza la scheda precedente in archivio.", true},
    {"lblPosizione"},
    {"cmdAvanti", u"tb_avanti", u"Successiva", u"Visualizza la scheda successiva in archivio.", true},
    {"cmdUltimo", u"tb_ultimo", u"Ultima", u"Visualizza l'ultima scheda in archivio.", true},
};
constexpr ToolGroup kButtons[] = {
    {"shpPulsanti", kColumn, Qt::Vertical},
    {"shpNavigazione", kNavigation},
};

}  // namespace

std::span<const SectionPlan> editorSections() { return kSections; }
std::span<const Row> editorRows() { return kRows; }
std::span<const ToolGroup> editorButtons() { return kButtons; }

}  // namespace fondaro::clientTexts
