#pragma once
// The texts of the movements register's windows that are not messages of the
// core: hover sentences and captions.
#include <vector>

#include "gui/infobar.h"

namespace fondaro::movementTexts {

inline const std::vector<gui::Hover>& editorHover() {
  static const std::vector<gui::Hover> sentences = {
    {"cmdNuovo", u"Predispone la schermata per l'inserimento di una nuova scheda."},
    {"cmdDuplica", u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."},
    {"cmdSalva", u"Salva la scheda corrente in archivio."},
    {"cmdTrova", u"Trova una scheda in archivio."},
    {"cmdFile", u"Allega file alla scheda corrente."},
    {"cmdStampa", u"Stampa la scheda corrente."},
    {"cmdPrimo", u"Visualizza la prima scheda in archivio."},
    {"cmdIndietro", u"Visualizza la scheda precedente in archivio."},
    {"cmdAvanti", u"Visualizza la scheda successiva in archivio."},
    {"cmdUltimo", u"Visualizza l'ultima scheda in archivio."},
    {"cmdEsporta", u"Esporta le schede in archivio in un file di Microsoft Excel."},
    {"cmdScadenze", u"Visualizza il riepilogo dei pagamenti in scadenza o scaduti e non saldati."},
    {"cmdGuida", u"Visualizza la pagina della guida sensibile al contesto."},
    {"cmdEsci", u"Esci da questa schermata di lavoro."},
    {"optEntrata", u"Spunta questa casella per registrare un importo in entrata."},
    {"optUscita", u"Spunta questa casella per registrare un importo in uscita."},
    {"txtData", u"Fai clic su questo campo e premi un tasto qualsiasi per importare una data dal calendario."},
    {"txtDataSca", u"Fai clic su questo campo e premi un tasto qualsiasi per importare una data dal calendario."},
    {"impData", u"Cancella la data."},
    {"impDataSca", u"Cancella la data."},
    {"impPagatore", u"Importa i dati dall'archivio anagrafico dei Clienti."},
    {"impBeneficiario", u"Importa i dati dall'archivio anagrafico dei Clienti."},
    {"chkCodFisc", u"Controlla il codice fiscale."},
    {"chkIva", u"Controlla il numero di partita IVA."},
    {"sndEmail", u"Invia una e-mail all'indirizzo indicato."},
    {"chkSaldato", u"Spunta questa casella per indicare che il pagamento \u00E8 stato saldato."},
  };
  return sentences;
}

}  // namespace fondaro::movementTexts
