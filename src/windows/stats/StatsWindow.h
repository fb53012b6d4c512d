// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The chart windows of the statistics: a per-use window that reads the year's
// archive named by the statistics year window, draws its figures as 3D bars
// or a 3D pie, and prints them. The monthly income, monthly expense and
// annual balance windows differ only in their texts, figures and picture
// (Sheet).
#include <QStringList>
#include <optional>

#include "core/copies.h"  // the copies answer of btnStampa
#include "gui/form.h"

class QLabel;
class QPushButton;

namespace fondaro {

namespace chart {
class Chart;
}
namespace gui {
class PictureButton;
}
namespace statsTexts {
struct ChartTexts;
}

class ChartView;

class StatsWindow : public gui::Form {
  Q_OBJECT

 public:
  enum class Figures { MonthlyIncome, MonthlyExpense, Annual };
  struct Sheet {
    Figures figures;
    const char* objectName;
    const statsTexts::ChartTexts& texts;
    const char* artwork;
  };

  StatsWindow(QWidget* owner, const Sheet& sheet);
  ~StatsWindow() override;

  // The engine's chart as it is shown.
  const chart::Chart& chart() const;
  // The title above the chart (lblTitolo), set by the year window.
  void setTitle(const QString& title);
  // The year's archive the chart is drawn from (read afresh at each showing)
  // and the year as the user typed it.
  void setArchive(const QString& path, const QString& year) {
    archiveFile_ = path;
    year_ = year;
  }

 public slots:
  void btnBarreClick();
  void btnTortaClick();
  void btnStampaClick();
  void btnEsciClick();
  void cmdGuidaClick();

 protected:
  void FormShow() override;

 private:
  void placeControls(QWidget* container);
  void computeChart();

  const Sheet& sheet_;
  QLabel* lblTitolo;
  QLabel* lblFile;
  QString archiveFile_;
  QString year_;
  QLabel* panInfo;
  ChartView* ChartStats;
  QPushButton* btnTorta;
  QPushButton* btnBarre;
  QPushButton* btnStampa;
  QPushButton* btnEsci;
  gui::PictureButton* cmdGuida;
  QLabel* imgFattura;
  QList<QLabel*> memLabels;
};

// The statistics guide page, shown from the year window and the chart windows.
void showStatsGuide(QWidget* owner);

}  // namespace fondaro
