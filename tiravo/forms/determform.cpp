#include "tiravo/forms/determform.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>
#include <chrono>

#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "platform/errors.h"
#include "tiravo/forms/bitmaps.h"
#include "tiravo/forms/browser.h"
#include "tiravo/forms/derror.h"
#include "tiravo/forms/framemenus.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/frame.h"
#include "tiravo/forms/nametablemodel.h"
#include "tiravo/forms/setsform.h"
#include "tiravo/forms/tableform.h"

namespace tiravo {

namespace {

const QString kUndefined = QStringLiteral("Неопределено");
const QString kCaption = QStringLiteral("Детерминизация");

dlg::Icon IconOf(determ::Notice::Icon icon) {
  switch (icon) {
    case determ::Notice::Information: return dlg::Information;
    case determ::Notice::Warning: return dlg::Warning;
    default: return dlg::NoIcon;
  }
}

QPlainTextEdit* Memo(QWidget* parent, bool readOnly) {
  auto* m = new QPlainTextEdit(parent);
  m->setReadOnly(readOnly);
  m->setLineWrapMode(QPlainTextEdit::NoWrap);
  return m;
}

}  // namespace

TDeterm::TDeterm(QWidget* parent) : TChildForm(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kCaption);
  resize(460, 360);
  BuildControls();
  showStatus = [this](const QString& text) {
    if (frame()) frame()->ShowHint(text);
  };
  clock = [] {
    return qint64(std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count());
  };
}

TDeterm::~TDeterm() = default;

void TDeterm::BuildControls() {
  sbDeterm = ToolButton(this, QStringLiteral("determ"), QStringLiteral("Детерминизация"));
  sbTable = ToolButton(this, QStringLiteral("table"), QStringLiteral("Сформировать таблицу"));
  sbS0 = ToolButton(this, QStringLiteral("s0"), QStringLiteral("Установить исходное событие"));
  sbExit = ToolButton(this, QStringLiteral("exit"), QStringLiteral("Выход"));
  sbDeterm->setEnabled(false);
  sbTable->setEnabled(false);
  auto* tools = new QHBoxLayout;
  for (QToolButton* b : {sbS0, sbDeterm, sbTable}) tools->addWidget(b);
  tools->addStretch();
  tools->addWidget(sbExit);
  connect(sbS0, &QToolButton::clicked, this, &TDeterm::sbS0Click);
  connect(sbDeterm, &QToolButton::clicked, this, [this] { sbDetermClick(); });
  connect(sbTable, &QToolButton::clicked, this, [this] { sbTableClick(); });
  connect(sbExit, &QToolButton::clicked, this, [this] { docwin::closeWindow(this); });

  pages = new QTabWidget(this);
  auto* general = new QWidget(pages);
  auto* facts = new QFormLayout(general);
  auto value = [&](const QString& caption, const QString& text = QString()) {
    auto* l = new QLabel(text, general);
    facts->addRow(caption, l);
    return l;
  };
  ltName = value(QStringLiteral("Исходная таблица:"));
  ltE = value(QStringLiteral("Событий:"));
  ltX = value(QStringLiteral("Входных сигналов:"));
  ltZ = value(QStringLiteral("Тип входных сигналов:"));
  ltY = value(QStringLiteral("Выходных сигналов:"));
  facts->addRow(new QLabel(QStringLiteral("Сгенерированная таблица:"), general));
  ltS2 = value(QStringLiteral("Состояний:"), kUndefined);
  pages->addTab(general, QStringLiteral("&Общее"));

  auto* alphabet = new QWidget(pages);
  auto* memos = new QHBoxLayout(alphabet);
  auto memoColumn = [&](const QString& caption, QPlainTextEdit* memo) {
    auto* box = new QVBoxLayout;
    box->addWidget(new QLabel(caption, alphabet));
    box->addWidget(memo);
    memos->addLayout(box);
  };
  mS = Memo(alphabet, false);
  mX = Memo(alphabet, true);
  mY = Memo(alphabet, true);
  memoColumn(QStringLiteral("Состояний:"), mS);
  memoColumn(QStringLiteral("Входных сигналов:"), mX);
  memoColumn(QStringLiteral("Выходных сигналов:"), mY);
  connect(mS, &QPlainTextEdit::textChanged, this, [this] {
    if (ready_) CheckAlphabet();
  });
  mS->installEventFilter(this);
  pages->addTab(alphabet, QStringLiteral("&Алфавит"));

  auto* main = new QWidget(pages);
  auto* options = new QVBoxLayout(main);
  cbName = new QCheckBox(QStringLiteral("Разрешить преобразование имён"), main);
  eTemplate = new QLineEdit(QStringLiteral("a"), main);
  eTemplate->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^A-ZА-ЯЁ]*")), eTemplate));
  eTemplate->setEnabled(false);
  auto* templateRow = new QHBoxLayout;
  templateRow->addWidget(cbName);
  templateRow->addWidget(new QLabel(QStringLiteral("Шаблон имени:"), main));
  templateRow->addWidget(eTemplate);
  options->addLayout(templateRow);
  connect(cbName, &QCheckBox::clicked, this, [this](bool on) {
    // The renaming of a run in progress stays as it began.
    if (Running()) {
      cbName->setChecked(!on);
      return;
    }
    eTemplate->setEnabled(on);
  });
  cbBrouser = new QCheckBox(QStringLiteral("Показывать список переходов"), main);
  Complete = new QCheckBox(QStringLiteral("Полные списки переходов"), main);
  Complete->setChecked(true);
  trD = new QRadioButton(QStringLiteral("D-триггер"), main);
  trT = new QRadioButton(QStringLiteral("T-триггер"), main);
  trD->setChecked(true);
  auto* flags = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(cbBrouser), static_cast<QWidget*>(Complete),
                     static_cast<QWidget*>(trD), static_cast<QWidget*>(trT)})
    flags->addWidget(w);
  options->addLayout(flags);
  lS0 = new QLabel(QStringLiteral("Исходное событие: "), main);
  ltS0 = new QLabel(kUndefined, main);
  lS0->installEventFilter(this);
  ltS0->installEventFilter(this);
  auto* s0Row = new QHBoxLayout;
  s0Row->addWidget(lS0);
  s0Row->addWidget(ltS0, 1);
  options->addLayout(s0Row);
  lNameTable = new QLabel(QStringLiteral("Таблица преобразований имён:"), main);
  lNameTable->installEventFilter(this);
  options->addWidget(lNameTable);
  sgNameTable = new QTableView(main);
  names_ = new NameTableModel(engine_, sgNameTable);
  sgNameTable->setModel(names_);
  sgNameTable->horizontalHeader()->hide();
  sgNameTable->verticalHeader()->hide();
  sgNameTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  options->addWidget(sgNameTable, 1);
  pages->addTab(main, QStringLiteral("Main"));

  // The frame's font command finds the focused control by its name.
  const std::pair<QWidget*, const char*> named[] = {{mS, "mS"},
                                                    {mX, "mX"},
                                                    {mY, "mY"},
                                                    {pages, "pages"},
                                                    {sgNameTable, "sgNameTable"},
                                                    {eTemplate, "eTemplate"}};
  for (const auto& [w, name] : named) w->setObjectName(QString::fromLatin1(name));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(pages);
}

