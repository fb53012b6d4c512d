// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Importa fatture elettroniche": electronic invoices (single files, signed
// envelopes, zip files, folders) into the yearly archives, the address book
// and the attachments folder. The user chooses files or a folder; every
// instalment is listed with its state (new, already present, skipped and
// why, warnings) and a tick to leave a new one out, and the readable copy of
// the invoice of the selected line shows below the list. The company's
// identifiers (asked the first time) and the days of notice are the program
// folder's settings. "Importa" writes, then a summary per year offers to open
// the year's movements and its due list. Reached from the year window of the
// movements register, beside "Importa estratto conto...".
#include <QStringList>
#include <memory>
#include <vector>

#include "core/invoicefiles.h"
#include "gui/form.h"
#include "movements/ImportaFattureParts.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace fondaro {

namespace gui {
class PageView;
}
namespace report {
class ReportSequence;
}

class TfrmImportaFatture : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmImportaFatture(QWidget* owner = nullptr);
  ~TfrmImportaFatture() override;

  // Reads files, zip files or folders as "File..." and "Cartella..." do.
  void openPaths(const QStringList& paths);

  // What the user asked to open after the import.
  struct Outcome {
    QString year;          // the year's movements; empty for none
    bool dueList = false;  // and its due list
  };
  const Outcome& outcome() const { return outcome_; }

 public slots:
  void btnFileClick();
  void btnCartellaClick();
  void btnAnteprimaClick();
  void btnImportaClick();
  void btnGuidaClick();
  void btnChiudiClick();

 protected:
  void FormShow() override;
  int widen(int spare) override;

 private:
  // The company's identifiers: asked when none is known; false when still none.
  bool ensureOwnIds();
  void ownIdsEdited();
  void noticeEdited();
  void showOwnIdWarnings(bool notify);
  void saveSettings();
  void plan();
  void updateCounts();
  void showCopy(int row);
  void clearList();
  void setChosenText();

  QLineEdit* txtFile;
  QPushButton* btnFile;
  QPushButton* btnCartella;
  QLineEdit* txtAzienda;
  QLabel* lblAvvisoAzienda;
  QSpinBox* txtPreavviso;
  gui::GridView* tblFatture;
  QLabel* lblCopia;
  gui::PageView* viewCopia;
  QPushButton* btnAnteprima;
  QLabel* lblConteggio;
  QPushButton* btnImporta;
  QPushButton* btnGuida;
  QPushButton* btnChiudi;

  invoiceParts::ListModel* list_;
  QStringList paths_;
  std::vector<InvoiceFileRead> files_;
  InvoiceSettings settings_;
  bool planned_ = false;
  int copyFile_ = -1;
  std::unique_ptr<report::ReportSequence> copy_;
  Outcome outcome_;
};

// Shows the window over `owner`; returns what the user asked to open afterwards.
TfrmImportaFatture::Outcome importElectronicInvoices(QWidget* owner);

}  // namespace fondaro
