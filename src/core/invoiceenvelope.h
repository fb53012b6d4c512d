// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signed envelope of an electronic invoice (".xml.p7m", CAdES): a CMS
// SignedData whose encapsulated content is the invoice's XML. The content is
// taken out with OpenSSL's CMS API, never by searching the bytes for "<?xml":
// in a DER envelope the content may sit in chunks (constructed OCTET STRING)
// whose headers fall inside the text. The signature is not verified: the
// interchange system verified it before delivering the file.
//
// Accepted: DER; the same written as Base64 text, with or without line breaks,
// with or without PEM armour lines ("-----BEGIN ..."); and Base64 of Base64
// (some intermediaries encode the file once more). Nothing else.
#include <QByteArray>
#include <optional>

namespace fondaro {

// The invoice's bytes in a file as delivered: the file itself when it is XML
// (its first byte after a byte-order mark and blanks is "<"), else the
// content of its signed envelope. Throws InvoiceReadError(Envelope) when
// neither. An envelope inside an envelope is opened too (at most a few levels).
QByteArray invoiceContent(const QByteArray& fileBytes);

// The encapsulated content of a CMS SignedData in DER or Base64 text (of DER,
// or of Base64 text); nothing when the bytes are not one or it has no content
// (a detached signature).
std::optional<QByteArray> envelopeContent(const QByteArray& bytes);

}  // namespace fondaro
