// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the program's own windows (login, change of password,
// launcher, guide, information and credits): captions, labels, button texts,
// hover texts and notices.
#include <QStringView>

namespace fondaro::appTexts {

inline constexpr QStringView kChiudi = u"Chiudi";
inline constexpr QStringView kEsci = u"Esci";
inline constexpr QStringView kOK = u"OK";

// Login.
inline constexpr QStringView kLoginCaption = u"Accesso";
inline constexpr QStringView kWelcome = u"Benvenuto in Fondaro 3.0";
inline constexpr QStringView kEnterPassword = u"Immetti la password e premi OK.";
inline constexpr QStringView kPasswordName = u"Password";
inline constexpr QStringView kCambiaPassword = u"Cambia password";
inline constexpr QStringView kWrongPassword = u"Attenzione: password errata.";
inline constexpr QStringView kReadError =
    u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
    u"Si consiglia di reinstallare il software.";

// Change of password.
inline constexpr QStringView kChangeCaption = u" Cambia password";
inline constexpr QStringView kChangeIntro =
    u"Per cambiare la password indicare quella attuale e la nuova, due volte.";
inline constexpr QStringView kOldPassword = u"Vecchia password:";
inline constexpr QStringView kNewPassword = u"Nuova password:";
inline constexpr QStringView kConfirmPassword = u"Conferma nuova password:";
inline constexpr QStringView kOldWrong = u"Attenzione: vecchia password errata.";
inline constexpr QStringView kNotConfirmed =
    u"Attenzione: la nuova password non è stata confermata correttamente. "
    u"E' necessario reinserire entrambi i valori.";
inline constexpr QStringView kTooLong =
    u"Attenzione: la nuova password non può superare i 255 caratteri. "
    u"E' necessario reinserire entrambi i valori.";
inline constexpr QStringView kUnstorable =
    u"Attenzione: la nuova password contiene caratteri che non possono essere memorizzati, "
    u"come il simbolo dell'euro. Sono ammessi lettere (anche accentate), cifre, spazi e i "
    u"simboli più comuni. E' necessario reinserire entrambi i valori.";
inline constexpr QStringView kChangeDone = u"Modifica della password completata con successo.";
inline constexpr QStringView kChangeError =
    u"Attenzione: si è verificato un errore durante la procedura di modifica della "
    u"password. Si consiglia di reinstallare il software.";

// Launcher: hover texts of its pictures, and the general guide.
inline constexpr QStringView kInfoHover = u"Informazioni su Fondaro 3.0";
inline constexpr QStringView kTitleArt = u"Fondaro 3.0";
inline constexpr QStringView kSubtitleArt = u"Contabilità di cassa, primanota e statistiche";
inline constexpr QStringView kVersionArt = u"Versione 3.0";
inline constexpr QStringView kGuideHover = u"Guida: uno sguardo a Fondaro 3.0";
inline constexpr QStringView kClientsTile = u"Pagatori e beneficiari";
inline constexpr QStringView kMovementsTile = u"Registro movimenti";
inline constexpr QStringView kJournalTile = u"Primanota e bilancio";
inline constexpr QStringView kStatsTile = u"Grafici statistici";
inline constexpr QStringView kCreditsHover = u"Crediti";
inline constexpr QStringView kSiteHover = u"Sito web www.fondaro.example";
inline constexpr QStringView kExitHover = u"Esci da Fondaro 3.0";
inline constexpr QStringView kGeneralGuideTitle = u"Uno sguardo a Fondaro 3.0.";

// Guide window.
inline constexpr QStringView kGuideCaption = u" Guida all'utilizzo del software";
inline constexpr QStringView kGuideTopic = u"Argomento della guida.";
inline constexpr QStringView kGuideTextName = u"Testo della guida";
inline constexpr QStringView kGuidePdf = u"Visualizza guida in formato PDF";

// Information window.
inline constexpr QStringView kInfoCaption = u" Informazioni su ";
inline constexpr QStringView kDescription =
    u"Contabilità di cassa, primanota e statistiche\nper piccole imprese, associazioni e famiglie.";
inline constexpr QStringView kContacts = u"Per informazioni e assistenza scrivere a:";
// Beyond the described window: the licence, as in the credits window's caption.
inline constexpr QStringView kLicence =
    u"Software libero: si può ridistribuire e modificare secondo i termini della\n"
    u"GNU General Public License, versione 3 o (a scelta) successiva. Senza alcuna garanzia.";
// Beyond the described window: where the data of this copy of the program is.
inline constexpr QStringView kDataFolder = u"Cartella dei dati: ";
inline constexpr QStringView kWriteTo = u"Scrivi a ";
inline constexpr QStringView kMailSubject = u"Software Fondaro 3.0";
inline constexpr QStringView kMailBody =
    u"Salve, desidererei avere le seguenti informazioni sul software in oggetto:";

// Credits window.
inline constexpr QStringView kSplashName = u"Fondaro 3.0, Fondaro Software";
inline constexpr QStringView kSiteName = u"Sito web ";

}  // namespace fondaro::appTexts
