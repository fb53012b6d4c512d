// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the window "Importa fatture elettroniche" and of its messages.
#include <QStringView>

namespace fondaro::invoiceTexts {

// The button of the register's year window that opens this window.
inline constexpr QStringView kYearWindowButton = u"Importa fatture elettroniche...";

inline constexpr QStringView kCaption = u" Importa fatture elettroniche";
inline constexpr QStringView kTitle = u"Importa fatture elettroniche";
inline constexpr QStringView kHint =
    u"Scegliere le fatture elettroniche (file .xml, .xml.p7m firmati o file .zip scaricati dal portale) oppure "
    u"una cartella che le contiene. Ogni rata di pagamento diventa un movimento da saldare con la sua data di "
    u"scadenza, la controparte viene aggiunta alla rubrica se non c'è, la fattura e la sua copia leggibile "
    u"diventano allegati del movimento. Togliere il segno di spunta alle rate nuove da non importare.";
inline constexpr QStringView kFiles = u"Fatture:";
inline constexpr QStringView kNoFiles = u"Nessuna fattura scelta.";
inline constexpr QStringView kChosenOne = u"%1";
inline constexpr QStringView kChosenMany = u"%1 e altri %2";
inline constexpr QStringView kChooseFiles = u"File...";
inline constexpr QStringView kChooseFolder = u"Cartella...";
inline constexpr QStringView kOwnIds = u"Partita IVA o codice fiscale dell'azienda:";
inline constexpr QStringView kNotice = u"Giorni di preavviso:";
inline constexpr QStringView kCopy = u"Copia leggibile della fattura scelta";
inline constexpr QStringView kNoCopy = u"Scegliere una riga dell'elenco per vedere la sua fattura.";
inline constexpr QStringView kNoCopyOfFile = u"Il file %1 non contiene una fattura leggibile: %2";
inline constexpr QStringView kPreview = u"Anteprima...";
inline constexpr QStringView kImport = u"Importa";
inline constexpr QStringView kGuide = u"Guida";
inline constexpr QStringView kClose = u"Chiudi";

inline constexpr QStringView kFilesCaption = u"Scegli le fatture elettroniche";
inline constexpr QStringView kFilesFilter =
    u"Fatture elettroniche (*.xml *.XML *.p7m *.P7M *.zip *.ZIP);;Tutti i file (*)";
inline constexpr QStringView kFolderCaption = u"Scegli la cartella delle fatture elettroniche";

// The first time: the company's identifiers.
inline constexpr QStringView kAskOwnTitle = u"Dati dell'azienda";
inline constexpr QStringView kAskOwn =
    u"Per sapere quali fatture sono ricevute (uscite) e quali emesse (entrate), indicare la partita IVA e/o il "
    u"codice fiscale dell'azienda, separati da uno spazio:";
inline constexpr QStringView kOwnNeeded =
    u"Indicare la partita IVA o il codice fiscale dell'azienda: senza, le fatture non possono essere lette.";
inline constexpr QStringView kOwnWarning = u"Il dato viene conservato come scritto; controllarlo.";
inline constexpr QStringView kSettingsNotSaved =
    u"Impossibile salvare i dati dell'azienda nel file %1 della cartella del programma.";

inline constexpr QStringView kColumns[] = {u"",      u"File",         u"Tipo",  u"Numero",   u"Data",
                                          u"Controparte", u"Verso", u"Importo", u"Scadenza", u"Stato"};
inline constexpr QStringView kIn = u"Entrata";
inline constexpr QStringView kOut = u"Uscita";
inline constexpr QStringView kStateNew = u"Nuova";
inline constexpr QStringView kStateLeftOut = u"Nuova, esclusa";
inline constexpr QStringView kStatePresent = u"Già presente";
inline constexpr QStringView kStateSkipped = u"Scartata: %1";
inline constexpr QStringView kWarning = u"Avviso: %1";
inline constexpr QStringView kInstalment = u"rata %1 di %2";

// The line under the list: %1 new to import, %2 left out, %3 present, %4 skipped.
inline constexpr QStringView kCounts = u"Da importare: %1   Escluse: %2   Già presenti: %3   Scartate: %4";

// Progress sentences.
inline constexpr QStringView kReading = u"Lettura delle fatture elettroniche...";
inline constexpr QStringView kChecking = u"Ricerca delle rate già presenti in archivio...";
inline constexpr QStringView kWriting = u"Importazione delle fatture elettroniche...";

// Messages.
inline constexpr QStringView kNothingToImport = u"Non ci sono rate nuove da importare.";
inline constexpr QStringView kDone = u"Importazione delle fatture elettroniche completata.";
inline constexpr QStringView kYearLine = u"Anno %1: %2, %3.";
inline constexpr QStringView kAddedOne = u"1 movimento aggiunto";
inline constexpr QStringView kAddedMany = u"%1 movimenti aggiunti";
inline constexpr QStringView kPresentOne = u"1 già presente";
inline constexpr QStringView kPresentMany = u"%1 già presenti";
inline constexpr QStringView kCardsLine = u"Rubrica: %1.";
inline constexpr QStringView kCardOne = u"1 scheda aggiunta";
inline constexpr QStringView kCardMany = u"%1 schede aggiunte";
inline constexpr QStringView kAttachmentsLine = u"Allegati: %1 file salvati, %2 già presenti.";
inline constexpr QStringView kSkippedLine = u"Fatture o file scartati: %1.";
inline constexpr QStringView kLeftOutLine = u"Rate escluse: %1.";
inline constexpr QStringView kOpenYear = u"Aprire i movimenti dell'anno %1?";
inline constexpr QStringView kOpenDue = u"Mostrare le scadenze dell'anno %1?";
inline constexpr QStringView kWriteFailed = u"L'importazione si è fermata per un errore: %1";
inline constexpr QStringView kWrittenBefore = u"Scritto prima dell'errore:";
inline constexpr QStringView kNothingWritten = u"Non è stato scritto nulla.";

}  // namespace fondaro::invoiceTexts
