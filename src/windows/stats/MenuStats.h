// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The year selection of the statistics, a navigation window: three boxes, one
// a chart (monthly income, monthly expense, annual balance), each with its
// year and its "Visualizza", which opens that chart for the year's archive.
// Closing the window returns to the launcher.
#include "gui/form.h"
#include "stats/StatsWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {

namespace gui {
class PictureButton;
}

class TfrmMenuStats : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmMenuStats(QWidget* owner = nullptr);

  // The archive path of the last "Visualizza" (the hidden lblFile), handed to
  // the chart window it opens.
  QString archiveFile() const;

 public slots:
  void btnApriPreventiviClick();
  void btnApriNDCClick();
  void btnApriDDTClick();
  void imgGuidaClick();
  void imgEsciClick();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  QRect placePictures(QWidget* container);
  void placeBoxes(QWidget* container);
  void placeFlankingLogos(QWidget* container, const QRect& tile);
  // The year of `field` checked and turned into the archive path; false after
  // the warning when the year is not four digits.
  bool takeYear(QLineEdit* field, QString& year);

  QLineEdit* txtAnnoPreventivi;
  QLineEdit* txtAnnoNDC;
  QLineEdit* txtAnnoDDT;
  QPushButton* btnApriPreventivi;
  QPushButton* btnApriNDC;
  QPushButton* btnApriDDT;
  QLabel* lblFile;
  gui::PictureButton* imgGuida;
  gui::PictureButton* imgEsci;
};

}  // namespace fondaro
