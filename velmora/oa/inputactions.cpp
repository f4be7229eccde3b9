#include "velmora/oa/inputactions.h"

#include <string_view>
#include <unordered_map>

#include "platform/cp1251.h"
#include "platform/textfile.h"

namespace velmora {

namespace {

struct ViewHash {
  size_t operator()(QStringView v) const {
    return std::hash<std::u16string_view>()(std::u16string_view(v.utf16(), size_t(v.size())));
  }
};

// The lines of text; equal lines share one string. A long file repeats a few inputs, and a
// string per line would cost several times the file.
QStringList sharedLines(const QString& text) {
  std::unordered_map<QStringView, QString, ViewHash> seen;
  QStringList lines;
  const qsizetype n = text.size();
  const QChar* p = text.constData();
  qsizetype start = 0;
  for (qsizetype i = 0; i <= n; ++i) {
    const bool end = i == n;
    if (!end && p[i] != QLatin1Char('\r') && p[i] != QLatin1Char('\n')) continue;
    if (end && start == n) break;  // a last line end closes no further line
    const QStringView line(p + start, i - start);
    auto it = seen.find(line);
    if (it == seen.end()) it = seen.emplace(line, line.toString()).first;
    lines.append(it->second);
    if (!end && p[i] == QLatin1Char('\r') && i + 1 < n && p[i + 1] == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  return lines;
}

}  // namespace

QStringList InputActionsFile::parse(const QByteArray& bytes) { return sharedLines(cp1251::decode(bytes)); }

bool InputActionsFile::read(const QString& path, QStringList* inputs, QString* error) {
  QString text;
  if (!textfile::readText(path, &text, error)) return false;
  *inputs = sharedLines(text);
  return true;
}

bool InputActionsFile::toBytes(const QStringList& inputs, QByteArray* bytes, QString* error) {
  for (int i = 0; i < inputs.size(); ++i) {
    if (inputs[i].contains(QLatin1Char('\n')) || inputs[i].contains(QLatin1Char('\r'))) {
      if (error) *error = QStringLiteral("Шаг %1: воздействие не может содержать перевод строки").arg(i + 1);
      return false;
    }
  }
  bool ok = false;
  QString err;
  const QByteArray out = textfile::joinCrLf(inputs, &ok, &err);
  if (!ok) {
    if (error) *error = err;
    return false;
  }
  *bytes = out;
  return true;
}

bool InputActionsFile::write(const QString& path, const QStringList& inputs, QString* error) {
  QByteArray bytes;
  if (!toBytes(inputs, &bytes, error)) return false;
  return textfile::writeBytes(path, bytes, error);
}

}  // namespace velmora
