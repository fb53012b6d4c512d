#include "tool/pdf.h"

namespace fondaro::tool {

bool writeListPdf(const QString&, const QString&, const QString&, const QStringList&, QString* error) {
  *error = QStringLiteral("PDF output is not available in this build");
  return false;
}

}  // namespace fondaro::tool
