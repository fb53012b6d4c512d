#pragma once
// The export of a year's movements to the spreadsheet file "Movimenti.xls" in
// the program folder. The grid shows every movement of the archive open in the
// movement editor; the cells of "Note" and "Saldato" can be edited there, and
// the export writes the grid as it is, so an edit reaches the file only.
#include "gui/form.h"

class QLabel;
class QTableView;

namespace fondaro {

namespace gui {
class ExportGridModel;
class PictureButton;
}  // namespace gui

class TfrmExpMovimenti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmExpMovimenti(QWidget* owner = nullptr);

 public slots:
  void cmdEsportaClick();
  void cmdGuidaClick();
  void cmdEsciClick();

 protected:
  void FormShow() override;

 private:
  gui::ExportGridModel* model;
  QTableView* grdRecords;
  gui::PictureButton* cmdEsporta;
  gui::PictureButton* cmdGuida;
  gui::PictureButton* cmdEsci;
  QLabel* panInfo;
};

}  // namespace fondaro
