// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The period selection of the journal, a navigation window: a year, an
// optional reason and a period inside the year chosen from drop-down lists.
// "Visualizza riepilogo" checks the choice, builds the two dates and the
// archive path, and opens the journal. Closing it brings the launcher back.
#include "gui/form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {

namespace gui {
class PictureButton;
}
namespace period {
enum class Field;
}

class TfrmMenuBilancio : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmMenuBilancio(QWidget* owner = nullptr);

  // What the journal is opened on.
  QString archivePath() const;  // lblFile
  QString startDate() const;    // lblDataInizio
  QString endDate() const;      // lblDataFine
  QString reasonFilter() const; // txtTipologia, as typed

 public slots:
  void btnVisualizzaClick();
  void btnEsciClick();
  void imgGuidaClick();
  // Beyond the journal: the totals by category of the period, and the
  // rendiconto per cassa of the year.
  void btnCategorieClick();
  void btnRendicontoClick();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  void buildPeriodGroup(QWidget* parent, bool start, const QRect& at);
  void setFieldRules();
  void copyYear();
  bool checkVisualizza();
  QWidget* controlOf(period::Field field) const;  // nullptr: the focus stays

  QLineEdit* txtAnno;
  QLineEdit* txtTipologia;
  QComboBox* txtGiornoInizio;
  QComboBox* txtMeseInizio;
  QComboBox* txtGiornoFine;
  QComboBox* txtMeseFine;
  QLabel* lblAnnoInizio;
  QLabel* lblAnnoFine;
  QLabel* lblDataInizio;
  QLabel* lblDataFine;
  QLabel* lblFile;
  QLabel* lblAttendere;
  QPushButton* btnEsci;
  QPushButton* btnVisualizza;
  gui::PictureButton* imgGuida;
  QPushButton* btnCategorie;
  QPushButton* btnRendiconto;
};

// The journal's guide page, shared by the period window and the journal.
void showJournalGuide(QWidget* owner);

}  // namespace fondaro
