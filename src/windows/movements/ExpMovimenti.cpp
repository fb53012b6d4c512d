#include "movements/ExpMovimenti.h"

#include "ExportTexts.h"
#include "WindowSet.h"
#include "core/movementexport.h"
#include "gui/application.h"
#include "movements/Movimenti.h"

namespace fondaro {

namespace {

ExportSetup movementExport() {
  return {
      .columns = movementExportColumns(),
      .fileName = QString::fromLatin1(kMovementExportFile),
      .guideTitle = exportTexts::kMovementsGuide.toString(),
      .guidePage = u"esportazione_movimenti"_qs,
      .readRows =
          [](TextTable& rows, qint64& records, const ProgressFn& progress) {
            MovementArchive archive = MovementArchive::OpenOrCreate(windowSet().frmMovimenti->archiveFile());
            fillMovementExport(archive, rows, records, progress);
            archive.Close();
          },
      .document = movementExportDocument,
  };
}

}  // namespace

TfrmExpMovimenti::TfrmExpMovimenti(QWidget* owner) : ExportWindow(owner, movementExport()) {
  setObjectName(u"frmExpMovimenti"_qs);
  setWindowTitle(exportTexts::kMovementsCaption.toString());
}

}  // namespace fondaro
