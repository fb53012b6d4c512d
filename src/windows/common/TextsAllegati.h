// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the attachments window: captions, the file dialog, questions
// and warnings.
#include <QStringView>

namespace fondaro::attachmentTexts {

inline constexpr QStringView kCaption = u" Allega file";
inline constexpr QStringView kFileCaptions[3] = {u"Nome 1° file allegato:", u"Nome 2° file allegato:",
                                                 u"Nome 3° file allegato:"};
inline constexpr QStringView kDescCaptions[3] = {
    u"Descrizione 1° file allegato:", u"Descrizione 2° file allegato:", u"Descrizione 3° file allegato:"};
inline constexpr QStringView kBrowse = u"Sfoglia...";
inline constexpr QStringView kOpen = u"Apri";
inline constexpr QStringView kClear = u"Cancella il nome del file allegato";
inline constexpr QStringView kApply = u"Applica e chiudi";
inline constexpr QStringView kCancel = u"Annulla";

inline constexpr QStringView kDialogTitle = u"Selezionare il file da allegare:";
inline constexpr QStringView kDialogFilter = u"Tutti i file (*.*)";

inline constexpr QStringView kOverwrite =
    u"Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome.\r\n\r\n"
    u"Si vuole sovrascrivere il file esistente?";
inline constexpr QStringView kNotCopied =
    u"Attenzione: non è stato possibile copiare il file nella cartella dei documenti allegati.";
inline constexpr QStringView kCheckRights =
    u"Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.";
inline constexpr QStringView kBadName =
    u"Attenzione: il nome del file allegato non è valido: non può contenere barre (/ o \\) "
    u"né caratteri di controllo e non può essere \"..\".";
inline constexpr QStringView kNotStorable =
    u"Attenzione: il nome del file non può essere conservato nella scheda: contiene caratteri fuori "
    u"dall'alfabeto latino (sono ammesse le lettere accentate) oppure supera i 250 caratteri.\r\n\r\n"
    u"Rinominare il file e allegarlo di nuovo.";
inline constexpr QStringView kNotOpened = u"Il file non viene aperto.";
inline constexpr QStringView kNotAttached = u"Il file non è stato allegato.";
// Shown while a big file is copied into the attachments folder.
inline constexpr QStringView kCopying = u"Copia del file nella cartella degli allegati...";

}  // namespace fondaro::attachmentTexts
