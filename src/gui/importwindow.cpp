// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/importwindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/application.h"
#include "gui/widgets.h"

namespace fondaro::gui {

ImportHead buildImportHead(QWidget* window, QStringView title, QStringView hint) {
  ImportHead head{new QVBoxLayout(window), nullptr, nullptr};
  head.layout->setContentsMargins(16, 14, 16, 14);
  head.layout->setSpacing(8);
  head.title = layoutLabel(window, "lblTitolo", title, windowFont("Verdana", 14, true));
  head.hint = layoutLabel(window, "lblInfo", hint, windowFont("Verdana", 9));
  head.hint->setWordWrap(true);
  head.layout->addWidget(head.title);
  head.layout->addWidget(head.hint);
  return head;
}

ImportFoot buildImportFoot(QWidget* window, const char* actionName, QStringView action, QStringView guide,
                           QStringView close) {
  ImportFoot foot{new QHBoxLayout, layoutButton(window, actionName, action, 110),
                  layoutButton(window, "btnGuida", guide, 110), layoutButton(window, "btnChiudi", close, 110)};
  foot.layout->addWidget(foot.action);
  foot.layout->addStretch();
  foot.layout->addWidget(foot.guide);
  foot.layout->addWidget(foot.close);
  return foot;
}

qint64 tickedCount(const GridModel& model) {
  qint64 n = 0;
  for (int r = 0; r < model.rowCount(); ++r) n += model.ticked(r);
  return n;
}

}  // namespace fondaro::gui
