#include "servers/fsmcompiler.h"

#include "servers/fsmformat.h"
#include "platform/quote.h"

#include <QHash>
#include <algorithm>
#include <cstdlib>

namespace fsm {

namespace {

const char* const kColumnNames[] = {"si", "y", "xij", "sj"};

class RowChecker {
 public:
  RowChecker(const Compiler::RowName& row, QStringList* errors) : row_(row), errors_(errors) {}

  void error(int column, int pos, const QString& text) {
    *errors_ << Compiler::messageAt(row_, column, pos + 1, text);
    ok_ = false;
  }
  bool ok() const { return ok_; }
  // Leaves the row out without a message of its own (its fault was reported above).
  void skip() { ok_ = false; }

  // Scans a cell; inverted names are refused unless `inversionAllowed`.
  bool names(int column, const QString& text, bool inversionAllowed, QVector<Name>* out) {
    ScanError e;
    if (!scanNames(text, out, &e)) {
      error(column, e.pos, e.message);
      return false;
    }
    QVector<Name> kept;
    // Whether each name kept so far is inverted: a cell of many names is read in linear time.
    QHash<QString, bool> seen;
    seen.reserve(out->size());
    for (const Name& n : *out) {
      if (n.inverted && !inversionAllowed) {
        error(column, n.pos, QStringLiteral("инверсия имени '%1' недопустима").arg(quote::excerpt(n.key)));
        return false;
      }
      const auto k = seen.constFind(n.key);
      if (k == seen.cend()) {
        seen.insert(n.key, n.inverted);
        kept << n;
      } else if (*k != n.inverted) {
        error(column, n.pos,
              QStringLiteral("имя '%1' входит и прямо, и инверсно").arg(quote::excerpt(n.key)));
        return false;
      }  // else "x1*x1": passes the text checker and means x1
    }
    *out = kept;
    return true;
  }

 private:
  Compiler::RowName row_;
  QStringList* errors_;
  bool ok_ = true;
};

// A list of names of the model being made, with an index of them (case aside), so that a table
// of many names is compiled in time linear in them.
class NameIndex {
 public:
  explicit NameIndex(QStringList& names) : names_(names) {
    for (int i = 0; i < names.size(); ++i) numbers_.insert(names[i].toCaseFolded(), i + 1);
  }
  // As Model::enter: the name's number, appended as given when absent.
  int enter(const QString& name) {
    const QString folded = name.toCaseFolded();
    const auto it = numbers_.constFind(folded);
    if (it != numbers_.cend()) return *it;
    names_ << name;
    numbers_.insert(folded, int(names_.size()));
    return int(names_.size());
  }

