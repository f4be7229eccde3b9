#pragma once
// Syntax checker of the РВАС text and of the СКУ text with its СВФ section.
// It only reports: every fault becomes one line "L-P-N- text" in the message list.
#include <QStringList>

#include "velmora/documents/formats/docsettings.h"

class TTesting {
 public:
  // Clears the message list.
  TTesting(const QStringList& lines, QStringList* messages, DocSettings settings);
  bool Check();     // РВАС text; true when errors were found
  bool CheckSku();  // СКУ text; true when errors were found
  int errorCount() const;  // messages that are errors (warnings not counted)
};
