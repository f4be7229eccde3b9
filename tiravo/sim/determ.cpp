#include "tiravo/sim/determ.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/quote.h"

namespace determ {

namespace {

const QString kForbidden = QStringLiteral(" ~!@#$%^&*()-+`?><.,\"\\}{][");
const QString kCaption = QStringLiteral("Детерминизация");

Notice AlphabetNotice(const QString& text) {
  return Notice{text, QStringLiteral("Ошибка!"), Notice::Warning};
}

int FirstForbidden(const QString& text) {
  for (int i = 0; i < text.size(); ++i)
    if (kForbidden.contains(text.at(i))) return i;
  return -1;
}

}  // namespace

QStringList MemoLines(const QString& text) {
  if (text.isEmpty()) return {};
  QString t = text;
  t.remove(QLatin1Char('\r'));
  QStringList lines = t.split(QLatin1Char('\n'));
  if (t.endsWith(QLatin1Char('\n'))) lines.removeLast();
  return lines;
}

AlphabetCheck CheckAlphabet(const QString& text, const QString& tag, int required) {
  AlphabetCheck check;
  const int bad = FirstForbidden(text);
  if (bad >= 0) {
    check.ok = false;
    check.position = bad;
    check.length = 1;
    check.notice = AlphabetNotice(QStringLiteral("Недопустимый символ '") + quote::excerpt(text.mid(bad, 1)) +
                                  QStringLiteral("' в алфавите ") + tag);
    return check;
  }
  const QStringList lines = MemoLines(text);
  if (lines.size() < required) {
    check.ok = false;
    check.notice =
        AlphabetNotice(QStringLiteral("Неполный алфавит ") + tag + QStringLiteral(". Добавте имя!"));
    return check;
  }
  // The state names are made of these names: an empty one or one given twice
  // would make two states read alike.
  int lineStart = 0;  // in `text`, line breaks as they stand
  for (int i = 0; i < required; ++i) {
    const QString& name = lines.at(i);
    if (name.isEmpty()) {
      check.ok = false;
      check.position = lineStart;
      check.notice =
          AlphabetNotice(QStringLiteral("Пустое имя в алфавите ") + tag + QStringLiteral(". Добавте имя!"));
      return check;
    }
    for (int j = 0; j < i; ++j) {
      if (lines.at(j).compare(name, Qt::CaseInsensitive) == 0) {
        check.ok = false;
        check.position = lineStart;
        check.length = int(name.size());
        check.notice =
            AlphabetNotice(QStringLiteral("Повторное имя '") + name + QStringLiteral("' в алфавите ") + tag);
        return check;
      }
    }
    const int lineEnd = int(text.indexOf(QLatin1Char('\n'), lineStart));
    lineStart = lineEnd < 0 ? int(text.size()) : lineEnd + 1;
  }
  return check;
}

QString CheckTemplate(const QString& nameTemplate) {
  if (nameTemplate.isEmpty()) return QStringLiteral("Пустой шаблон имени!");
  const int bad = FirstForbidden(nameTemplate);
  if (bad >= 0)
    return QStringLiteral("Недопустимый символ '") + quote::excerpt(nameTemplate.mid(bad, 1)) +
           QStringLiteral("' в шаблоне имени");
  return QString();
}

// ---- Determinizer ----

void Determinizer::SetTable(std::unique_ptr<FTT> model, const QString& tableName) {
  if (!model) throw VexoError(QStringLiteral("ошибка передачи данных в модуль TDeterm!"));
  run_.reset();
  source_ = std::move(model);
  tableName_ = tableName;
}

QString Determinizer::CodingText() const {
  if (!source_) return QString();
  return source_->Mode == FTT::Abstract ? QStringLiteral("абстрактные") : QStringLiteral("двоичные");
}

bool Determinizer::Begin(const Options& options, Notice* refusal) {
  if (run_) {
    if (refusal) *refusal = Notice{QStringLiteral("Процесс в стадии выполнения!"), kCaption, Notice::NoIcon};
    return false;
  }
  if (!source_) {
    if (refusal)
      *refusal = Notice{QStringLiteral("Нечего детерминизировать!"), QStringLiteral("Ups!"), Notice::NoIcon};
    return false;
  }
  auto run = std::make_unique<Run>(*source_, options);
  if (run->status() == Run::Refused) {
    refusal_ = run->Message();
    if (refusal) *refusal = Notice{refusal_, kCaption, Notice::Warning};
    return false;
  }
  run_ = std::move(run);
  errorEvent_.clear();
  errorCondition_.clear();
  return true;
}

Run::Status Determinizer::Round() {
  if (!run_) return Run::Stopped;
  Run::Status status = run_->Round();
  if (status == Run::Running) return status;
  if (status == Run::Done) {
    std::unique_ptr<FTT> fresh = run_->TakeResult();
    if (fresh && !fresh->Lines.empty()) {
      result_ = std::move(fresh);
      renamed_ = run_->Renames();
      oldNames_ = renamed_ ? run_->OldNameList() : NameList();
    } else {
      status = Run::Empty;
    }
  }
  lastStatus_ = run_->LastStatusText();
  refusal_ = run_->Message();
  errorEvent_ = run_->ErrorEvent();
  errorCondition_ = run_->ErrorCondition();
  run_.reset();
  return status;
}

NameRow Determinizer::NameAt(int k) const {
  const QString& newName = result_->SNames.at(k);
  return NameRow{k + 1, newName, renamed_ ? oldNames_.at(k) : newName};
}

Run::Status Determinizer::RunAll(const std::function<bool(const Run&)>& between) {
  Run::Status status = run_ ? Run::Running : Run::Stopped;
  while (status == Run::Running) {
    if (between && !between(*run_)) Interrupt();
    status = Round();
  }
  return status;
}

void Determinizer::Interrupt() {
  if (run_) run_->Stop();
}

Notice Determinizer::EndNotice(Run::Status status) const {
  switch (status) {
    case Run::Done:
      return Notice{QStringLiteral("Детерминизация успешно выполнена!"), QStringLiteral("Сообщение"),
                    Notice::Information};
    case Run::Empty:
      return Notice{QStringLiteral("Получена пустая таблица!"), QStringLiteral("Результат детерминизации"),
                    Notice::Information};
    case Run::Stopped: return Notice{QStringLiteral("Процесс прерван!"), kCaption, Notice::Information};
    case Run::Refused: return Notice{refusal_, kCaption, Notice::Warning};
    default: return Notice{};
  }
}

// ---- result as table rows ----

bool ResultTableRows(const FTT* result, std::vector<QStringList>* rows, Notice* error) {
  const QString caption = QStringLiteral("Модуль TDeterm");
  if (!result) {
    if (error)
      *error = Notice{QStringLiteral("Внутренняя ошибка передачи данных!"), caption, Notice::Warning};
    return false;
  }
  if (result->Lines.empty()) {
    if (error)
      *error = Notice{QStringLiteral("Внутренняя ошибка трансляции данных!"), caption, Notice::Warning};
    return false;
  }
  rows->clear();
  int number = 0;
  for (const FTT_Line& line : result->Lines) {
    const QStringList head{QString::number(++number), line.Key.ToText(result->SNames),
                           line.Outputs.ToText(result->YNames)};
    if (line.Transitions.empty()) {
      rows->push_back(head + QStringList{QStringLiteral("0"), QString()});
    } else {
      bool first = true;
      for (const LTT_Line& t : line.Transitions) {
        QStringList row = first ? head : QStringList{QString(), QString(), QString()};
        row << t.Condition.ToText(result->XNames) << t.Targets.ToText(result->SNames);
        rows->push_back(row);
        first = false;
      }
    }
    rows->push_back(QStringList{QString(), QString(), QString(), QString(), QString()});
  }
  return true;
}

}  // namespace determ
