#include "servers/determinizatorwindow.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/longlines.h"
#include "platform/textfile.h"
#include "servers/fsmformat.h"
#include "platform/quote.h"

namespace servers {

namespace {
const QString& caption() {
  static const QString c = QStringLiteral("Детерминизация");
  return c;
}
}  // namespace

DeterminizatorWindow::DeterminizatorWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FsmDeterminizatorWindow"));
  resize(640, 480);

  startEdit = new QLineEdit(this);
  prefixEdit = new QLineEdit(QStringLiteral("a"), this);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Начальное множество событий:"), startEdit);
  form->addRow(QStringLiteral("Шаблон имени состояний:"), prefixEdit);

  runButton = new QPushButton(QStringLiteral("&Детерминизировать"), this);
  saveButton = new QPushButton(QStringLiteral("&Сохранить таблицу..."), this);
  saveButton->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(runButton);
  buttons->addWidget(saveButton);
  buttons->addStretch(1);

  resultTable = new QTableView(this);
  resultModel_ = new DetResultModel(this);
  resultTable->setModel(resultModel_);
  resultTable->verticalHeader()->hide();
  resultTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  resultTable->horizontalHeader()->setStretchLastSection(true);
  notesMemo = new longlines::TextEdit(this);
  notesMemo->setReadOnly(true);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(resultTable);
  split->addWidget(notesMemo);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->addWidget(split, 1);

  connect(runButton, &QPushButton::clicked, this, [this] { runClick(); });
  connect(saveButton, &QPushButton::clicked, this, [this] { saveClick(); });
  // A new start set or prefix makes the shown result stale for saving.
  connect(startEdit, &QLineEdit::textEdited, this, [this] { saveButton->setEnabled(false); });
}

bool DeterminizatorWindow::open(const QString& path, QString* error) {
  fsm::Model m;
  if (!fsm::FsmFile::read(path, &m, error)) return false;
  model_ = m;
  path_ = path;
  hasResult_ = false;
  setWindowTitle(QStringLiteral("Детерминизация - %1").arg(QFileInfo(path).fileName()));
  startEdit->setText(model_.eventsText(model_.start));
  notesMemo->setText(QStringLiteral("Событий: %1, входных сигналов: %2, выходных сигналов: %3")
                         .arg(model_.events.size())
                         .arg(model_.inputs.size())
                         .arg(model_.outputs.size()),
                     false);
  return true;
}

void DeterminizatorWindow::fail(const QString& text) {
  dlg::message(this, text, caption(), dlg::Ok, dlg::Warning);
}

bool DeterminizatorWindow::runClick() {
  const fsm::Determinizer det(model_);
  fsm::Set start;
  QString error;
  if (!det.parseStart(startEdit->text(), &start, &error)) {
    fail(QStringLiteral("Начальное множество событий: %1").arg(error));
    return false;
  }
  fsm::DetResult r;
  if (!det.run(start, &r, &error)) {
    fail(error);
    return false;
  }
  result_ = std::move(r);
  hasResult_ = true;
  showResult();
  saveButton->setEnabled(true);
  return true;
}

QStringList DeterminizatorWindow::tableLines() const {
  return fsm::Determinizer(model_).tableLines(result_, prefixEdit->text());
}

void DeterminizatorWindow::showResult() {
  resultModel_->show(model_, &result_, prefixEdit->text());
  QStringList notes;
  notes << QStringLiteral("Состояний: %1").arg(result_.states.size());
  notes << result_.notes;
  notesMemo->setText(notes.join(QLatin1Char('\n')), false);
}

bool DeterminizatorWindow::saveClick() {
  if (!hasResult_) {
    fail(QStringLiteral("Детерминизация еще не выполнена"));
    return false;
  }
  if (!fsm::Determinizer::validPrefix(prefixEdit->text())) {
    fail(QStringLiteral("Шаблон имени '%1' недопустим: нужно имя из строчных букв и цифр, "
                        "начинающееся с буквы")
             .arg(quote::excerpt(prefixEdit->text())));
    return false;
  }
  const QFileInfo fsmInfo(path_);
  QString name =
      dlg::saveFile(this, QStringLiteral("Таблица переходов (*.tbl)|*.tbl"), fsmInfo.absolutePath(),
                    fsmInfo.completeBaseName() + QStringLiteral("_det.tbl"));
  if (name.isEmpty()) return false;
  if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".tbl");
  QString error;
  if (!textfile::writeLines(name, tableLines(), &error)) {
    fail(QStringLiteral("Ошибка записи %1: %2").arg(name, error));
    return false;
  }
  showResult();  // the names in the table follow the prefix that was saved
  notesMemo->appendLine(QStringLiteral("Таблица записана в %1").arg(name));
  return true;
}

}  // namespace servers
