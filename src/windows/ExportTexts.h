// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the two export windows (a year's movements, the address book).
#include <QStringView>

namespace fondaro::exportTexts {

inline constexpr QStringView kMovementsCaption = u" Esporta archivio movimenti in Microsoft Excel";
inline constexpr QStringView kMovementsGuide = u"Esportazione archivio movimenti in Microsoft Excel.";
inline constexpr QStringView kClientsCaption = u" Esporta archivio pagatori e beneficiari in Microsoft Excel";
inline constexpr QStringView kClientsGuide =
    u"Esportazione archivio pagatori e beneficiari in Microsoft Excel.";

inline constexpr QStringView kReady = u"Esportazione archivio in Microsoft Excel.";
inline constexpr QStringView kExportLabel = u"Esporta archivio";
inline constexpr QStringView kExportName = u"Esporta in Microsoft Excel";
inline constexpr QStringView kGuideName = u"Guida";
inline constexpr QStringView kExitName = u"Esci";
inline constexpr QStringView kLogoName = u"Fondaro";

inline constexpr QStringView kExportHover = u"Esporta l'archivio in formato Microsoft Excel.";
inline constexpr QStringView kGuideHover = u"Visualizza la pagina della guida sensibile al contesto.";
inline constexpr QStringView kExitHover = u"Esci da questo ambiente di lavoro.";

inline constexpr QStringView kAskExport =
    u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede "
    u"presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?";
inline constexpr QStringView kAskOpen =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?";
// The line breaks are written line feed first, as the program always wrote them.
inline constexpr QStringView kExportFailed =
    u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
    u"Accertarsi che il file di Excel non sia già aperto.";
// The progress of long work on a big archive.
inline constexpr QStringView kReadingArchive = u"Lettura delle schede in archivio...";
inline constexpr QStringView kExporting = u"Esportazione delle schede in corso...";

}  // namespace fondaro::exportTexts
