#include "velmora/documents/tableform.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/textfile.h"
#include "velmora/app/childkind.h"
#include "velmora/app/mainform.h"
#include "velmora/app/optionsform.h"
#include "common/tblfile.h"

namespace {

const QString kUntitled = QStringLiteral("Untitled");
const QString kUntitledCaption = QStringLiteral("Untitled - таблица");
const QString kTblFilter = QStringLiteral("Таблица переходов (*.tbl)|*.tbl");
const QString kOaFilter = QStringLiteral("Операционный автомат (*.oa)|*.oa");
const QString kError = QStringLiteral("Ошибка");
const QString kConfirm = QStringLiteral("Подтверждение");
const QString kModified = QStringLiteral("Изменен");
const QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

// A dialog answer without an extension gets the default one, as the file dialogs do.
QString withDefaultExtension(const QString& path, const QString& ext) {
  if (QFileInfo(path).suffix().isEmpty()) return path + QLatin1Char('.') + ext;
  return path;
}

// The folder a file dialog starts in: the document's own, when it has been saved.
QString dialogDir(const QString& name) {
  if (name.isEmpty() || name == kUntitled) return QString();
  return QFileInfo(name).absolutePath();
}

}  // namespace

// The in-place editor of the grid: a line edit whose "modified" flag tells a typed change
// from a mere visit, and whose text reaches the grid through GridSetEditText only.
class TableGridDelegate : public QStyledItemDelegate {
 public:
  explicit TableGridDelegate(TVexoTableForm* form) : QStyledItemDelegate(form), form_(form) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    if (form_->gridLocked_) return nullptr;  // an ОА window is working on the table
    auto* e = new QLineEdit(parent);
    e->setFrame(false);
    form_->editor_ = e;
    form_->editorIndex_ = QPersistentModelIndex(index);
    form_->GridGetEditText(index.column() + 1, index.row() + 1);
    return e;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* e = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (e->text() != text) e->setText(text);
    e->setModified(false);
  }

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* e = static_cast<QLineEdit*>(editor);
    const bool modified = e->isModified();
    e->setModified(false);
    form_->GridSetEditText(index.column() + 1, index.row() + 1, e->text(), modified);
  }

 private:
  TVexoTableForm* form_;
};

// ---------------------------------------------------------------------------------------
// Construction

