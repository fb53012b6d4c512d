// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records and archives for tests of every layer: a record from field names and
// texts, and an archive file in a scratch folder holding given records.
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <initializer_list>
#include <utility>
#include <vector>

#include "core/archive.h"
#include "core/records.h"

namespace fondaro::testdata {

// `base` with the named fields set over it.
//   record(movement(u"Quota"), {{mov::Note, u"Rinnovo"}, {mov::Saldato, kSi}})
template <class Rec>
Rec record(Rec base, std::initializer_list<std::pair<int, QStringView>> fields) {
  for (const auto& [f, text] : fields) setFieldText(base, f, text);
  return base;
}

// A record whose named fields hold the given texts; every other field empty.
//   record<TMovimento>({{mov::Causale, u"Quota"}, {mov::Importo, u"10,00"}})
template <class Rec>
Rec record(std::initializer_list<std::pair<int, QStringView>> fields) {
  return record(Rec(), fields);
}

// A movement as the editor saves it: the flags and the signed total set.
inline TMovimento movement(QStringView causale, QStringView data = u"05/03/2024", QStringView importo = u"10,00",
                           bool entrata = true) {
  TMovimento r = record<TMovimento>({{mov::Causale, causale}, {mov::Data, data}, {mov::Importo, importo}});
  r.Entrata.set(entrata ? kSi : kNo);
  r.Uscita.set(entrata ? kNo : kSi);
  r.Saldato.set(kNo);
  r.Totale.set((entrata ? u"+"_qs : u"-"_qs) + importo.toString());
  return r;
}

// A movement with a category, as the category totals and the rendiconto
// read it: its date, signed total, category and whether it is settled.
inline TMovimento categorised(QStringView data, QStringView totale, QStringView categoria, bool saldato) {
  return record<TMovimento>({{mov::Data, data},
                             {mov::Totale, totale},
                             {mov::Causale, u"Voce"},
                             {mov::Categoria, categoria},
                             {mov::Saldato, saldato ? QStringView(kSi) : QStringView(kNo)}});
}

// Appends the records to "<yyyy>.eur" in `folder`, creating it when missing.
inline void appendToYear(const QString& folder, const QString& year, const std::vector<TMovimento>& records) {
  MovementArchive a = MovementArchive::OpenOrCreate(QDir(folder).filePath(year + u".eur"_qs));
  for (const TMovimento& r : records) a.Append(r);
  a.Close();
}

// An archive file in its own scratch folder.
template <class Rec>
class ArchiveFixture {
 public:
  explicit ArchiveFixture(const QString& name) : path_(dir_.filePath(name)) {}
  const QString& path() const { return path_; }
  QString folder() const { return dir_.path(); }
  // Appends the records, creating the file when missing.
  void add(std::initializer_list<Rec> records) {
    Archive<Rec> a = Archive<Rec>::OpenOrCreate(path_);
    for (const Rec& r : records) a.Append(r);
    a.Close();
  }
  Rec at(qint64 p) const {
    Archive<Rec> a = Archive<Rec>::OpenExisting(path_, RecordFile::Access::ReadOnly);
    return a.ReadAt(p);
  }
  qint64 count() const {
    if (!QFile::exists(path_)) return -1;
    return Archive<Rec>::OpenExisting(path_, RecordFile::Access::ReadOnly).Count();
  }

 private:
  QTemporaryDir dir_;
  QString path_;
};

}  // namespace fondaro::testdata
