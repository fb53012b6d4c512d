// SPDX-License-Identifier: GPL-3.0-or-later
#include "clients/ExpClienti.h"

#include "ExportTexts.h"
#include "core/clientexport.h"
#include "gui/application.h"
#include "gui/programfolder.h"

namespace fondaro {

namespace {

ExportSetup clientExport() {
  return {
      .columns = clientExportColumns(),
      .fileName = QString::fromLatin1(kClientExportFile),
      .guideTitle = exportTexts::kClientsGuide.toString(),
      .guidePage = u"esportazione_clienti"_qs,
      .readRows =
          [](TextTable& rows, qint64& records, const ProgressFn& progress) {
            ClientArchive archive = ClientArchive::OpenOrCreate(clientArchivePath(gui::programFolder()));
            fillClientExport(archive, rows, records, progress);
            archive.Close();
          },
      .document = clientExportDocument,
      .look = ExportSetup::Look::LightGrey,
  };
}

}  // namespace

TfrmExpClienti::TfrmExpClienti(QWidget* owner) : ExportWindow(owner, clientExport()) {
  setObjectName(u"frmExpClienti"_qs);
  setWindowTitle(exportTexts::kClientsCaption.toString());
}

}  // namespace fondaro
