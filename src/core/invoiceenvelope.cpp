// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/invoiceenvelope.h"

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>

#include <memory>

#include "core/einvoice.h"

namespace fondaro {

namespace {

constexpr int kMaxLevels = 4;

// The content of a DER (or BER) CMS SignedData.
std::optional<QByteArray> derContent(const QByteArray& der) {
  if (der.isEmpty() || static_cast<unsigned char>(der[0]) != 0x30) return std::nullopt;
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(der.constData(), int(der.size())), &BIO_free);
  if (!bio) return std::nullopt;
  std::unique_ptr<CMS_ContentInfo, decltype(&CMS_ContentInfo_free)> cms(d2i_CMS_bio(bio.get(), nullptr),
                                                                       &CMS_ContentInfo_free);
  ERR_clear_error();
  if (!cms || OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed) return std::nullopt;
  ASN1_OCTET_STRING** content = CMS_get0_content(cms.get());
  if (!content || !*content) return std::nullopt;
  return QByteArray(reinterpret_cast<const char*>(ASN1_STRING_get0_data(*content)), ASN1_STRING_length(*content));
}

// The bytes of Base64 text (blanks, line breaks and PEM armour lines
// allowed); nothing when the text is not Base64.
std::optional<QByteArray> base64Bytes(const QByteArray& text) {
  QByteArray clean;
  clean.reserve(text.size());
  for (const QByteArray& line : text.split('\n')) {
    const QByteArray l = line.trimmed();
    if (l.startsWith("-----")) continue;
    for (char c : l) {
      if (c == ' ' || c == '\t' || c == '\r') continue;
      clean += c;
    }
  }
  if (clean.isEmpty()) return std::nullopt;
  auto decoded = QByteArray::fromBase64Encoding(clean, QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded || decoded.decoded.isEmpty()) return std::nullopt;
  return std::move(decoded.decoded);
}

std::optional<QByteArray> contentAt(const QByteArray& bytes, int level) {
  if (level >= kMaxLevels) return std::nullopt;
  if (auto c = derContent(bytes)) return c;
  if (auto decoded = base64Bytes(bytes)) return contentAt(*decoded, level + 1);
  return std::nullopt;
}

bool isXml(const QByteArray& bytes) {
  qsizetype i = 0;
  if (bytes.startsWith("\xEF\xBB\xBF")) i = 3;
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) return true;
  while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) ++i;
  return i < bytes.size() && bytes[i] == '<';
}

}  // namespace

std::optional<QByteArray> envelopeContent(const QByteArray& bytes) { return contentAt(bytes, 0); }

QByteArray invoiceContent(const QByteArray& fileBytes) {
  QByteArray bytes = fileBytes;
  for (int level = 0; level < kMaxLevels; ++level) {
    if (isXml(bytes)) return bytes;
    std::optional<QByteArray> content = envelopeContent(bytes);
    if (!content) break;
    bytes = std::move(*content);
  }
  throw InvoiceReadError(InvoiceReadError::Kind::Envelope,
                         QStringLiteral("busta firmata (p7m) illeggibile, né XML né CMS"));
}

}  // namespace fondaro
