#include "servers/fsmformat.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstdlib>

#include "platform/textfile.h"
#include "platform/quote.h"

namespace fsm {

namespace {

QString numbers(const Set& set) {
  QStringList parts;
  for (int v : set) parts << QString::number(v);
  return parts.join(QLatin1Char(' '));
}

// Thrown inside the reader only; turned into the error text.
struct Fault {
  QString text;
};

class Reader {
 public:
  explicit Reader(const QStringList& lines) : lines_(lines) {}

  int lineNo() const { return pos_; }  // 1-based number of the line read last
  int remaining() const { return int(lines_.size()) - pos_; }

  QString next(const char* what) {
    if (pos_ >= lines_.size())
      throw Fault{QStringLiteral("файл оборван, ожидается %1").arg(QString::fromUtf8(what))};
    return lines_[pos_++];
  }

  [[noreturn]] void fail(const QString& text) const {
    throw Fault{QStringLiteral("строка %1: %2").arg(pos_).arg(text)};
  }

  // "KEYWORD fields..." where the fields are separated by "/". Returns the fields.
  QStringList record(const QString& keyword, int fieldCount) {
    const QString line = next(keyword.toLatin1().constData());
    if (line != keyword && !line.startsWith(keyword + QLatin1Char(' ')))
      fail(QStringLiteral("ожидается %1").arg(keyword));
    const QStringList fields = line.mid(keyword.size()).split(QLatin1Char('/'));
    if (fields.size() != fieldCount)
      fail(QStringLiteral("в записи %1 ожидается полей: %2").arg(keyword).arg(fieldCount));
    return fields;
  }

  static bool integer(const QString& token, int* out) {
    static const QRegularExpression re(QStringLiteral("^-?[0-9]{1,9}$"));
    if (!re.match(token).hasMatch()) return false;
    *out = token.toInt();
    return true;
  }

  QVector<int> ints(const QString& field) {
    QVector<int> out;
    const QStringList tokens = field.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& t : tokens) {
      int v = 0;
      if (!integer(t, &v)) fail(QStringLiteral("'%1' не является целым числом").arg(quote::excerpt(t)));
      out << v;
    }
    return out;
  }

  int count(const QString& keyword) {
    const QVector<int> v = ints(record(keyword, 1)[0]);
    if (v.size() != 1 || v[0] < 0) fail(QStringLiteral("в записи %1 ожидается число").arg(keyword));
    // Every counted item takes at least one line of its own.
    if (v[0] > remaining()) fail(QStringLiteral("число %1 больше, чем строк в файле").arg(v[0]));
    return v[0];
  }

  // `spelled`: letters after the first may be upper case (output names).
  QStringList names(const QString& keyword, bool spelled = false) {
    const int n = count(keyword);
    QStringList out;
    QSet<QString> seen;
    for (int i = 0; i < n; ++i) {
      const QString name = next("имя");
      if (!(spelled ? isSpelledName(name) : isPlainName(name)))
        fail(QStringLiteral("недопустимое имя '%1'").arg(quote::excerpt(name)));
      // The same name in another case is the same name (as Model::numberOf compares them).
      const QString folded = name.toCaseFolded();
      if (seen.contains(folded)) fail(QStringLiteral("имя '%1' повторяется").arg(quote::excerpt(name)));
      seen.insert(folded);
      out << name;
    }
    return out;
  }

  // Positive numbers 1..limit, each once; returned sorted.
  Set members(const QString& field, int limit, const char* what) {
    Set out;
    for (int v : ints(field)) {
      if (v < 1 || v > limit)
        fail(QStringLiteral("номер %1 вне списка (%2)").arg(v).arg(QString::fromUtf8(what)));
      if (std::binary_search(out.begin(), out.end(), v)) fail(QStringLiteral("номер %1 повторяется").arg(v));
      out.insert(std::lower_bound(out.begin(), out.end(), v), v);
    }
    return out;
  }

  // Signed numbers of magnitude 1..limit, one per signal; returned in literal order.
  Set literals(const QString& field, int limit, const char* what) {
    Set out;
    for (int v : ints(field)) {
      if (v == 0 || std::abs(v) > limit)
        fail(QStringLiteral("номер %1 вне списка (%2)").arg(v).arg(QString::fromUtf8(what)));
      if (containsLiteral(out, v) || containsLiteral(out, -v))
        fail(QStringLiteral("сигнал %1 повторяется").arg(std::abs(v)));
      addLiteral(out, v);
    }
    return out;
  }

 private:
  const QStringList& lines_;
  int pos_ = 0;
};

}  // namespace