 private:
  QStringList& names_;
  QHash<QString, int> numbers_;
};

// `spelled`: a new name is entered as written (outputs), otherwise in lower case. The first
// literal of a signal stays, as addLiteral keeps it.
Set literalsOf(NameIndex& names, const QVector<Name>& cell, bool spelled = false) {
  Set out;
  out.reserve(cell.size());
  for (const Name& n : cell) {
    const int k = names.enter(spelled ? n.text : n.key);
    out << (n.inverted ? -k : k);
  }
  const auto magnitude = [](int l) { return std::abs(l); };
  std::stable_sort(out.begin(), out.end(), [&](int a, int b) { return magnitude(a) < magnitude(b); });
  out.erase(std::unique(out.begin(), out.end(), [&](int a, int b) { return magnitude(a) == magnitude(b); }),
            out.end());
  return out;
}

}  // namespace

QString Compiler::messageAt(const RowName& row, int column, int pos, const QString& text) {
  QString where;
  if (row.number <= 0)
    where = QStringLiteral("Строка таблицы %1 (без номера)").arg(row.line);
  else if (row.continuation == 0)
    where = QStringLiteral("Строка %1 (%2)").arg(row.number).arg(quote::excerpt(row.source));
  else
    where = QStringLiteral("Строка %1 (%2), продолжение %3")
                .arg(row.number)
                .arg(quote::excerpt(row.source))
                .arg(row.continuation);
  return QStringLiteral("%1, столбец %2 (%3), позиция %4: %5")
      .arg(where)
      .arg(column)
      .arg(QLatin1String(kColumnNames[column - 1]))
      .arg(pos)
      .arg(text);
}

int Compiler::setType(int states, int outputs, int inputs, int triggers) {
  type_ = {states, outputs, inputs, states == 0 ? 0 : triggers};
  typeValid_ = type_.valid();
  if (!typeValid_) type_ = {states, outputs, inputs, triggers};
  return typeValid_ ? 0 : -1;
}

void Compiler::addSource(const QString& si, const QString& y, const QString& xij, const QString& sj) {
  rows_.append({si, y, xij, sj});
}

int Compiler::make() {
  compiled_ = false;
  model_.clear();
  QStringList errors;
  Model m;
  if (!typeValid_) {
    errors << QStringLiteral("Недопустимый тип автомата: %1, %2, %3, %4")
                  .arg(type_.states)
                  .arg(type_.outputs)
                  .arg(type_.inputs)
                  .arg(type_.triggers);
  }
  m.type = typeValid_ ? type_ : Type();

  NameIndex events(m.events), outputs(m.outputs), inputs(m.inputs);
  QVector<Name> source;  // the si names that an empty si continues
  bool haveSource = false;
  bool sourceFaulty = false;  // the si above was wrong: its continuation rows are left out
  int contentRows = 0;
  RowName name;
  for (int r = 0; r < rows_.size(); ++r) {
    const auto& cells = rows_[r];
    const QString si = cells[0], y = cells[1], xij = cells[2], sj = cells[3];
    // Numbered as the window's row header numbers: every row whose si is not empty.
    name.line = r + 1;
    if (!si.isEmpty()) {
      ++name.number;
      name.source = si.trimmed();
      name.continuation = 0;
    } else {
      ++name.continuation;
    }
    if (si.trimmed().isEmpty() && y.trimmed().isEmpty() && xij.trimmed().isEmpty() && sj.trimmed().isEmpty())
      continue;
    ++contentRows;
    RowChecker row(name, &errors);

    QVector<Name> key;
    if (si.trimmed().isEmpty()) {
      if (haveSource)
        key = source;
      else if (sourceFaulty)
        row.skip();
      else
        row.error(1, 0, QStringLiteral("не указано исходное событие"));
    } else if (row.names(1, si, true, &key)) {
      source = key;
      haveSource = true;
      sourceFaulty = false;
    } else {
      haveSource = false;
      sourceFaulty = true;
    }

    // Several outputs are allowed with abstract coding too: the set of them is the letter.
    QVector<Name> outs;
    row.names(2, y, false, &outs);

    const QString cond = xij.trimmed();
    const bool noTransition = cond == QLatin1String("0");
    QVector<Name> condition;
    if (cond.isEmpty()) {
      row.error(3, 0, QStringLiteral("не указано условие перехода"));
    } else if (!noTransition && cond != QLatin1String("1")) {
      if (row.names(3, xij, !m.abstractInputs(), &condition) && m.abstractInputs() && condition.size() > 1)
        row.error(3, condition[1].pos, QStringLiteral("абстрактное условие задается одним именем"));
    }

    QVector<Name> targets;
    const QString target = sj.trimmed();
    if (noTransition) {
      if (!target.isEmpty() && target != QLatin1String("0"))
        row.error(4, int(sj.indexOf(target)),
                  QStringLiteral("при условии 0 событие перехода не указывается"));
    } else if (target.isEmpty()) {
      row.error(4, 0, QStringLiteral("не указано событие перехода"));
    } else {
      row.names(4, sj, false, &targets);
    }

    if (!row.ok()) continue;
    const Set keySet = literalsOf(events, key);
    const Set outSet = literalsOf(outputs, outs, true);
    int li = m.findLine(keySet);
    if (li < 0) {
      m.lines.append({keySet, outSet, {}});
      li = int(m.lines.size()) - 1;
    } else {
      m.lines[li].outputs = unite(m.lines[li].outputs, outSet);
    }
    if (noTransition) continue;
    const Set condSet = literalsOf(inputs, condition);
    const Set targetSet = literalsOf(events, targets);
    Line& line = m.lines[li];
    bool merged = false;
    for (Transition& t : line.transitions) {
      if (t.condition == condSet) {
        t.targets = unite(t.targets, targetSet);
        merged = true;
        break;
      }
    }
    if (!merged) line.transitions.append({condSet, targetSet});
  }
  if (contentRows == 0) errors << QStringLiteral("Таблица пуста: нет ни одной заполненной строки");

  if (!errors.isEmpty()) {
    errors << QStringLiteral("Ошибок: %1").arg(errors.size());
    status_ = errors.join(QLatin1Char('\n'));
    return int(errors.size()) - 1;
  }
  for (int l : m.lines.first().key)
    if (l > 0) m.start << l;
  model_ = m;
  compiled_ = true;
  status_ = QStringLiteral(
                "Компиляция завершена без ошибок.\n"
                "Событий: %1, входных сигналов: %2, выходных сигналов: %3, строк автомата: %4.\n"
                "Тип: %5.")
                .arg(m.events.size())
                .arg(m.inputs.size())
                .arg(m.outputs.size())
                .arg(m.lines.size())
                .arg(m.type.describe());
  return 0;
}

int Compiler::save(const QString& path) {
  if (!compiled_) {
    status_ += QStringLiteral("\nНечего записывать: таблица не скомпилирована");
    return 1;
  }
  QString error;
  if (!FsmFile::write(path, model_, &error)) {
    status_ += QStringLiteral("\nОшибка записи %1: %2").arg(path, error);
    return 2;
  }
  status_ += QStringLiteral("\nЗаписан файл %1").arg(path);
  return 0;
}

int Compiler::load(const QString& path) {
  Model m;
  QString error;
  if (!FsmFile::read(path, &m, &error)) {
    status_ = QStringLiteral("Ошибка загрузки: %1").arg(error);
    return -1;
  }
  model_ = m;
  type_ = m.type;
  typeValid_ = true;
  compiled_ = true;
  status_ = QStringLiteral("Загружен файл %1").arg(path);
  return 0;
}

}  // namespace fsm
