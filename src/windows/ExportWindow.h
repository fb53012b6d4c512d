// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of the two export windows (a year's movements, the address book):
// the grid of every record of the archive, of which only the columns the
// export marks editable take typing, and "Esporta" writing the grid as it is
// to the spreadsheet file in the program folder, so an edit reaches the file
// and never the archive.
#include <QByteArray>
#include <functional>
#include <span>

#include "core/spreadsheet.h"
#include "gui/form.h"

class QLabel;
class QTableView;

namespace fondaro {

namespace gui {
class ExportGridModel;
class PictureButton;
}  // namespace gui

struct ExportSetup {
  std::span<const ExportColumn> columns;
  QString fileName;    // in the program folder: "Movimenti.xls"
  QString guideTitle;  // the guide window's title
  QString guidePage;   // the guide page's name
  // Fills the grid's rows from the archive and sets `records` to how many it
  // holds (fillMovementExport); throws ArchiveError with the rows read kept,
  // or Cancelled when the user stops the reading.
  std::function<void(TextTable& rows, qint64& records, const ProgressFn& progress)> readRows;
  std::function<QByteArray(const TextTable&, const ProgressFn& progress)> document;
  // The program's gradient, or a light grey background with the logo and a
  // hand pointing at the export icon.
  enum class Look { Gradient, LightGrey } look = Look::Gradient;
};

class ExportWindow : public gui::Form {
  Q_OBJECT

 public:
  ExportWindow(QWidget* owner, ExportSetup setup);
  ~ExportWindow() override;

 public slots:
  void cmdEsportaClick();
  void cmdGuidaClick();
  void cmdEsciClick();

 protected:
  void FormShow() override;

 private:
  void addPictures(QLabel* lblEsporta);

  ExportSetup setup_;
  gui::ExportGridModel* model;
  QTableView* grdRecords;
  gui::PictureButton* cmdEsporta;
  gui::PictureButton* cmdGuida;
  gui::PictureButton* cmdEsci;
  QLabel* panInfo;
};

}  // namespace fondaro