void TDeterm::SetTable(std::unique_ptr<FTT> model, const QString& tableName) {
  if (!model) throw VexoError(QStringLiteral("ошибка передачи данных в модуль TDeterm!"));
  const FTT& m = *model;
  setWindowTitle(kCaption + QLatin1Char(' ') + tableName);
  ltName->setText(tableName);
  ltE->setText(QString::number(m.SNames.size()));
  ltX->setText(QString::number(m.XNames.size()));
  ltY->setText(QString::number(m.YNames.size()));
  mS->setPlainText(m.SNames.join(QLatin1Char('\n')));
  mX->setPlainText(m.XNames.join(QLatin1Char('\n')));
  mY->setPlainText(m.YNames.join(QLatin1Char('\n')));
  engine_.SetTable(std::move(model), tableName);
  ltZ->setText(engine_.CodingText());
  Complete->setEnabled(engine_.CompleteAllowed());
  ready_ = true;
  alphabetError_ = false;
}

void TDeterm::Show(const determ::Notice& notice) {
  if (notice.text.isEmpty()) return;
  dlg::message(this, notice.text, notice.caption, dlg::Ok, IconOf(notice.icon));
}

// ---- the [S] alphabet ----

void TDeterm::CheckAlphabet() {
  const int required = engine_.Source() ? int(engine_.Source()->SNames.size()) : 0;
  const determ::AlphabetCheck check =
      determ::CheckAlphabet(mS->toPlainText(), QStringLiteral("[S]"), required);
  alphabetError_ = !check.ok;
  if (check.ok) return;
  if (check.position >= 0) {
    QTextCursor c = mS->textCursor();
    c.setPosition(check.position);
    c.setPosition(check.position + check.length, QTextCursor::KeepAnchor);
    mS->setTextCursor(c);
  }
  showingAlphabetError_ = true;
  Show(check.notice);
  showingAlphabetError_ = false;
}

// ---- S0 ----

void TDeterm::sbS0Click() {
  if (alphabetError_) {
    dlg::message(this, QStringLiteral("Испрвавте ошибки в алфавите [S]!"), QStringLiteral("Предупреждение"),
                 dlg::Ok, dlg::Information);
    return;
  }
  const QStringList names = determ::MemoLines(mS->toPlainText());
  TSetSForm dialog(this);
  if (!dialog.SetIt(names, s0_, TSetSForm::EventSet)) return;
  if (dialog.exec() != QDialog::Accepted) return;
  QString text;
  SignalSet set;
  dialog.GetIt(text, names, set);
  s0_ = USignalSet(set);
  ltS0->setText(text);
  sbDeterm->setEnabled(true);
}

// ---- the run ----

