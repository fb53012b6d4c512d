// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The info bar: a blue strip "shpInfo" along the bottom of a window's container
// with a one-line text "panInfo". Moving the mouse over a control that has a help
// sentence shows the sentence; moving it over the window background, the
// container or a decorative shape empties the bar; anything else (an edit field,
// the bar itself) leaves the text as it is. There is no timer and no leave
// handling, so a sentence stays until the mouse moves over something else.
//
// A window declares its sentences as data:
//   setHoverSentences(panInfo, this, {{"cmdNuovo", "Predispone la schermata..."}});
//   setHoverBackgrounds(panInfo, {this, container, shpSezione1});
#include <QString>
#include <QStringView>
#include <initializer_list>
#include <vector>

class QLabel;
class QWidget;

namespace fondaro::gui {

// Creates shpInfo with panInfo on it inside `container`; returns panInfo. The
// caller places shpInfo (its parent widget) where the window wants it.
QLabel* makeInfoBar(QWidget* container, const QString& initialText);

struct Hover {
  Hover(const char* c, const char16_t* s) : control(c), sentence(QString::fromUtf16(s)) {}
  // Sentences written as UTF-8 byte strings are accepted too.
  Hover(const char* c, const char* utf8) : control(c), sentence(QString::fromUtf8(utf8)) {}
  Hover(const char* c, QStringView s) : control(c), sentence(s.toString()) {}
  const char* control;  // objectName
  QString sentence;
};
void setHoverSentences(QLabel* panInfo, QWidget* window, std::initializer_list<Hover> sentences);
void setHoverSentences(QLabel* panInfo, QWidget* window, const std::vector<Hover>& sentences);
void setHoverBackgrounds(QLabel* panInfo, std::initializer_list<QWidget*> backgrounds);
void setHoverBackgrounds(QLabel* panInfo, const std::vector<QWidget*>& backgrounds);

}  // namespace fondaro::gui
