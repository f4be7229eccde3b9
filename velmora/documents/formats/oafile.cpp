#include "velmora/documents/formats/oafile.h"

#include <QFileInfo>

#include "platform/textfile.h"
#include "platform/quote.h"

namespace velmora {

namespace {

// A stored line can never hold a line break, or the counted sections would shift.
QString oneLine(const QString& s) {
  if (!s.contains(QLatin1Char('\r')) && !s.contains(QLatin1Char('\n'))) return s;
  QString out = s;
  out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  out.replace(QLatin1Char('\r'), QLatin1Char(' '));
  out.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return out;
}

const QString kGroupEnd = QStringLiteral("~");

}  // namespace

const QString& OaFile::header() {
  static const QString h = QStringLiteral("OA_Info");
  return h;
}

QString OaFile::badFormatMessage() {
  return QStringLiteral("Неправильный формат файла операционного автомата");
}

OaFile::Result OaFile::parse(const QStringList& lines, OaDescription* desc, QString* error) {
  if (lines.isEmpty()) return NoFile;
  if (lines.first() != header()) {
    if (error) *error = badFormatMessage();
    return BadHeader;
  }
  auto malformed = [error](const QString& detail) {
    if (error) *error = badFormatMessage() + QStringLiteral(": ") + detail;
    return Malformed;
  };
  // Everything goes into a copy first: a file that does not read whole changes nothing.
  OaDescription d = *desc;
  int counts[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    const int lineNo = i + 2;
    if (lines.size() < lineNo)
      return malformed(QStringLiteral("файл кончается в строке %1, не хватает счетчиков").arg(lines.size()));
    bool ok = false;
    const int v = lines[lineNo - 1].trimmed().toInt(&ok);
    if (!ok || v < 0)
      return malformed(QStringLiteral("в строке %1 %2 не является неотрицательным целым числом")
                           .arg(lineNo)
                           .arg(quote::quoted(lines[lineNo - 1])));
    counts[i] = v;
  }
  d.blockCount = counts[0];
  d.yCount = counts[1];
  d.xCount = counts[2];
  int pos = 4;
  auto take = [&](int n, QStringList* to) -> bool {
    to->clear();
    if (static_cast<long long>(pos) + n > lines.size()) return false;
    for (int i = 0; i < n; ++i) *to << lines[pos++];
    return true;
  };
  const auto shortFile = [&](const QString& what) {
    return malformed(QStringLiteral("файл кончается раньше, чем %1").arg(what));
  };
  if (!take(d.blockCount, &d.blocks)) return shortFile(QStringLiteral("перечислены все блоки"));
  if (!take(d.yCount, &d.ySignals)) return shortFile(QStringLiteral("перечислены все выходные сигналы"));
  if (!take(d.xCount, &d.xSignals)) return shortFile(QStringLiteral("перечислены все входные сигналы"));
  if (!take(d.xCount, &d.xValues))
    return shortFile(QStringLiteral("перечислены значения всех входных сигналов"));
  d.yItems.clear();
  while (pos < lines.size()) {
    QStringList group;
    bool closed = false;
    while (pos < lines.size()) {
      const QString& l = lines[pos++];
      if (l == kGroupEnd) {
        closed = true;
        break;
      }
      group << l;
    }
    if (!closed)
      return malformed(QStringLiteral("список микроопераций %1-го сигнала не закончен строкой \"~\"")
                           .arg(d.yItems.size() + 1));
    d.yItems << group;
  }
  while (d.yItems.size() < d.yCount) d.yItems << QStringList();
  d.oaPresent = true;
  *desc = d;
  return Read;
}

OaFile::Result OaFile::read(const QString& path, OaDescription* desc, QString* error) {
  if (!QFileInfo::exists(path)) return NoFile;  // a table without a description
  QStringList lines;
  QString err;
  if (!textfile::readLines(path, &lines, &err)) {
    if (error) *error = err;
    return Malformed;
  }
  const Result r = parse(lines, desc, &err);
  // The message names the file: a table may be refused because of it.
  if (error && (r == BadHeader || r == Malformed))
    *error = badFormatMessage() + QStringLiteral(" ") + path + err.mid(badFormatMessage().size());
  return r;
}

QStringList OaFile::toLines(const OaDescription& desc) {
  QStringList out;
  if (!desc.oaPresent) return out;
  const int xn = desc.xSignals.size();
  out << header() << QString::number(desc.blocks.size()) << QString::number(desc.ySignals.size())
      << QString::number(xn);
  for (const QString& s : desc.blocks) out << oneLine(s);
  for (const QString& s : desc.ySignals) out << oneLine(s);
  for (const QString& s : desc.xSignals) out << oneLine(s);
  // Exactly one answer per x: the reader takes as many as there are x signals.
  for (int i = 0; i < xn; ++i) out << (i < desc.xValues.size() ? oneLine(desc.xValues[i]) : QString());
  for (const QStringList& item : desc.yItems) {
    for (const QString& m : item) out << oneLine(m);
    out << kGroupEnd;
  }
  return out;
}

bool OaFile::write(const QString& path, const OaDescription& desc, QString* error) {
  if (!desc.oaPresent) return textfile::writeBytes(path, QByteArray(), error);
  return textfile::writeLines(path, toLines(desc), error);
}

}  // namespace velmora
