// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printouts from a program with no windows (the command-line tool, the
// benchmarks): the QtGui application object that fonts and PDF writing need,
// on the offscreen platform unless one is named, so no display is wanted.
#include <QGuiApplication>
#include <memory>

namespace fondaro::report {

// Creates the application object (`argc` and `argv` must outlive it) and
// installs the program's font substitutions. Call once, before any report.
std::unique_ptr<QGuiApplication> startHeadless(int& argc, char** argv);

}  // namespace fondaro::report
