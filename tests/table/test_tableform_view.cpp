// What the table window shows: fonts, column widths, the message memo, its menus and keys, and
// long cells painted cut.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStyleOptionViewItem>
#include <memory>

#include "common/gui/tablegrid.h"
#include "tablehelpers.h"

using namespace velmora;

using namespace tt;

TEST(TableWindow, FontCommandsUseTheirOwnFactors) {
  auto f = newForm();
  ASSERT_TRUE(f->setFontSize(10));
  EXPECT_EQ(f->gridFontSize(), 10);
  EXPECT_EQ(f->defaultRowHeight(), 24);
  EXPECT_EQ(f->defaultColWidth(), 66);
  f->Font1Click();
  EXPECT_EQ(f->gridFontSize(), 12);
  EXPECT_EQ(f->defaultRowHeight(), 28);
  EXPECT_EQ(f->defaultColWidth(), 79);
  EXPECT_EQ(f->grid()->verticalHeader()->defaultSectionSize(), 28);
  EXPECT_EQ(f->colWidth(2), 79);
  EXPECT_EQ(f->grid()->font().pointSize(), 12);
  f->Font2Click();
  EXPECT_EQ(f->gridFontSize(), 10);
  EXPECT_EQ(f->defaultRowHeight(), 30);
  EXPECT_EQ(f->defaultColWidth(), 80);
  f->setFontSize(72);
  f->Font1Click();
  EXPECT_EQ(f->gridFontSize(), 72);
  EXPECT_EQ(f->defaultRowHeight(), 172);
  EXPECT_EQ(f->defaultColWidth(), 475);
  f->setFontSize(6);
  f->Font2Click();
  EXPECT_EQ(f->gridFontSize(), 6);
  EXPECT_EQ(f->defaultRowHeight(), 18);
  EXPECT_EQ(f->defaultColWidth(), 48);
  f->setFontSize(0);
  EXPECT_EQ(f->gridFontSize(), 6) << "no font of size 0";
}

TEST(TableWindow, ResizeFitsTheLastColumn) {
  auto f = newForm();
  auto resize = [&](int w) {
    f->resize(w, 300);
    QApplication::processEvents();
  };
  resize(600);
  EXPECT_EQ(f->colWidth(4), 600 - 4 * 80 - 26);
  resize(400);
  EXPECT_EQ(f->colWidth(4), 400 - 4 * 80 - 26) << "a wide last column follows the window";
  resize(390);
  EXPECT_EQ(f->colWidth(4), 54) << "narrow and shrinking: left alone";
  resize(380);
  EXPECT_EQ(f->colWidth(4), 54);
  resize(410);
  EXPECT_EQ(f->colWidth(4), 54) << "growing, but without room to spare";
  resize(420);
  EXPECT_EQ(f->colWidth(4), 74) << "growing with room to spare: fitted";
  EXPECT_EQ(f->lastWidth(), 420);
}

TEST(TableWindow, MessagesToggleAndMemo) {
  auto f = newForm();
  f->appendMessage("one");
  f->appendMessage("two");
  EXPECT_EQ(f->messagesText(), "one\ntwo");
  f->setMessagesText("status");
  EXPECT_EQ(f->messageMemo()->toPlainText(), "status");
  EXPECT_TRUE(f->messageMemo()->isReadOnly());
  f->clearMessages();
  EXPECT_TRUE(f->messagesText().isEmpty());

  QAction item(nullptr);
  item.setCheckable(true);
  item.setChecked(true);
  f->MessageClick(&item);
  EXPECT_FALSE(f->messagesVisible());
  EXPECT_FALSE(f->messagesShown());
  EXPECT_FALSE(item.isChecked());
  f->MessageClick(&item);
  EXPECT_TRUE(f->messagesVisible());
  EXPECT_TRUE(item.isChecked());
}

