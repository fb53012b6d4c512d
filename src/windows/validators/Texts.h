// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the four check windows: each window's caption and instruction,
// and the two buttons. The notices of the checks come from the core, which the
// tool shares.
#include <QStringView>

namespace fondaro::validatorTexts {

inline constexpr QStringView kCodFiscCaption = u" Controllo codice fiscale";
inline constexpr QStringView kCodFiscTitle =
    u"Immettere il codice fiscale e premere il pulsante di controllo.";
inline constexpr QStringView kPartitaIvaCaption = u" Controllo partita IVA";
inline constexpr QStringView kPartitaIvaTitle =
    u"Immettere il numero di partita IVA e premere il pulsante di controllo.";
inline constexpr QStringView kCartaCaption = u" Controllo carta di credito";
inline constexpr QStringView kCartaTitle =
    u"Immettere il numero di carta di credito e premere il pulsante di controllo.";
inline constexpr QStringView kIbanCaption = u" Controllo IBAN";
inline constexpr QStringView kIbanTitle = u"Immettere l'IBAN e premere il pulsante di controllo.";

inline constexpr QStringView kControlla = u"Controlla";
inline constexpr QStringView kChiudi = u"Chiudi";

}  // namespace fondaro::validatorTexts
