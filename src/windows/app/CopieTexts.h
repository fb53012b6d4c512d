// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the safety copies window: caption, labels, columns, buttons,
// hover sentences, questions and notices.
#include <QStringView>

namespace fondaro::copieTexts {

inline constexpr QStringView kCaption = u" Copie di sicurezza";
inline constexpr QStringView kLauncherHover = u"Copie di sicurezza degli archivi";
inline constexpr QStringView kTitle = u"Copie di sicurezza";
inline constexpr QStringView kIntro =
    u"Prima del primo salvataggio di ogni giorno il programma copia da solo l'archivio, il file delle "
    u"password o l'elenco dei movimenti ricorrenti che sta per scrivere. Qui si può fare una copia completa (archivi, password e allegati), "
    u"copiarla in un'altra cartella, ad esempio su una chiavetta USB, e ripristinare una copia.";
inline constexpr QStringView kFolder = u"Cartella delle copie: ";
inline constexpr QStringView kListName = u"Elenco delle copie";

inline constexpr QStringView kColWhen = u"Data e ora";
inline constexpr QStringView kColKind = u"Tipo";
inline constexpr QStringView kColFiles = u"File";
inline constexpr QStringView kColSize = u"Dimensione";
inline constexpr QStringView kColState = u"Stato";

inline constexpr QStringView kKindDay = u"Giornaliera";
inline constexpr QStringView kKindFull = u"Completa";
inline constexpr QStringView kKindBeforeRestore = u"Prima del ripristino";
inline constexpr QStringView kStateVerified = u"Verificata";
inline constexpr QStringView kStateDamaged = u"Danneggiata: ";
inline constexpr QStringView kStateNoManifest = u"Senza elenco dei file";
inline constexpr QStringView kFilesCount = u"%1 file";
inline constexpr QStringView kPasswordFile = u"password";

inline constexpr QStringView kKeepDays = u"Copie giornaliere da conservare (giorni):";
inline constexpr QStringView kCrea = u"Crea copia adesso";
inline constexpr QStringView kCopiaSu = u"Copia su...";
inline constexpr QStringView kRipristina = u"Ripristina";
inline constexpr QStringView kChiudi = u"Chiudi";

inline constexpr QStringView kCreaHover = u"Copia subito archivi, password e allegati in una nuova copia.";
inline constexpr QStringView kCopiaSuHover =
    u"Copia archivi, password e allegati in una cartella a scelta, ad esempio una chiavetta USB.";
inline constexpr QStringView kRipristinaHover = u"Rimette al loro posto i file della copia scelta.";
inline constexpr QStringView kKeepDaysHover =
    u"Quanti giorni di copie giornaliere tenere: le più vecchie vengono eliminate.";

inline constexpr QStringView kVerifying = u"Verifica delle copie in corso...";
inline constexpr QStringView kCopying = u"Copia in corso...";
inline constexpr QStringView kRestoring = u"Ripristino in corso...";
inline constexpr QStringView kChooseFolder = u"Scegliere la cartella in cui copiare";

inline constexpr QStringView kCopyDone = u"Copia di sicurezza creata nella cartella:\n\r%1\n\r%2 file, %3.";
inline constexpr QStringView kCopyFailed = u"Attenzione: la copia di sicurezza non è stata creata.";
inline constexpr QStringView kSkipped = u"Non sono stati copiati (nome non valido): %1";
inline constexpr QStringView kChooseCopy = u"Scegliere nell'elenco la copia da ripristinare.";
inline constexpr QStringView kDamagedCopy =
    u"Attenzione: la copia scelta è danneggiata e non può essere ripristinata.";
inline constexpr QStringView kRestoreQuestion =
    u"Ripristinare la copia %1 del %2?\n\rVerranno sostituiti: %3.\n\rPrima del ripristino i file attuali "
    u"vengono copiati in una nuova copia di sicurezza. Le finestre di lavoro aperte verranno chiuse; gli "
    u"altri programmi Fondaro aperti sulla stessa cartella vanno chiusi prima di proseguire.";
inline constexpr QStringView kAttachmentsCount = u"%1 allegati";
inline constexpr QStringView kOneAttachment = u"1 allegato";
inline constexpr QStringView kRestoreFailed = u"Attenzione: il ripristino non è stato eseguito; nessun file è stato sostituito.";
inline constexpr QStringView kRestoreDone = u"Ripristino eseguito. I file sostituiti sono stati copiati in:\n\r%1";
inline constexpr QStringView kRestoreDoneNoBefore = u"Ripristino eseguito.";
inline constexpr QStringView kRestoreKept = u"Restano come sono (non presenti nella copia): %1";
inline constexpr QStringView kRestorePartial =
    u"Attenzione: il ripristino non è riuscito per questi file, che restano come erano:";
inline constexpr QStringView kKeepDaysFailed = u"Attenzione: il numero di giorni non è stato salvato.";

}  // namespace fondaro::copieTexts
