// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CopieSicurezzaParts.h"

#include <QLocale>

#include "app/CopieTexts.h"
#include "core/attachments.h"
#include "core/filepath.h"
#include "core/passwordfile.h"

namespace fondaro::copieParts {

namespace {

namespace texts = copieTexts;

QString stateText(const safety::CopyInfo& c) {
  using S = safety::Verification::State;
  switch (c.verification.state) {
    case S::Verified: return texts::kStateVerified.toString();
    case S::NoManifest: return texts::kStateNoManifest.toString();
    case S::Damaged: return texts::kStateDamaged.toString() + displayPath(c.verification.file);
  }
  return {};
}

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

const gui::GridColumn<safety::CopyInfo> kColumns[] = {
    {texts::kColWhen, 150, [](const safety::CopyInfo& c, bool) { return whenText(c.made); }, kLeft,
     gui::GridCell::Text, [](const safety::CopyInfo& c, bool) { return displayPath(c.path); }},
    {texts::kColKind, 130, [](const safety::CopyInfo& c, bool) { return kindText(c.kind); }},
    {texts::kColFiles, 250,
     [](const safety::CopyInfo& c, bool) {
       const QList<QByteArray> names = manifestNames(c.path);
       return names.isEmpty() ? QString() : filesText(names);
     }},
    {texts::kColSize, 90, [](const safety::CopyInfo& c, bool) { return sizeText(c.bytes); },
     Qt::AlignRight | Qt::AlignVCenter},
    {texts::kColState, gui::kGridStretch,
     [](const safety::CopyInfo& c, bool) { return c.verified ? stateText(c) : QString(); }},
};

// A copy found damaged shows its state in red.
QColor stateInk(const safety::CopyInfo& c, int column) {
  const bool damaged = c.verified && c.verification.state != safety::Verification::State::Verified;
  return column == 4 && damaged ? QColor(0xB0, 0x10, 0x10) : QColor();
}


}  // namespace

CopiesModel* makeCopiesModel(QObject* parent) {
  return new CopiesModel({.columns = kColumns, .rows = gui::listRows<QList<safety::CopyInfo>>, .ink = stateInk},
                         parent);
}

gui::GridLook copiesLook() {
  return {.family = "Tahoma",
          .points = 10,
          .lines = false,
          .air = 10,
          .captions = Qt::AlignLeft | Qt::AlignVCenter,
          .boldSelected = false};
}

QString kindText(safety::CopyKind k) {
  switch (k) {
    case safety::CopyKind::Day: return texts::kKindDay.toString();
    case safety::CopyKind::Full: return texts::kKindFull.toString();
    case safety::CopyKind::BeforeRestore: return texts::kKindBeforeRestore.toString();
  }
  return {};
}

QString sizeText(qint64 bytes) {
  return QLocale(QLocale::Italian, QLocale::Italy).formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString whenText(const QDateTime& t) { return t.toString(u"dd/MM/yyyy HH:mm:ss"_qs); }

QString filesText(const QList<QByteArray>& names) {
  QStringList parts;
  int attachments = 0;
  for (const QByteArray& n : names) {
    if (n.startsWith(QByteArray(kAttachmentsFolderName) + '/')) ++attachments;
    else if (n == kPasswordFileName) parts << texts::kPasswordFile.toString();
    else parts << displayPath(n);
  }
  if (attachments == 1) parts << texts::kOneAttachment.toString();
  else if (attachments > 1) parts << texts::kAttachmentsCount.toString().arg(attachments);
  return parts.join(u", "_qs);
}

QList<QByteArray> manifestNames(const QByteArray& copy) {
  QList<QByteArray> names;
  try {
    for (const safety::ManifestEntry& e : safety::readManifest(copy).files) names << e.name;
  } catch (const safety::CopyError&) {
  }
  return names;
}

}  // namespace fondaro::copieParts