TEST(TableWindow, MenusCarryTheirCommands) {
  auto f = newForm();
  ASSERT_NE(f->fileMenu(), nullptr);
  EXPECT_EQ(f->fileMenu()->title(), QString::fromUtf8("&Файл"));
  QStringList titles;
  for (QMenu* m : f->windowMenus()) titles << m->title();
  EXPECT_EQ(titles, QStringList({QString::fromUtf8("&Правка"), QString::fromUtf8("Ф&ормат"),
                                 QString::fromUtf8("&Моделирование"), QString::fromUtf8("Пре&образования"),
                                 QString::fromUtf8("Операционный &автомат")}));
  struct K {
    const char* text;
    QKeySequence key;
  };
  for (const K& k :
       {K{"&Открыть...", QKeySequence(Qt::Key_F3)}, K{"&Сохранить", QKeySequence(Qt::Key_F2)},
        K{"Вставить строку", QKeySequence(Qt::CTRL | Qt::Key_I)},
        K{"Добавить строку", QKeySequence(Qt::CTRL | Qt::Key_G)},
        K{"Удалить строкку", QKeySequence(Qt::CTRL | Qt::Key_D)},
        K{"Моделирование &УА", QKeySequence(Qt::CTRL | Qt::Key_F9)},
        K{"Моделирование &ОА", QKeySequence(Qt::SHIFT | Qt::Key_F9)},
        K{"&Моделирование УА+ОА", QKeySequence(Qt::Key_F9)}, K{"Перевод в &СКУ", QKeySequence(Qt::Key_F7)}}) {
    QAction* a = f->menuAction(QString::fromUtf8(k.text));
    ASSERT_NE(a, nullptr) << k.text;
    EXPECT_EQ(a->shortcut(), k.key) << k.text;
  }
  EXPECT_EQ(f->menuAction(QString::fromUtf8("Перевод в &СКУ"))->statusTip(),
            QString::fromUtf8("Первод таблицы переходов в СКУ"));
  // The submenu's own item carries the hint the status bar shows while it is hovered.
  QAction* create = f->fileMenu()->actions().first();
  ASSERT_NE(create->menu(), nullptr);
  EXPECT_EQ(create->text(), QString::fromUtf8("Создать"));
  EXPECT_EQ(create->statusTip(), QString::fromUtf8("Создание нового файла"));
  // Menu commands run the handlers: "Добавить строку" through its action.
  f->menuAction(QString::fromUtf8("Добавить строку"))->trigger();
  EXPECT_EQ(f->rowCount(), 3);
  f->menuAction(QString::fromUtf8("У&величить шрифт"))->trigger();
  EXPECT_EQ(f->gridFontSize(), 13);
}

TEST(TableWindow, KeyboardShortcutsReachTheWindow) {
  auto f = newForm();
  f->activateWindow();
  f->grid()->setFocus();
  QApplication::setActiveWindow(f.get());
  QTest::keyClick(f->grid(), Qt::Key_G, Qt::ControlModifier);
  EXPECT_EQ(f->rowCount(), 3);
  f->selectCell(1, 1);
  QTest::keyClick(f->grid(), Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(f->rowCount(), 2);
}

namespace {
// Records the length of every cell text the grid hands to the style for painting.
class PaintedTexts : public QProxyStyle {
 public:
  QList<qsizetype> lengths;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (element == CE_ItemViewItem)
      if (auto* o = qstyleoption_cast<const QStyleOptionViewItem*>(option))
        const_cast<PaintedTexts*>(this)->lengths << o->text.size();
    QProxyStyle::drawControl(element, option, painter, widget);
  }
};
}  // namespace

// A cell of megabytes is painted cut to what its width can show; its text stays whole.
TEST(TableWindow, LongCellsArePaintedCutAndKeptWhole) {
  const QString longText(3'000'000, QLatin1Char('x'));
  TableData t;
  t.rows << TableRow{"s0", longText, "x1", "s1"} << TableRow{"s1", "y1", "1", "s0"};
  PaintedTexts style;  // a widget does not own the style it is given: this one outlives the form
  auto f = newForm();
  f->setTableData(t);
  f->grid()->setStyle(&style);
  f->grid()->viewport()->grab();
  ASSERT_EQ(style.lengths.size(), 8);
  const qsizetype bound = qMax(256, f->grid()->columnWidth(1)) + 1;
  for (qsizetype n : style.lengths) EXPECT_LE(n, bound);
  EXPECT_EQ(f->tableData().rows[0].y, longText);
  EXPECT_EQ(TableGrid::shownText("abc", 10), "abc");
}
