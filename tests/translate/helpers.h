#pragma once
// Small helpers shared by the translate tests.
#include <QStringList>

#include "velmora/documents/formats/docsettings.h"
#include "common/tabledata.h"
#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/tblsku.h"
#include "velmora/translate/testing.h"

using namespace velmora;

namespace tt {

inline QStringList L(std::initializer_list<const char*> lines) {
  QStringList out;
  for (const char* l : lines) out << QString::fromUtf8(l);
  return out;
}

struct Checked {
  bool failed;
  QStringList messages;
  int errors, warnings;
};

inline Checked check(const QStringList& text, const DocSettings& s, bool (TTesting::*pass)()) {
  Checked c;
  TTesting t(text, &c.messages, s);
  c.failed = (t.*pass)();
  c.errors = t.errorCount();
  c.warnings = t.warningCount();
  return c;
}

inline Checked checkSku(const QStringList& text, DocSettings s = DocSettings()) {
  return check(text, s, &TTesting::CheckSku);
}

inline Checked checkRvas(const QStringList& text, DocSettings s = DocSettings()) {
  s.kind = 0;
  return check(text, s, &TTesting::Check);
}

// Letters none of the defaults share: abstract a, binary b, output o, source p, target q.
inline DocSettings otherLetters() {
  DocSettings s;
  s.InAbstr = 'a';
  s.InDigit = 'b';
  s.OutSgn = 'o';
  s.InSob = 'p';
  s.OutSob = 'q';
  return s;
}

// "L-P-N- text" for a message code.
inline QString msg(int line, int pos, int len, int code) {
  return QStringLiteral("%1-%2-%3- %4").arg(line).arg(pos).arg(len).arg(TTesting::messageText(code));
}

inline QStringList rvasToSku(const QStringList& rvas, DocSettings s = DocSettings()) {
  QStringList out;
  TRvasSku c(rvas, &out, s);
  c.Convert();
  return out;
}

inline TableData skuToTable(const QStringList& sku, DocSettings s = DocSettings()) {
  TableData t;
  TSkuTbl c(sku, &t, s);
  c.Convert();
  return t;
}

inline QStringList tableToSku(const TableData& t, bool* hasOutputs = nullptr) {
  QStringList out;
  TTblToSku c(t, &out);
  c.Convert();
  if (hasOutputs) *hasOutputs = c.hasOutputs();
  return out;
}

inline TableRow R(const char* si, const char* y, const char* x, const char* sj) {
  return TableRow{QString::fromUtf8(si), QString::fromUtf8(y), QString::fromUtf8(x), QString::fromUtf8(sj)};
}

}  // namespace tt

// Readable failures for Qt types.
#include <ostream>
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }
inline std::ostream& operator<<(std::ostream& os, const QStringList& l) {
  os << "[";
  for (int i = 0; i < l.size(); ++i) os << (i ? ", " : "") << '"' << l[i].toStdString() << '"';
  return os << "]";
}
inline std::ostream& operator<<(std::ostream& os, const TableRow& r) {
  return os << "(" << r.si << " | " << r.y << " | " << r.x << " | " << r.sj << ")";
}
