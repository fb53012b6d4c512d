// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/card.h"

namespace fondaro {

namespace {

using namespace mov;
constexpr FieldBinding<TMovimento> kMovement[] = {
    {u"txtData", Data},
    {u"txtCausale", Causale},
    {u"txtPromemoria", Promemoria},
    {u"txtDataSca", DataSca},
    {u"txtPreavviso", Preavviso},
    {u"txtImporto", Importo},
    {u"txtPagatore", Pagatore},
    {u"txtRecapitoPag", RecapitoPag},
    {u"txtCodFisc", CodFisc},
    {u"txtPartitaIva", PartitaIva},
    {u"txtCategoria", Categoria},
    {u"txtEmail", Email},
    // The payment method is typed up to 150 characters; a stored longer text is kept whole.
    {u"txtPagamento", Pagamento, 150},
    {u"txtBeneficiario", Beneficiario},
    {u"txtRecapitoBen", RecapitoBen},
    {u"txtRicevuta", Ricevuta},
    {u"txtNote", mov::Note},
    {u"txtTariffa", Tariffa},
    {u"lblFile01", mov::File01},
    {u"lblFile02", mov::File02},
    {u"lblFile03", mov::File03},
    {u"lblDesc01", mov::Desc01},
    {u"lblDesc02", mov::Desc02},
    {u"lblDesc03", mov::Desc03},
};

constexpr FieldBinding<TCliente> kClient[] = {
    {u"txtCliente", cli::Cliente},
    {u"txtDataNasc", cli::DataNasc},
    {u"txtComuneNasc", cli::ComuneNasc},
    {u"txtProvNasc", cli::ProvNasc},
    {u"txtSesso", cli::Sesso},
    {u"txtRecapito", cli::Recapito},
    {u"txtIndirizzoRes", cli::IndirizzoRes},
    {u"txtProvRes", cli::ProvRes},
    {u"txtComuneRes", cli::ComuneRes},
    {u"txtCapRes", cli::CapRes},
    {u"txtEstremi", cli::Estremi},
    {u"txtTelCasa", cli::TelCasa},
    {u"txtTelUff", cli::TelUff},
    {u"txtTelCel", cli::TelCel},
    {u"txtFax", cli::Fax},
    {u"txtEmail", cli::Email},
    {u"txtCodFisc", cli::CodFisc},
    {u"txtCarta", cli::Carta},
    {u"txtScadeCarta", cli::ScadeCarta},
    {u"txtPartitaIva", cli::PartitaIva},
    {u"txtIban", cli::Iban},
    {u"txtDocumento", cli::Documento},
    {u"txtOccupazione", cli::Occupazione},
    {u"txtCivile", cli::Civile},
    {u"txtTitoli", cli::Titoli},
    {u"txtProdotti", cli::Prodotti},
    {u"txtZona", cli::Zona},
    {u"txtQuestioni", cli::Questioni},
    {u"txtNote", cli::Note},
    {u"lblFile01", cli::File01},
    {u"lblFile02", cli::File02},
    {u"lblFile03", cli::File03},
    {u"lblDesc01", cli::Desc01},
    {u"lblDesc02", cli::Desc02},
    {u"lblDesc03", cli::Desc03},
};

// A person of the address book imported into a movement card: the movement
// editor's controls and the address-book fields they receive. The movement
// fields have the same capacities, so an imported text always fits.
constexpr FieldBinding<TCliente> kPayerImport[] = {
    {u"txtPagatore", cli::Cliente},       {u"txtRecapitoPag", cli::Recapito}, {u"txtCodFisc", cli::CodFisc},
    {u"txtEmail", cli::Email},            {u"txtPartitaIva", cli::PartitaIva},
};
constexpr FieldBinding<TCliente> kBeneficiaryImport[] = {
    {u"txtBeneficiario", cli::Cliente},
    {u"txtRecapitoBen", cli::Recapito},
};

}  // namespace

std::span<const FieldBinding<TMovimento>> movementBindings() { return kMovement; }
std::span<const FieldBinding<TCliente>> clientBindings() { return kClient; }
std::span<const FieldBinding<TCliente>> payerImportBindings() { return kPayerImport; }
std::span<const FieldBinding<TCliente>> beneficiaryImportBindings() { return kBeneficiaryImport; }

}  // namespace fondaro