const QString& FsmFile::signature() {
  static const QString s = QStringLiteral("VEXO FSM 1");
  return s;
}

QStringList FsmFile::toLines(const Model& m) {
  QStringList out;
  out << signature();
  out << QStringLiteral("TYPE %1 %2 %3 %4")
             .arg(m.type.states)
             .arg(m.type.outputs)
             .arg(m.type.inputs)
             .arg(m.type.triggers);
  auto names = [&out](const char* keyword, const QStringList& list) {
    out << QStringLiteral("%1 %2").arg(QLatin1String(keyword)).arg(list.size());
    out << list;
  };
  names("INPUTS", m.inputs);
  names("OUTPUTS", m.outputs);
  names("EVENTS", m.events);
  out << (QStringLiteral("START ") + numbers(m.start)).trimmed();
  out << QStringLiteral("LINES %1").arg(m.lines.size());
  for (const Line& line : m.lines) {
    out << QStringLiteral("LINE %1 / %2 / %3")
               .arg(numbers(line.key), numbers(line.outputs))
               .arg(line.transitions.size());
    for (const Transition& t : line.transitions)
      out << QStringLiteral("IF %1 / %2").arg(numbers(t.condition), numbers(t.targets));
  }
  out << QStringLiteral("END");
  return out;
}

bool FsmFile::parse(const QStringList& lines, Model* model, QString* error) {
  Reader r(lines);
  Model m;
  try {
    if (r.next("заголовок") != signature())
      r.fail(
          QStringLiteral("файл не является скомпилированным автоматом (ожидается \"%1\")").arg(signature()));
    const QVector<int> type = r.ints(r.record(QStringLiteral("TYPE"), 1)[0]);
    if (type.size() != 4) r.fail(QStringLiteral("в записи TYPE ожидается четыре числа"));
    m.type = {type[0], type[1], type[2], type[3]};
    if (!m.type.valid()) r.fail(QStringLiteral("недопустимый тип автомата"));
    m.inputs = r.names(QStringLiteral("INPUTS"));
    m.outputs = r.names(QStringLiteral("OUTPUTS"), true);
    m.events = r.names(QStringLiteral("EVENTS"));
    m.start = r.members(r.record(QStringLiteral("START"), 1)[0], int(m.events.size()), "события");
    const int lineCount = r.count(QStringLiteral("LINES"));
    for (int i = 0; i < lineCount; ++i) {
      const QStringList f = r.record(QStringLiteral("LINE"), 3);
      Line line;
      line.key = r.literals(f[0], int(m.events.size()), "события");
      line.outputs = r.members(f[1], int(m.outputs.size()), "выходы");
      const QVector<int> tc = r.ints(f[2]);
      if (tc.size() != 1 || tc[0] < 0 || tc[0] > r.remaining())
        r.fail(QStringLiteral("недопустимое число переходов"));
      if (m.findLine(line.key) >= 0) r.fail(QStringLiteral("ключ строки повторяется"));
      for (int k = 0; k < tc[0]; ++k) {
        const QStringList t = r.record(QStringLiteral("IF"), 2);
        Transition tr;
        tr.condition = r.literals(t[0], int(m.inputs.size()), "входы");
        if (m.abstractInputs() &&
            (tr.condition.size() > 1 || (tr.condition.size() == 1 && tr.condition[0] < 0)))
          r.fail(QStringLiteral("абстрактное условие задается одним неинверсным именем"));
        tr.targets = r.members(t[1], int(m.events.size()), "события");
        if (tr.targets.isEmpty()) r.fail(QStringLiteral("переход без события перехода"));
        for (const Transition& other : line.transitions)
          if (other.condition == tr.condition) r.fail(QStringLiteral("условие перехода повторяется"));
        line.transitions << tr;
      }
      m.lines << line;
    }
    if (r.next("END") != QStringLiteral("END")) r.fail(QStringLiteral("ожидается END"));
    if (r.remaining() > 0) {
      r.next("");
      r.fail(QStringLiteral("лишние строки после END"));
    }
  } catch (const Fault& f) {
    if (error) *error = f.text;
    return false;
  }
  *model = m;
  return true;
}

bool FsmFile::read(const QString& path, Model* model, QString* error) {
  QStringList lines;
  QString why;
  if (!textfile::readLines(path, &lines, &why)) {
    if (error) *error = why;
    return false;
  }
  if (!parse(lines, model, &why)) {
    if (error) *error = path + QStringLiteral(": ") + why;
    return false;
  }
  return true;
}

bool FsmFile::write(const QString& path, const Model& model, QString* error) {
  return textfile::writeLines(path, toLines(model), error);
}

}  // namespace fsm
