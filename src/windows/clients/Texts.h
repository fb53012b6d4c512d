#pragma once
// The texts of the address book's windows that are not messages of the core:
// hover sentences and captions.
#include <vector>

#include "gui/infobar.h"

namespace fondaro::clientTexts {

inline const std::vector<gui::Hover>& editorHover() {
  static const std::vector<gui::Hover> sentences = {
    {"cmdNuovo", u"Prepara la schermata per la registrazione di una nuova scheda."},
    {"cmdDuplica", u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."},
    {"cmdFile", u"Allega file alla scheda corrente."},
    {"cmdSalva", u"Salva la scheda corrente in archivio."},
    {"cmdTrova", u"Trova una scheda in archivio."},
    {"cmdAnteprima", u"Visualizza l'anteprima di stampa."},
    {"cmdStampa", u"Stampa la scheda corrente."},
    {"cmdPDF", u"Esporta la scheda in formato PDF."},
    {"cmdRicontatta", u"Visualizza il riepilogo dei Clienti da ricontattare."},
    {"cmdEsporta", u"Esporta le schede in archivio in un file di Microsoft Excel."},
    {"cmdGuida", u"Visualizza la guida in linea."},
    {"cmdEsci", u"Esci dalla schermata di lavoro corrente."},
    {"cmdPrimo", u"Visualizza la prima scheda in archivio."},
    {"cmdIndietro", u"Visualizza la scheda precedente in archivio."},
    {"cmdAvanti", u"Visualizza la scheda successiva in archivio."},
    {"cmdUltimo", u"Visualizza l'ultima scheda in archivio."},
    {"btnEmail", u"Invia una e-mail all'indirizzo indicato."},
    {"btnCodFisc", u"Controlla il codice fiscale."},
    {"btnCarta", u"Controlla il numero di carta di credito."},
    {"btnPartitaIva", u"Controlla il numero di partita IVA."},
    {"btnIban", u"Controlla l'IBAN."},
    {"chkRicontatta", u"Annota che il Cliente \u00E8 da ricontattare per questioni in sospeso."},
  };
  return sentences;
}

}  // namespace fondaro::clientTexts
