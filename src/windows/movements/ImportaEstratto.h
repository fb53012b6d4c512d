#pragma once
// "Importa estratto conto": a bank statement into the yearly archives. The
// user chooses the file; every entry is listed with its state (new, already
// present, skipped and why) and a tick to leave a new one out; a CSV file
// whose columns are not recognised is mapped first. "Importa" writes, then a
// summary offers to open the movements of the year. Reached from the year
// window of the movements register.
#include <optional>

#include "core/bankimport.h"
#include "gui/form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace fondaro {

class TfrmImportaEstratto : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmImportaEstratto(QWidget* owner = nullptr);
  ~TfrmImportaEstratto() override;

  // Reads a statement as "Sfoglia..." does with the file chosen.
  void openFile(const QString& path);
  // The year whose movements the user asked to open after the import; empty
  // when none.
  const QString& yearToOpen() const { return yearToOpen_; }

 public slots:
  void btnSfogliaClick();
  void btnApplicaClick();
  void btnImportaClick();
  void btnGuidaClick();
  void btnChiudiClick();

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  int widen(int spare) override;

 private:
  void showMapping();
  // Reads the statement with the given columns (a CSV file) and plans it.
  void load(const std::optional<CsvColumns>& columns);
  void showPlan();
  void fitColumns();
  void updateCounts();
  QSet<int> leftOut() const;
  void reportFailure(const QString& why);
  void clearStatement();

  QLineEdit* txtFile;
  QPushButton* btnSfoglia;
  QStackedWidget* stkPagine;
  QTableWidget* tblMovimenti;
  QTableWidget* tblAnteprima;
  QLabel* lblColonne;
  QComboBox* cboColonna[7];
  QPushButton* btnApplica;
  QLabel* lblConteggio;
  QPushButton* btnImporta;
  QPushButton* btnGuida;
  QPushButton* btnChiudi;

  QByteArray path_;
  QString name_;
  std::optional<CsvTable> csv_;
  Statement statement_;
  std::optional<ImportPlan> plan_;
  QString yearToOpen_;
};

// Shows the window over `owner`; returns the year whose movements the user
// asked to open afterwards, or an empty text.
QString importBankStatement(QWidget* owner);

}  // namespace fondaro
