// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/infobar.h"

#include "gui/controls.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

#include "gui/application.h"

namespace fondaro::gui {

namespace {

class HoverSentence : public QObject {
 public:
  HoverSentence(QWidget* control, QLabel* bar, QString sentence)
      : QObject(control), bar_(bar), sentence_(std::move(sentence)) {
    control->setMouseTracking(true);
    control->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::MouseMove && bar_) bar_->setText(sentence_);
    return false;
  }

 private:
  QPointer<QLabel> bar_;
  QString sentence_;
};

class HoverBackground : public QObject {
 public:
  HoverBackground(QWidget* background, QLabel* bar) : QObject(background), bar_(bar) {
    background->setMouseTracking(true);
    background->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::MouseMove || !bar_) return false;
    // A move over a child reaches the background too when the child ignores
    // it; only the background itself empties the bar.
    auto* w = static_cast<QWidget*>(o);
    const auto* m = static_cast<QMouseEvent*>(e);
    if (!w->childAt(m->position().toPoint())) bar_->clear();
    return false;
  }

 private:
  QPointer<QLabel> bar_;
};

}  // namespace

QLabel* makeInfoBar(QWidget* container, const QString& initialText) {
  auto* strip = new QFrame(container);
  strip->setObjectName(u"shpInfo"_qs);
  strip->setAutoFillBackground(true);
  strip->setStyleSheet(u"#shpInfo { background: #3030DD; border: 1px solid #3030DD; }"_qs);
  auto* text = new QLabel(initialText, strip);
  text->setObjectName(u"panInfo"_qs);
  text->setFont(windowFont("Tahoma", 12));
  text->setStyleSheet(u"color: white; background: transparent;"_qs);
  text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  text->setWordWrap(false);
  text->setTextFormat(Qt::PlainText);
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(8, 2, 8, 2);
  row->addWidget(text);
  return text;
}

void setHoverSentences(QLabel* panInfo, QWidget* window, const std::vector<Hover>& sentences) {
  for (const Hover& h : sentences) {
    QWidget* control = requireControl(window, QString::fromLatin1(h.control));
    const QString& sentence = h.sentence;
    new HoverSentence(control, panInfo, sentence);
    // The same sentence is the control's tooltip-free description for a
    // screen reader.
    if (control->accessibleDescription().isEmpty()) control->setAccessibleDescription(sentence);
  }
}

void setHoverSentences(QLabel* panInfo, QWidget* window, std::initializer_list<Hover> sentences) {
  setHoverSentences(panInfo, window, std::vector<Hover>(sentences));
}

void setHoverBackgrounds(QLabel* panInfo, std::initializer_list<QWidget*> backgrounds) {
  for (QWidget* b : backgrounds) new HoverBackground(b, panInfo);
}

void setHoverBackgrounds(QLabel* panInfo, const std::vector<QWidget*>& backgrounds) {
  for (QWidget* b : backgrounds) new HoverBackground(b, panInfo);
}

}  // namespace fondaro::gui
