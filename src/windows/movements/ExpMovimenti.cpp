// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/ExpMovimenti.h"

#include "ExportTexts.h"
#include "core/movementexport.h"
#include "gui/application.h"

namespace fondaro {

namespace {

ExportSetup movementExport(const QString& archivePath) {
  return {
      .columns = movementExportColumns(),
      .fileName = QString::fromLatin1(kMovementExportFile),
      .guideTitle = exportTexts::kMovementsGuide.toString(),
      .guidePage = u"esportazione_movimenti"_qs,
      .readRows =
          [archivePath](TextTable& rows, qint64& records, const ProgressFn& progress) {
            MovementArchive archive = MovementArchive::OpenOrCreate(archivePath);
            fillMovementExport(archive, rows, records, progress);
            archive.Close();
          },
      .document = movementExportDocument,
  };
}

}  // namespace

TfrmExpMovimenti::TfrmExpMovimenti(QWidget* owner, const QString& archivePath)
    : ExportWindow(owner, movementExport(archivePath)) {
  setObjectName(u"frmExpMovimenti"_qs);
  setWindowTitle(exportTexts::kMovementsCaption.toString());
}

}  // namespace fondaro
