#include "clients/ExpClienti.h"

#include "core/clientexport.h"
#include "gui/application.h"
#include "gui/programfolder.h"

namespace fondaro {

namespace {

ExportSetup clientExport() {
  return {
      .columns = clientExportColumns(),
      .fileName = QString::fromLatin1(kClientExportFile),
      .guideTitle = u"Esportazione archivio pagatori e beneficiari in Microsoft Excel."_qs,
      .guidePage = u"esportazione_clienti"_qs,
      .readRows =
          [](TextTable& rows, qint64& records) {
            ClientArchive archive = ClientArchive::OpenOrCreate(clientArchivePath(gui::programFolder()));
            fillClientExport(archive, rows, records);
            archive.Close();
          },
      .document = clientExportDocument,
  };
}

}  // namespace

TfrmExpClienti::TfrmExpClienti(QWidget* owner) : ExportWindow(owner, clientExport()) {
  setObjectName(u"frmExpClienti"_qs);
  setWindowTitle(u" Esporta archivio pagatori e beneficiari in Microsoft Excel"_qs);
}

}  // namespace fondaro