void TDeterm::sbDetermClick() {
  determ::Options options;
  options.initial = s0_;
  options.eventNames = determ::MemoLines(mS->toPlainText());
  options.rename = cbName->isChecked();
  options.nameTemplate = eTemplate->text();
  options.complete = Complete->checkState() == Qt::Checked;
  options.trigger = trT->isChecked() ? determ::Trigger::T : determ::Trigger::D;
  determ::Notice refusal;
  if (!engine_.Begin(options, &refusal)) {
    Show(refusal);
    return;
  }
  QPointer<TDeterm> alive(this);
  qint64 eventsAt = 0, statusAt = 0;
  QString shown;
  bool first = true;
  determ::Run::Status result = determ::Run::Running;
  while (result == determ::Run::Running) {
    // Pending events run between rounds (a stop or a close may come in), but
    // neither they nor the status bar are served once per state.
    const qint64 now = clock();
    if (first || now - eventsAt >= eventsIntervalMs) {
      QApplication::processEvents();
      if (!alive) return;
      eventsAt = now;
    }
    if ((first || now - statusAt >= statusIntervalMs) && engine_.CurrentRun()) {
      shown = engine_.CurrentRun()->StatusText();
      if (showStatus) showStatus(shown);
      statusAt = now;
    }
    first = false;
    result = engine_.Round();
  }
  // The throttle may have skipped the last states: the bar ends on the one taken up last.
  if (showStatus && !engine_.LastStatus().isEmpty() && engine_.LastStatus() != shown)
    showStatus(engine_.LastStatus());
  Finish(result);
}

void TDeterm::Finish(determ::Run::Status status) {
  switch (status) {
    case determ::Run::Done: {
      const FTT* result = engine_.Result();
      ltS2->setText(QString::number(engine_.StateCount()));
      mX->setPlainText(result->XNames.join(QLatin1Char('\n')));
      mY->setPlainText(result->YNames.join(QLatin1Char('\n')));
      if (cbName->isChecked()) ready_ = false;
      FillNameTable();
      sbTable->setEnabled(true);
      if (cbBrouser->isChecked() && frame()) {
        auto* copy = new FTT;
        copy->Assign(result);
        auto* browser = new TFTT_Brouser(copy);
        browser->setWindowTitle(QStringLiteral("Детерминированный список переходов"));
        frame()->addChild(browser);
      } else {
        Show(engine_.EndNotice(status));
      }
      break;
    }
    case determ::Run::Empty:
      sbTable->setEnabled(false);
      ltS2->setText(kUndefined);
      Show(engine_.EndNotice(status));
      break;
    case determ::Run::NoTarget: {
      sbTable->setEnabled(false);
      TDError* dialog = DErrorDialog(window());
      dialog->Reset();
      dialog->x->setText(engine_.ErrorCondition());
      dialog->s->setText(engine_.ErrorEvent());
      dialog->exec();
      break;
    }
    default: Show(engine_.EndNotice(status)); break;
  }
}

void TDeterm::FillNameTable() { names_->Refresh(); }

// ---- the result as a table ----

bool TDeterm::sbTableClick() {
  std::vector<QStringList> rows;
  determ::Notice error;
  if (!determ::ResultTableRows(engine_.Result(), &rows, &error)) {
    Show(error);
    return false;
  }
  if (!frame()) return false;
  TVexoTableForm* table = frame()->newTable();
  table->setWindowTitle(windowTitle() + QStringLiteral(" результат"));
  TableData result;
  result.signalCoding =
      engine_.Result()->Mode == FTT::Abstract ? QStringLiteral("Abstract") : QStringLiteral("Binary");
  for (const QStringList& r : rows) result.rows << TableRow{r[1], r[2], r[3], r[4]};
  table->setSignalCoding(engine_.Result()->Mode == FTT::Abstract ? 1 : 0);
  table->setTableData(result);
  for (int r = 0; r < int(rows.size()); ++r)
    if (!rows[size_t(r)][0].isEmpty()) table->setCell(0, r + 1, rows[size_t(r)][0]);
  // The line numbers stand only on each line's first row: no renumbering.
  table->markFilled(false);
  return true;
}

// ---- closing and events ----

bool TDeterm::FormCloseQuery() {
  if (!Running()) return true;
  if (dlg::message(this, QStringLiteral("Прервать процесс?"), kCaption, dlg::Yes | dlg::No, dlg::Question) ==
      dlg::Yes)
    engine_.Interrupt();
  return false;
}

void TDeterm::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}

bool TDeterm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == lS0 || watched == ltS0) {
      sbS0Click();
      return true;
    }
    if (watched == lNameTable) {
      sbDetermClick();
      return true;
    }
  }
  if (watched == mS && event->type() == QEvent::FocusOut && alphabetError_ && ready_ &&
      !showingAlphabetError_) {
    CheckAlphabet();
    if (alphabetError_ && mS->isEnabled()) mS->setFocus();
  }
  return TChildForm::eventFilter(watched, event);
}

void runDeterm(TFrame& frame, FTT* model, const QString& tableFileName) {
  auto* w = new TDeterm;
  w->SetTable(std::unique_ptr<FTT>(model), tableFileName);
  frame.addChild(w);
}

}  // namespace tiravo