TVexoTableForm::TVexoTableForm(QWidget* parent) : TDocChild(parent) {
  setWindowTitle(kUntitledCaption);

  grid_ = new QTableWidget(1, 4, this);
  grid_->setObjectName(QStringLiteral("Grid"));
  delegate_ = new TableGridDelegate(this);
  grid_->setItemDelegate(delegate_);
  grid_->setEditTriggers(kEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setTabKeyNavigation(true);
  grid_->setWordWrap(false);
  grid_->setCornerButtonEnabled(false);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->horizontalHeader()->setMinimumSectionSize(0);
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->verticalHeader()->setHighlightSections(false);
  grid_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  grid_->setHorizontalHeaderLabels(
      {QStringLiteral("si"), QStringLiteral("y"), QStringLiteral("xij"), QStringLiteral("sj")});
  // "Vexo font" is not shipped; a fixed-pitch face stands in for it when it is missing.
  QFont f(QStringLiteral("Vexo font"));
  f.setStyleHint(QFont::TypeWriter);
  f.setFamilies({QStringLiteral("Vexo font"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
  f.setPointSize(fontSize_);  // 15 pixels at 96 dots per inch
  grid_->setFont(f);
  grid_->installEventFilter(this);
  if (auto* corner = grid_->findChild<QAbstractButton*>()) corner->installEventFilter(this);
  applyDefaultSizes(24, 80);
  setCorner(QStringLiteral("[-]"));
  numberRows();

  status_ = new QPlainTextEdit(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setReadOnly(true);
  status_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setObjectName(QStringLiteral("Splitter1"));
  splitter_->setHandleWidth(2);
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(grid_);
  splitter_->addWidget(status_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setSizes({260, 89});

  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->setSpacing(0);
  lay->addWidget(splitter_);

  connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
    if (selectGuard_ || row < 0 || col < 0) return;
    GridSelectCell(col + 1, row + 1);
  });

  buildMenus();
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    grid_->setCurrentCell(0, 0);
  }
  resize(480, 360);
  FormResize();
}

TVexoTableForm::~TVexoTableForm() {
  // The windows working on the description borrow its lists: they go first.
  closeLockHolders();
  delete mFile_;
  delete mEdit_;
  delete mFormat_;
  delete mModel_;
  delete mTrans_;
  delete mOa_;
}

void TVexoTableForm::buildMenus() {
  // Every command takes a pending cell edit in first, as if the cell had been left.
  auto add = [this](QMenu* m, const QString& text, const QKeySequence& key, const QString& hint,
                    std::function<void()> fn) {
    QAction* a = m->addAction(text);
    if (!key.isEmpty()) {
      a->setShortcut(key);
      a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
      addAction(a);  // active while the focus is in this window
    }
    if (!hint.isEmpty()) {
      a->setStatusTip(hint);
      a->setToolTip(hint);
    }
    connect(a, &QAction::triggered, this, [this, fn] {
      guard::run(this, [&] {
        commitOpenEditor();
        fn();
      });
    });
    return a;
  };
  // Ctrl+X, Ctrl+C and Ctrl+V belong to the frame's edit actions, which route to this window;
  // the menu only names them.
  auto shown = [](const QString& text, const char* key) { return text + QLatin1Char('\t') + QLatin1String(key); };
  auto frame = [](void (TMainForm::*h)()) {
    return [h] {
      if (MainForm) (MainForm->*h)();
    };
  };

  mFile_ = new QMenu(QStringLiteral("&Файл"));
  QMenu* create = mFile_->addMenu(QStringLiteral("Создать"));
  create->menuAction()->setStatusTip(QStringLiteral("Создание нового файла"));
  add(create, QStringLiteral("РВАС"), {}, QStringLiteral("Создание нового файла РВАС"), frame(&TMainForm::NewRvasClick));
  add(create, QStringLiteral("СКУ"), {}, QStringLiteral("Создание нового файла СКУ"), frame(&TMainForm::NewSkuClick));
  add(create, QStringLiteral("ГСА"), {}, QStringLiteral("Создание нового файла ЛСА"), frame(&TMainForm::NewGSAClick));
  add(create, QStringLiteral("Таблицу &переходов"), {}, QStringLiteral("Создание новой таблицы переходов"),
      frame(&TMainForm::NewTblClick));
  create->addSeparator();
  add(create, QStringLiteral("&Текстовый файл"), {}, QStringLiteral("Создание нового текстового файла"),
      frame(&TMainForm::NewTxtClick));
  add(mFile_, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3), QStringLiteral("Открытие файла"),
      frame(&TMainForm::FileOpenItemClick));
  add(mFile_, QStringLiteral("&Закрыть"), {}, QStringLiteral("Закрытие активного файла"), [this] {
    if (auto* sw = qobject_cast<QMdiSubWindow*>(parentWidget()))
      sw->close();
    else
      close();
  });
  add(mFile_, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2), QStringLiteral("Быстрое сохранение активного файла"),
      [this] { Save1Click(); });
  add(mFile_, QStringLiteral("Сохранить &как..."), {}, QStringLiteral("Сохранение активного файла с новым именем"),
      [this] { Saveas1Click(); });
  add(mFile_, QStringLiteral("От&чет"), {}, {}, [this] { mReportClick(); });
  add(mFile_, QStringLiteral("В&ыход"), {}, QStringLiteral("Выход из программы"), frame(&TMainForm::FileExitItemClick));

  mEdit_ = new QMenu(QStringLiteral("&Правка"));
  add(mEdit_, shown(QStringLiteral("&Вырезать"), "Ctrl+X"), {}, QStringLiteral("Вырезание выделенного блока в буфер"),
      [this] { Cut1Click(); });
  add(mEdit_, shown(QStringLiteral("&Копировать"), "Ctrl+C"), {}, QStringLiteral("Копирование выделенного блока в буфер"),
      [this] { Copy1Click(); });
  add(mEdit_, shown(QStringLiteral("Вст&авить"), "Ctrl+V"), {}, QStringLiteral("Вставка из буфера"),
      [this] { Paste1Click(); });
  add(mEdit_, QStringLiteral("Выделить в&сё"), QKeySequence(Qt::CTRL | Qt::Key_A),
      QStringLiteral("Выделение всего текста в активном окне"), [this] { SelectAll1Click(); });
  mEdit_->addSeparator();
  add(mEdit_, QStringLiteral("Вставить строку"), QKeySequence(Qt::CTRL | Qt::Key_I),
      QStringLiteral("Вставка новой строки перед текущей"), [this] { Insert1Click(); });
  add(mEdit_, QStringLiteral("Добавить строку"), QKeySequence(Qt::CTRL | Qt::Key_G),
      QStringLiteral("Добавить новую строку в конец таблицы"), [this] { New2Click(); });
  add(mEdit_, QStringLiteral("Удалить строкку"), QKeySequence(Qt::CTRL | Qt::Key_D),
      QStringLiteral("Удалить текущую строку таблицы"), [this] { Del1Click(); });

  mFormat_ = new QMenu(QStringLiteral("Ф&ормат"));
  add(mFormat_, QStringLiteral("У&величить шрифт"), {}, QStringLiteral("Увеличение шрифта"), [this] { Font1Click(); });
  add(mFormat_, QStringLiteral("У&меньшить шрифт"), {}, QStringLiteral("Уменьшение шрифта"), [this] { Font2Click(); });

  mModel_ = new QMenu(QStringLiteral("&Моделирование"));
  add(mModel_, QStringLiteral("Моделирование &УА"), QKeySequence(Qt::CTRL | Qt::Key_F9), {}, [this] { StandartClick(); });
  OAModel_ = add(mModel_, QStringLiteral("Моделирование &ОА"), QKeySequence(Qt::SHIFT | Qt::Key_F9), {},
                 [this] { OAModelClick(); });
  OAModel_->setObjectName(QStringLiteral("OAModel"));
  OAModel_->setEnabled(false);
  add(mModel_, QStringLiteral("&Моделирование УА+ОА"), QKeySequence(Qt::Key_F9), {}, [this] { AllModelClick(); });

  mTrans_ = new QMenu(QStringLiteral("Пре&образования"));
  add(mTrans_, QStringLiteral("Перевод в &СКУ"), QKeySequence(Qt::Key_F7), QStringLiteral("Первод таблицы переходов в СКУ"),
      [this] { SkuClick(); });
  add(mTrans_, QStringLiteral("Детерминизация..."), {}, QStringLiteral("Выполнение детерминизации"), [this] { N9Click(); });

  mOa_ = new QMenu(QStringLiteral("Операционный &автомат"));
  add(mOa_, QStringLiteral("Создать"), {}, {}, [this] { OACreateClick(); });
  OAOpen_ = add(mOa_, QStringLiteral("Открыть..."), {}, {}, [this] { OAOpenClick(); });
  add(mOa_, QStringLiteral("Сохранить"), {}, {}, [this] { OASaveSrazuClick(); });
  add(mOa_, QStringLiteral("Сохранить как..."), {}, {}, [this] { OASaveClick(); });
  OADelete_ = add(mOa_, QStringLiteral("Удалить"), {}, {}, [this] { OADeleteClick(); });
  add(mOa_, QStringLiteral("Редактировать..."), {}, {}, [this] { OAClick(); });
}

QList<QMenu*> TVexoTableForm::windowMenus() const { return {mEdit_, mFormat_, mModel_, mTrans_, mOa_}; }

QList<QAction*> TVexoTableForm::menuActions() const {
  QList<QAction*> all;
  std::function<void(QMenu*)> walk = [&](QMenu* m) {
    for (QAction* a : m->actions()) {
      if (a->isSeparator()) continue;
      if (a->menu())
        walk(a->menu());
      else
        all << a;
    }
  };
  walk(mFile_);
  for (QMenu* m : windowMenus()) walk(m);
  return all;
}

QAction* TVexoTableForm::menuAction(const QString& text) const {
  for (QAction* a : menuActions()) {
    QString t = a->text();
    const int tab = t.indexOf(QLatin1Char('\t'));
    if (tab >= 0) t.truncate(tab);
    if (t == text) return a;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------
// Frame interface

void TVexoTableForm::frameCommand(FrameCmd cmd, QObject* sender) {
  guard::run(this, [&] {
    commitOpenEditor();
    switch (cmd) {
      case FrameCmd::Save: Save1Click(); break;
      case FrameCmd::Cut: Cut1Click(); break;
      case FrameCmd::Copy: Copy1Click(); break;
      case FrameCmd::Paste: Paste1Click(); break;
      case FrameCmd::ToSku: SkuClick(); break;
      case FrameCmd::AddStr: New2Click(); break;
      case FrameCmd::InsStr: Insert1Click(); break;
      case FrameCmd::DelStr: Del1Click(); break;
      case FrameCmd::OaCall: OAClick(); break;
      case FrameCmd::Report: mReportClick(); break;
      case FrameCmd::Options: mOptionsClick(); break;
      case FrameCmd::ShowMessages: MessageClick(sender); break;
      default: break;  // the other frame commands do not concern a table
    }
  });
}

bool TVexoTableForm::setFontSize(int size) {
  if (size < 1) return true;  // no font of that size: left as it is
  setGridFontSize(size);
  applyDefaultSizes(static_cast<int>(size + 1.4 * size), static_cast<int>(size + 5.6 * size));
  return true;
}

void TVexoTableForm::setStatusPanel(int panel, const QString& text) {
  if (MainForm) MainForm->setStatusText(panel, text);
}

void TVexoTableForm::FormActivate() {
  ChildKind = ckTable;
  if (MainForm) {
    MainForm->UpdateChildActions();
    if (MainForm->CompileAction) MainForm->CompileAction->setEnabled(hasContent);
    if (MainForm->ToSkuAction) MainForm->ToSkuAction->setEnabled(hasContent);
    if (MainForm->OaCallAction) MainForm->OaCallAction->setEnabled(!oaEditOpen);
    if (MainForm->showMessagesItem) MainForm->showMessagesItem->setChecked(messagesShown);
  }
  if (oa.oaPresent) {
    setCorner(QStringLiteral("[+]"));
    OAModel_->setEnabled(!oaModelOpen);
  } else {
    setCorner(QStringLiteral("[-]"));
    OAModel_->setEnabled(false);
  }
  showFontSize(fontSize_);
  setStatusPanel(0, tableModified ? kModified : QString());
  if (renumberPending) {
    GridSelectCell(1, 1);
    renumberPending = false;
  }
  setStatusPanel(1, QStringLiteral("%1:%2").arg(currentRow()).arg(currentColumn()));
}

void TVexoTableForm::closeEvent(QCloseEvent* event) {
  commitOpenEditor();
  // The windows working on the description answer first (a modified input file is not lost);
  // they close only once the table closes.
  bool allow = false;
  guard::run(this, [&] { allow = askLockHolders() && FormCloseQuery(); });
  if (!allow) {
    event->ignore();
    return;
  }
  closeLockHolders();
  FormClose();
  event->accept();
}

bool TVexoTableForm::FormCloseQuery() {
  bool allow = true;
  if (tableModified) {
    const int a = dlg::message(this, QStringLiteral("Сохранить изменения в файл таблицы переходов ") + tableFileName,
                               kConfirm, dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
    if (a == dlg::Cancel)
      allow = false;
    else if (a == dlg::Yes && !Save1Click())
      allow = false;  // cancelled or failed: the changes would be lost
  }
  // Asked whatever the first answer was.
  if (oaModified) {
    const int a = dlg::message(this, QStringLiteral("Сохранить изменения в файл операционного автомата ") + oaFileName,
                               kConfirm, dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
    if (a == dlg::Cancel)
      allow = false;
    else if (a == dlg::Yes && !OASaveSrazuClick())
      allow = false;
  }
  return allow;
}

void TVexoTableForm::FormClose() {
  setStatusPanel(0, QString());
  setStatusPanel(1, QString());
  ChildKind = ckNone;
  if (MainForm) MainForm->UpdateChildActions();
}

void TVexoTableForm::resizeEvent(QResizeEvent* event) {
  TDocChild::resizeEvent(event);
  FormResize();
}

void TVexoTableForm::FormResize() {
  // The grid fills the client width; before the layout has run its own width is not yet set.
  const int gridWidth = contentsRect().width();
  const int fill = gridWidth - (colWidth(0) + colWidth(1) + colWidth(2) + colWidth(3)) - 26;
  if (colWidth(4) > 70)
    setColWidth(4, fill);
  else if (width() > lastWidth && fill > 70)
    setColWidth(4, fill);
  lastWidth = width();
}

// ---------------------------------------------------------------------------------------
// Grid

int TVexoTableForm::rowCount() const { return grid_->rowCount() + 1; }

QString TVexoTableForm::cell(int col, int row) const {
  if (col < 0 || col > 4 || row < 0 || row >= rowCount()) return QString();
  if (row == 0) {
    if (col == 0) return corner_;
    const QTableWidgetItem* h = grid_->horizontalHeaderItem(col - 1);
    return h ? h->text() : QString();
  }
  if (col == 0) {
    const QTableWidgetItem* h = grid_->verticalHeaderItem(row - 1);
    return h ? h->text() : QString();
  }
  const QTableWidgetItem* it = grid_->item(row - 1, col - 1);
  return it ? it->text() : QString();
}

void TVexoTableForm::setCell(int col, int row, const QString& text) {
  if (col < 0 || col > 4 || row < 0 || row >= rowCount()) return;
  if (row == 0) {
    if (col == 0)
      setCorner(text);
    else
      grid_->setHorizontalHeaderItem(col - 1, new QTableWidgetItem(text));
    return;
  }
  if (col == 0) {
    QTableWidgetItem* h = grid_->verticalHeaderItem(row - 1);
    if (!h) {
      grid_->setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
    } else if (h->text() != text) {
      h->setText(text);
    }
    return;
  }
  const QString value = TblFile::cellText(text);
  QTableWidgetItem* it = grid_->item(row - 1, col - 1);
  if (!it) {
    if (value.isEmpty()) return;
    grid_->setItem(row - 1, col - 1, new QTableWidgetItem(value));
  } else if (it->text() != value) {
    it->setText(value);
  }
}

int TVexoTableForm::currentRow() const { return grid_->currentRow() < 0 ? 1 : grid_->currentRow() + 1; }
int TVexoTableForm::currentColumn() const { return grid_->currentColumn() < 0 ? 1 : grid_->currentColumn() + 1; }

void TVexoTableForm::selectCell(int col, int row) {
  if (col < 1 || col > 4 || row < 1 || row >= rowCount()) return;
  grid_->setCurrentCell(row - 1, col - 1);
}

void TVexoTableForm::setRowCount(int rows) {
  rows = qMax(rows, 2);
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  grid_->setRowCount(rows - 1);
  // A row without its own header item would show the view's default number.
  for (int r = 0; r < rows - 1; ++r)
    if (!grid_->verticalHeaderItem(r)) grid_->setVerticalHeaderItem(r, new QTableWidgetItem(QString()));
  if (grid_->currentRow() < 0) grid_->setCurrentCell(0, 0);
}

void TVexoTableForm::numberRows() {
  int n = 1;
  for (int r = 1; r < rowCount(); ++r) {
    if (!cell(1, r).isEmpty())
      setCell(0, r, QString::number(n++));
    else
      setCell(0, r, QString());
  }
}

bool TVexoTableForm::rowEmpty(int row, bool withNumber) const {
  for (int c = withNumber ? 0 : 1; c <= 4; ++c)
    if (!cell(c, row).isEmpty()) return false;
  return true;
}

void TVexoTableForm::setCorner(const QString& text) {
  corner_ = text;
  if (auto* corner = grid_->findChild<QAbstractButton*>()) corner->update();
}

bool TVexoTableForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && qobject_cast<QAbstractButton*>(watched) && watched->parent() == grid_) {
    // The corner cell shows whether the table has an operational-automaton description.
    auto* b = static_cast<QAbstractButton*>(watched);
    QStyleOptionHeader opt;
    opt.initFrom(b);
    opt.state = QStyle::State_Raised | QStyle::State_Enabled;
    opt.palette.setCurrentColorGroup(QPalette::Active);  // the button itself is disabled
    opt.rect = b->rect();
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.text = corner_;
    opt.textAlignment = Qt::AlignCenter;
    QPainter p(b);
    b->style()->drawControl(QStyle::CE_Header, &opt, &p, b);
    return true;
  }
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(event);
    const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
    if (enter && (ke->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !cellEditor() && !gridLocked_) {
      // Enter opens the current cell with its text; F2, the view's own key for it, saves here.
      grid_->edit(grid_->currentIndex());
      return true;
    }
    if (ke->key() == Qt::Key_Down && ke->modifiers() == Qt::NoModifier) {
      guard::run(this, [&] {
        commitOpenEditor();
        GridKeyDown(ke->key());
      });
    }
    return false;  // the grid still moves the selection
  }
  return TDocChild::eventFilter(watched, event);
}

void TVexoTableForm::GridSelectCell(int col, int row) {
  setStatusPanel(1, QStringLiteral("%1:%2").arg(row).arg(col));
  // Selecting a cell ends an edit; an editor still open goes on counting as one.
  cellEditing = cellEditor() != nullptr;
  numberRows();
  const int last = rowCount() - 1;
  if (row != last && rowCount() > 2 && rowEmpty(last, true)) {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    grid_->removeRow(last - 1);
  }
}

bool TVexoTableForm::GridKeyDown(int key) {
  if (key != Qt::Key_Down) return false;
  const int last = rowCount() - 1;
  if (currentRow() != last || rowEmpty(last, false)) return false;
  New2Click();
  return true;
}

void TVexoTableForm::GridGetEditText(int col, int row) {
  Q_UNUSED(col);
  Q_UNUSED(row);
  cellEditing = true;
}

void TVexoTableForm::GridSetEditText(int col, int row, const QString& value, bool editorModified) {
  setCell(col, row, value);
  if (cellEditing && editorModified) {
    tableModified = true;
    compiled = false;  // the next model command compiles again
    setStatusPanel(0, kModified);
  }
  CheckTableFilled();
}

void TVexoTableForm::CheckTableFilled() {
  bool any = false;
  for (int r = 1; r < rowCount() && !any; ++r)
    for (int c = 1; c <= 4 && !any; ++c)
      if (!cell(c, r).isEmpty()) any = true;
  hasContent = any;
  if (MainForm && MainForm->activeChild() == this) {
    if (MainForm->CompileAction) MainForm->CompileAction->setEnabled(hasContent);
    if (MainForm->ToSkuAction) MainForm->ToSkuAction->setEnabled(hasContent);
  }
  OAModel_->setEnabled(hasContent && oa.oaPresent);
}

QLineEdit* TVexoTableForm::cellEditor() const {
  if (!editor_ || !editorIndex_.isValid()) return nullptr;
  // The view drops an editor it has closed from its index, before the widget itself goes.
  if (grid_->indexWidget(editorIndex_) != editor_) return nullptr;
  return editor_;
}

void TVexoTableForm::commitOpenEditor() {
  if (QLineEdit* e = cellEditor()) emit delegate_->commitData(e);
}

void TVexoTableForm::setGridLocked(bool locked, const QString& hint) {
  gridLocked_ = locked;
  if (locked) {
    if (QLineEdit* e = cellEditor()) {
      emit delegate_->commitData(e);
      emit delegate_->closeEditor(e);
    }
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setToolTip(hint);
  } else {
    grid_->setEditTriggers(kEditTriggers);
    grid_->setToolTip(QString());
    grid_->setEnabled(true);
  }
}

// ---------------------------------------------------------------------------------------
// Table data

TableData TVexoTableForm::tableData() const {
  TableData t;
  t.signalCoding = signalCoding == 1 ? TblFile::abstractTag() : TblFile::binaryTag();
  for (int r = 1; r < rowCount(); ++r) {
    TableRow row;
    row.si = cell(1, r);
    row.y = cell(2, r);
    row.x = cell(3, r);
    row.sj = cell(4, r);
    t.rows << row;
  }
  // A cell being typed into counts with what it shows.
  if (QLineEdit* e = cellEditor()) {
    const int r = editorIndex_.row(), c = editorIndex_.column();
    if (r >= 0 && r < t.rows.size()) {
      const QString v = TblFile::cellText(e->text());
      TableRow& row = t.rows[r];
      QString* cells[] = {&row.si, &row.y, &row.x, &row.sj};
      if (c >= 0 && c < 4) *cells[c] = v;
    }
  }
  return t;
}

void TVexoTableForm::setTableData(const TableData& table) {
  signalCoding = table.signalCoding == TblFile::abstractTag() ? 1 : 0;
  const int n = qMax(1, static_cast<int>(table.rows.size()));
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    grid_->clearContents();
    setRowCount(n + 1);
  }
  for (int r = 0; r < table.rows.size(); ++r) {
    const TableRow& row = table.rows[r];
    setCell(1, r + 1, row.si);
    setCell(2, r + 1, row.y);
    setCell(3, r + 1, row.x);
    setCell(4, r + 1, row.sj);
  }
  CheckTableFilled();
  numberRows();
}

// ---------------------------------------------------------------------------------------
// Row commands. A row command changes the file's content, so it marks the table modified and
// the compiled automaton stale, like a cell edit.

void TVexoTableForm::markRowsChanged() {
  tableModified = true;
  compiled = false;
  setStatusPanel(0, kModified);
  CheckTableFilled();
}

void TVexoTableForm::New2Click() {
  setRowCount(rowCount() + 1);
  markRowsChanged();
}

void TVexoTableForm::Insert1Click() {
  const int row = currentRow();
  const int col = grid_->currentColumn() < 0 ? 0 : grid_->currentColumn();
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  grid_->insertRow(row - 1);
  grid_->setVerticalHeaderItem(row - 1, new QTableWidgetItem(QString()));
  grid_->setCurrentCell(row - 1, col);  // the current row is now the new, empty one
  markRowsChanged();
}

void TVexoTableForm::Del1Click() {
  if (rowCount() < 3) return;  // the only data row stays
  const int row = currentRow();
  const int col = grid_->currentColumn() < 0 ? 0 : grid_->currentColumn();
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  grid_->removeRow(row - 1);
  grid_->setCurrentCell(qMin(row, rowCount() - 1) - 1, col);
  markRowsChanged();
}

// ---------------------------------------------------------------------------------------
// Fonts and sizes

int TVexoTableForm::gridFontSize() const { return fontSize_; }

void TVexoTableForm::setGridFontSize(int size) {
  fontSize_ = size;
  QFont f = grid_->font();
  f.setPointSize(size);
  grid_->setFont(f);
}

void TVexoTableForm::showFontSize(int size) {
  if (!MainForm || !MainForm->fontSizeBox()) return;
  // Showing the size is not a change of it.
  QComboBox* box = MainForm->fontSizeBox();
  QSignalBlocker b1(box);
  QSignalBlocker b2(box->lineEdit());
  box->setEditText(QString::number(size));
}

void TVexoTableForm::applyDefaultSizes(int rowHeight, int colWidth) {
  defaultRowHeight_ = rowHeight;
  defaultColWidth_ = colWidth;
  grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid_->horizontalHeader()->setDefaultSectionSize(colWidth);
  grid_->horizontalHeader()->setFixedHeight(rowHeight);  // the title row
  col0Width_ = colWidth;                                  // the number column
  grid_->verticalHeader()->setFixedWidth(colWidth);
  grid_->viewport()->update();
}

int TVexoTableForm::colWidth(int col) const {
  if (col == 0) return col0Width_;
  if (col < 1 || col > 4) return 0;
  return grid_->horizontalHeader()->sectionSize(col - 1);
}

void TVexoTableForm::setColWidth(int col, int width) {
  width = qMax(width, 0);
  if (col == 0) {
    col0Width_ = width;
    grid_->verticalHeader()->setFixedWidth(width);
  } else if (col >= 1 && col <= 4) {
    grid_->horizontalHeader()->resizeSection(col - 1, width);
  }
}

void TVexoTableForm::Font1Click() {
  if (fontSize_ < 72) setGridFontSize(fontSize_ + 2);
  const int size = fontSize_;
  showFontSize(size);
  applyDefaultSizes(static_cast<int>(size * 1.4 + size), static_cast<int>(size * 5.6 + size));
}

void TVexoTableForm::Font2Click() {
  if (fontSize_ > 6) setGridFontSize(fontSize_ - 2);
  const int size = fontSize_;
  showFontSize(size);
  applyDefaultSizes(3 * size, 8 * size);
}

// ---------------------------------------------------------------------------------------
// Clipboard: only the in-place editor has text to cut, copy or paste.

void TVexoTableForm::Cut1Click() {
  if (QLineEdit* e = cellEditing ? cellEditor() : nullptr) e->cut();
}

void TVexoTableForm::Copy1Click() {
  if (QLineEdit* e = cellEditing ? cellEditor() : nullptr) e->copy();
}

void TVexoTableForm::Paste1Click() {
  if (QLineEdit* e = cellEditing ? cellEditor() : nullptr) e->paste();
}

void TVexoTableForm::SelectAll1Click() {
  if (QLineEdit* e = cellEditing ? cellEditor() : nullptr) e->selectAll();
}

// ---------------------------------------------------------------------------------------
// Messages and options

void TVexoTableForm::appendMessage(const QString& line) { status_->appendPlainText(line); }
void TVexoTableForm::clearMessages() { status_->clear(); }
void TVexoTableForm::setMessagesText(const QString& text) { status_->setPlainText(text); }
QString TVexoTableForm::messagesText() const { return status_->toPlainText(); }
bool TVexoTableForm::messagesVisible() const { return !status_->isHidden(); }

void TVexoTableForm::MessageClick(QObject* sender) {
  if (messagesShown) {
    status_->hide();
    messagesShown = false;
  } else {
    status_->show();
    messagesShown = true;
  }
  QAction* item = qobject_cast<QAction*>(sender);
  if (!item && MainForm) item = MainForm->showMessagesItem;
  if (item) item->setChecked(messagesShown);
}

void TVexoTableForm::mOptionsClick() {
  // The table has no settings of its own; the compiler reads the dialog's table page.
  if (!OptionsForm) return;
  DocSettings tmp;
  OptionsForm->execFor(&tmp, false);
}

// ---------------------------------------------------------------------------------------
// Reading and writing the table

void TVexoTableForm::updateCaptionFromPath(const QString& path) { setWindowTitle(QFileInfo(path).fileName()); }

QString TVexoTableForm::companionOaName(const QString& tablePath) {
  const QFileInfo fi(tablePath);
  return QDir(fi.path()).filePath(fi.completeBaseName() + QStringLiteral(".oa"));
}

bool TVexoTableForm::Open(const QString& path) {
  tableFileName = path;
  oaFileName = path;
  updateCaptionFromPath(path);
  QStringList lines;
  QString err;
  TableData t;
  if (!textfile::readLines(path, &lines, &err) || !TblFile::parse(lines, &t, &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;
  }
  setTableData(t);
  // The description lives next to the table, whatever the current directory is.
  oaFileName = companionOaName(path);
  if (!OAOpenOA(oaFileName, true)) return false;
  tableModified = false;
  return true;
}

bool TVexoTableForm::Save1Click() {
  commitOpenEditor();
  if (windowTitle() == kUntitledCaption) {
    tableFileName = kUntitled;
    return Saveas1Click();
  }
  QString err;
  if (!TblFile::write(tableFileName, tableData(), &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;  // still modified
  }
  tableModified = false;
  setStatusPanel(0, QString());
  return true;
}

bool TVexoTableForm::Saveas1Click() {
  QString path = dlg::saveFile(this, kTblFilter, dialogDir(tableFileName), QFileInfo(tableFileName).fileName());
  if (path.isEmpty()) return false;
  path = withDefaultExtension(path, QStringLiteral("tbl"));
  tableFileName = path;
  oaFileName = companionOaName(path);
  updateCaptionFromPath(path);
  return Save1Click();
}

// ---------------------------------------------------------------------------------------
// The operational-automaton description

bool TVexoTableForm::saveOaTo(const QString& path) {
  QString err;
  if (!OaFile::write(path, oa, &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;
  }
  return true;
}

bool TVexoTableForm::OASaveOA() { return saveOaTo(oaFileName); }

OaFile::Result TVexoTableForm::loadOa(const QString& name) {
  QString err;
  const OaFile::Result r = OaFile::read(name, &oa, &err);
  switch (r) {
    case OaFile::NoFile:
      break;
    case OaFile::BadHeader:
      dlg::message(this, OaFile::badFormatMessage(), kError, dlg::Ok, dlg::Warning);
      break;
    case OaFile::Malformed:
      dlg::message(this, err, kError, dlg::Ok, dlg::Warning);  // the description is as it was
      break;
    case OaFile::Read:
      OAModel_->setEnabled(true);
      setCorner(QStringLiteral("[+]"));
      break;
  }
  return r;
}

bool TVexoTableForm::OAOpenOA(const QString& name, bool companion) {
  // Opening a table with a foreign companion file is refused; a file chosen by hand is not.
  return !(loadOa(name) == OaFile::BadHeader && companion);
}

void TVexoTableForm::OAOpenClick() {
  if (gridLockCount() > 0) return;  // a window built its model from the description
  const QString path = dlg::openFile(this, kOaFilter, dialogDir(oaFileName));
  if (path.isEmpty()) return;
  // A file that could not be read keeps the old name, so a later save does not overwrite it.
  const OaFile::Result r = loadOa(path);
  if (r == OaFile::Read || r == OaFile::NoFile) oaFileName = path;
}

bool TVexoTableForm::OASaveSrazuClick() {
  if (oaFileName == kUntitled) return OASaveClick();
  if (!OASaveOA()) return false;
  oaModified = false;
  return true;
}

bool TVexoTableForm::OASaveClick() {
  QString path = dlg::saveFile(this, kOaFilter, dialogDir(oaFileName), QFileInfo(oaFileName).fileName());
  if (path.isEmpty()) return false;
  path = withDefaultExtension(path, QStringLiteral("oa"));
  oaFileName = path;
  if (!OASaveOA()) return false;
  oaModified = false;
  return true;
}

void TVexoTableForm::OADeleteClick() {
  if (gridLockCount() > 0) return;
  oa.oaPresent = false;
  OAModel_->setEnabled(false);
  setCorner(QStringLiteral("[-]"));
}

void TVexoTableForm::OACreateClick() {
  if (!oa.oaPresent) OAClick();
}
