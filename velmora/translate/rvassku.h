#pragma once
// РВАС text -> СКУ text (canonical equations and the output functions).
#include <QStringList>

#include "velmora/documents/formats/docsettings.h"

class TRvasSku {
 public:
  // out receives the СКУ lines; the caller passes it empty.
  TRvasSku(const QStringList& rvas, QStringList* out, DocSettings s);
  void Convert();
};
