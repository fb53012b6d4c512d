#pragma once
// The chart windows of the statistics: a per-use window that reads the year's
// archive named by the statistics year window, draws its figures as 3D bars
// or a 3D pie, and prints them. The monthly income, monthly expense and
// annual balance windows differ only in their texts and figures (Sheet).
#include <QStringList>
#include <optional>

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

class ChartView;

class StatsWindow : public gui::Form {
  Q_OBJECT

 public:
  enum class Figures { MonthlyIncome, MonthlyExpense, Annual };
  struct Sheet {
    Figures figures;
    const char* objectName;
    const char* caption;  // after the product name: " Fondaro 3.0 - <caption>"
    const char* chartTitle;
    const char* legendTitle;
    const char* rigo04;
    const char* openingInfo;
    const char* hoverBarre;
    const char* hoverTorta;
    const char* yearField;  // the year window's field this chart compares dates with
    const char* artwork;
  };

  StatsWindow(QWidget* owner, const Sheet& sheet);
  ~StatsWindow() override;

  // The engine's chart as it is shown.
  const chart::Chart& chart() const;

 public slots:
  void btnBarreClick();
  void btnTortaClick();
  void btnStampaClick();
  void btnEsciClick();
  void cmdGuidaClick();

 protected:
  void FormShow() override;

 private:
  void computeChart();

  const Sheet& sheet_;
  QLabel* lblTitolo;
  QLabel* lblFile;
  QLabel* panInfo;
  ChartView* ChartStats;
  QPushButton* btnTorta;
  QPushButton* btnBarre;
  QPushButton* btnStampa;
  QPushButton* btnEsci;
  gui::PictureButton* cmdGuida;
  QList<QLabel*> memLabels;
};

// The statistics guide page, shown from the year window and the chart windows.
void showStatsGuide(QWidget* owner);

// How many copies an answer to "Copie:" asks for: an empty answer, or one that
// is not made of digits only, counts as 1; nothing when the number is above
// `max`.
std::optional<int> copiesFromAnswer(const QString& answer, int max);

}  // namespace fondaro
