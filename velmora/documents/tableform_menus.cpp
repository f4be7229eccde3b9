#include <QAction>
#include <QMenu>
#include <functional>

#include "platform/docwindow.h"
#include "platform/guard.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/documents/tableform.h"

namespace velmora {

// The window's menus: built once, merged into the frame's menu bar while the table is active.

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
  auto shown = docwin::withKeyText;

  mFile_ = new QMenu(QStringLiteral("&Файл"), this);
  QMenu* create = mFile_->addMenu(QStringLiteral("Создать"));
  create->menuAction()->setStatusTip(QStringLiteral("Создание нового файла"));
  add(create, QStringLiteral("РВАС"), {}, QStringLiteral("Создание нового файла РВАС"),
      docwin::newCommand(this, TFrame::NewDoc::Rvas));
  add(create, QStringLiteral("СКУ"), {}, QStringLiteral("Создание нового файла СКУ"),
      docwin::newCommand(this, TFrame::NewDoc::Sku));
  add(create, QStringLiteral("ГСА"), {}, QStringLiteral("Создание нового файла ЛСА"),
      docwin::newCommand(this, TFrame::NewDoc::Gsa));
  add(create, QStringLiteral("Таблицу &переходов"), {}, QStringLiteral("Создание новой таблицы переходов"),
      docwin::newCommand(this, TFrame::NewDoc::Table));
  create->addSeparator();
  add(create, QStringLiteral("&Текстовый файл"), {}, QStringLiteral("Создание нового текстового файла"),
      docwin::newCommand(this, TFrame::NewDoc::Text));
  add(mFile_, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3), QStringLiteral("Открытие файла"),
      docwin::openCommand(this));
  add(mFile_, QStringLiteral("&Закрыть"), {}, QStringLiteral("Закрытие активного файла"),
      [this] { docwin::closeWindow(this); });
  add(mFile_, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2),
      QStringLiteral("Быстрое сохранение активного файла"), [this] { Save1Click(); });
  add(mFile_, QStringLiteral("Сохранить &как..."), {},
      QStringLiteral("Сохранение активного файла с новым именем"), [this] { Saveas1Click(); });
  add(mFile_, QStringLiteral("От&чет"), {}, {}, [this] { mReportClick(); });
  add(mFile_, QStringLiteral("В&ыход"), {}, QStringLiteral("Выход из программы"), docwin::exitCommand(this));

  mEdit_ = new QMenu(QStringLiteral("&Правка"), this);
  add(mEdit_, shown(QStringLiteral("&Вырезать"), "Ctrl+X"), {},
      QStringLiteral("Вырезание выделенного блока в буфер"), [this] { Cut1Click(); });
  add(mEdit_, shown(QStringLiteral("&Копировать"), "Ctrl+C"), {},
      QStringLiteral("Копирование выделенного блока в буфер"), [this] { Copy1Click(); });
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

  mFormat_ = new QMenu(QStringLiteral("Ф&ормат"), this);
  add(mFormat_, QStringLiteral("У&величить шрифт"), {}, QStringLiteral("Увеличение шрифта"),
      [this] { Font1Click(); });
  add(mFormat_, QStringLiteral("У&меньшить шрифт"), {}, QStringLiteral("Уменьшение шрифта"),
      [this] { Font2Click(); });

  mModel_ = new QMenu(QStringLiteral("&Моделирование"), this);
  add(mModel_, QStringLiteral("Моделирование &УА"), QKeySequence(Qt::CTRL | Qt::Key_F9), {},
      [this] { StandartClick(); });
  OAModel_ = add(mModel_, QStringLiteral("Моделирование &ОА"), QKeySequence(Qt::SHIFT | Qt::Key_F9), {},
                 [this] { OAModelClick(); });
  OAModel_->setObjectName(QStringLiteral("OAModel"));
  OAModel_->setEnabled(false);
  add(mModel_, QStringLiteral("&Моделирование УА+ОА"), QKeySequence(Qt::Key_F9), {},
      [this] { AllModelClick(); });

  mTrans_ = new QMenu(QStringLiteral("Пре&образования"), this);
  add(mTrans_, QStringLiteral("Перевод в &СКУ"), QKeySequence(Qt::Key_F7),
      QStringLiteral("Первод таблицы переходов в СКУ"), [this] { SkuClick(); });
  add(mTrans_, QStringLiteral("Детерминизация..."), {}, QStringLiteral("Выполнение детерминизации"),
      [this] { N9Click(); });

  mOa_ = new QMenu(QStringLiteral("Операционный &автомат"), this);
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

}  // namespace velmora
