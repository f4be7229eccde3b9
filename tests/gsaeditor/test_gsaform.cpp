// The flowchart editor window in the frame: creation, the mouse, the frame's commands, the
// message pane, options, files and closing.
#include "tests/gsaeditor/gsahelpers.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <functional>

using namespace gsatest;

namespace {

const QString kNone = QStringLiteral("нет перехода");

class GsaWindow : public GsaFrame {};

}  // namespace

TEST_F(GsaWindow, NewFlowchartFromTheFrame) {
  tool(GsaTool::End);  // a tool left from before
  TGSAForm* w = newGsa();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Untitled"));
  EXPECT_EQ(w->GSAGrid->model()->rowCount(), 60);
  EXPECT_EQ(w->GSAGrid->model()->columnCount(), 30);
  EXPECT_EQ(w->grid().toList().size(), 3602);
  EXPECT_EQ(pressedTool(), GsaTool::Start);
  EXPECT_FALSE(w->deleteCursorShown());
  EXPECT_EQ(ChildKind, ckGsa);
  EXPECT_TRUE(frame->ui().ToTblAction->isEnabled());
  EXPECT_EQ(frame->fontSizeBox()->currentText(), QStringLiteral("6"));
  EXPECT_EQ(w->GSAGrid->cellRect(0, 0).size(), QSize(60, 36));
  EXPECT_FALSE(w->isModified());
}

TEST_F(GsaWindow, ConditionNearTheBottomAndItsUndo) {
  TGSAForm* w = newGsa();
  tool(GsaTool::Condition);
  answerCondition(QStringLiteral("x1"), QStringLiteral("0"), QStringLiteral("1"), kNone);
  click(w, 5, 58);
  EXPECT_EQ(w->GSAGrid->model()->rowCount(), 61);
  EXPECT_EQ(w->grid().cell(4, 58), (GsaCell{QStringLiteral("0"), QStringLiteral("10")}));
  EXPECT_EQ(w->grid().cell(6, 58), (GsaCell{QStringLiteral("1"), QStringLiteral("10")}));
  EXPECT_EQ(w->grid().cell(5, 59), (GsaCell{kNone, QStringLiteral("255")}));
  EXPECT_EQ(w->grid().cell(5, 58), (GsaCell{QStringLiteral("x1"), QStringLiteral("2")}));
  EXPECT_EQ(frame->statusText(0), QStringLiteral("Изменен"));
  ASSERT_TRUE(w->UndoItem->isEnabled());
  w->UndoItem->trigger();
  EXPECT_EQ(w->GSAGrid->model()->rowCount(), 60);
  EXPECT_TRUE(w->grid().usedCells().isEmpty());
  EXPECT_FALSE(w->UndoItem->isEnabled());
}

TEST_F(GsaWindow, RightClickChoosesTheNextTool) {
  TGSAForm* w = newGsa();
  tool(GsaTool::Crossing);
  click(w, 2, 2, Qt::RightButton);
  EXPECT_EQ(pressedTool(), GsaTool::Delete);
  EXPECT_TRUE(w->deleteCursorShown());
  EXPECT_EQ(w->GSAGrid->viewport()->cursor().pixmap().size(), QSize(32, 32));  // our picture
  click(w, 2, 2, Qt::RightButton);
  EXPECT_EQ(pressedTool(), GsaTool::Start);
  EXPECT_FALSE(w->deleteCursorShown());
  mouse(w, QEvent::MouseButtonDblClick, Qt::RightButton, 2, 2);  // the second of two quick clicks
  EXPECT_EQ(pressedTool(), GsaTool::End);
  EXPECT_TRUE(w->grid().usedCells().isEmpty());  // a right click places nothing
}

TEST_F(GsaWindow, OnlyTheActiveWindowTakesAClick) {
  TGSAForm* first = newGsa();
  newGsa();
  click(first, 1, 1);
  EXPECT_TRUE(first->grid().usedCells().isEmpty());
  EXPECT_FALSE(first->isModified());
}

TEST_F(GsaWindow, AClickBesideTheCellsPlacesNothing) {
  TGSAForm* w = newGsa();
  subOf(w)->resize(900, 700);
  w->setFontSize(1);  // 30 columns of 10 pixels leave room on the right
  tool(GsaTool::End);
  GsaGridView* g = w->GSAGrid;
  const QPointF beside(g->cellRect(29, 0).right() + 40, g->cellRect(29, 0).center().y());
  ASSERT_LT(beside.x(), g->viewport()->width());
  QMouseEvent press(QEvent::MouseButtonPress, beside, g->viewport()->mapToGlobal(beside), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g->viewport(), &press);
  EXPECT_TRUE(w->grid().usedCells().isEmpty());
  EXPECT_FALSE(w->isModified());
}

// Each cell is painted in the full cell size of its font; the grid line lies beside it.
TEST_F(GsaWindow, CellsArePaintedInTheirFullSize) {
  TGSAForm* w = newGsa();
  const struct {
    int font;
    QSize cell;
  } cases[] = {{6, {60, 36}}, {12, {120, 72}}, {1, {10, 6}}};
  for (const auto& c : cases) {
    w->setFontSize(c.font);
    for (const QPoint at : {QPoint(0, 0), QPoint(3, 2)}) {
      const QRect r = w->GSAGrid->cellRect(at.x(), at.y());
      EXPECT_EQ(r.size(), c.cell) << c.font;
      EXPECT_EQ(w->GSAGrid->cellRect(at.x() + 1, at.y()).left(), r.left() + c.cell.width() + 1)
          << "one line between";
    }
  }
}

TEST_F(GsaWindow, CellPositionTakesTheStatusBarWhileThePointerIsOverTheGrid) {
  TGSAForm* w = newGsa();
  auto panel = [&](int i) { return frame->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i)); };
  auto panelsAt = [&] {
    QList<int> xs;
    for (int i = 0; i < 4; ++i) xs << (panel(i)->isVisible() ? panel(i)->mapTo(frame, QPoint()).x() : -1);
    return xs;
  };
  QCoreApplication::processEvents();
  const QList<int> places = panelsAt();
  ASSERT_FALSE(places.contains(-1));
  QEvent leave(QEvent::Leave);
  const struct {
    const char* what;
    std::function<void()> act;
    QString text;  // empty: the panels stand where they were
  } cases[] = {
      {"over a cell", [&] { moveTo(w, 3, 5); }, QStringLiteral(" Строка: 5  Столбец: 3")},
      {"over another", [&] { moveTo(w, 4, 9); }, QStringLiteral(" Строка: 9  Столбец: 4")},
      {"off the grid", [&] { QCoreApplication::sendEvent(w->GSAGrid, &leave); }, QString()},
      {"back on it", [&] { moveTo(w, 0, 0); }, QStringLiteral(" Строка: 0  Столбец: 0")},
      {"another window", [&] { frame->NewTblClick(); }, QString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.act();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->simpleText(), c.text);
    auto* simple = frame->findChild<QLabel*>(QStringLiteral("StatusSimpleText"));
    EXPECT_EQ(simple->isVisible(), !c.text.isEmpty());
    const QList<int> hidden = {-1, -1, -1, -1};
    EXPECT_EQ(panelsAt(), c.text.isEmpty() ? places : hidden);
  }
}

TEST_F(GsaWindow, TrackingPreview) {
  TGSAForm* w = newGsa();
  moveTo(w, 3, 5);
  const int before = w->GSAGrid->repaints;
  moveTo(w, 3, 5);
  EXPECT_EQ(w->GSAGrid->repaints, before);  // the same cell draws nothing
  moveTo(w, 4, 5);
  EXPECT_EQ(w->GSAGrid->repaints, before + 1);
  EXPECT_TRUE(w->GSAGrid->previewShown());

  w->editor.doc.trackFigures = false;
  const int still = w->GSAGrid->repaints;
  moveTo(w, 7, 9);
  moveTo(w, 8, 9);
  EXPECT_EQ(w->GSAGrid->repaints, still);
  EXPECT_EQ(frame->simpleText(), QStringLiteral(" Строка: 9  Столбец: 8"));
}

TEST_F(GsaWindow, FrameCommandsReachTheWindow) {
  TGSAForm* w = newGsa();
  frame->ui().AddStrAction->trigger();
  EXPECT_EQ(w->grid().rowCount(), 61);
  EXPECT_TRUE(w->isModified());
  frame->fontSizeBox()->setEditText(QStringLiteral("12"));
  frame->FontSizeClick();
  EXPECT_EQ(w->GSAGrid->cellRect(0, 0).size(), QSize(120, 72));
  dlg::Script s;
  s.answers << dlg::No << dlg::Yes;
  w->ClearItem->trigger();
  EXPECT_EQ(s.lastText(), QStringLiteral("Очистить ГСА?"));
  EXPECT_EQ(w->grid().rowCount(), 61);
  place(w, GsaTool::Start, {{1, 1}});
  QKeyEvent ctrlX(QEvent::KeyPress, Qt::Key_X, Qt::ControlModifier);  // not the frame's cut
  QApplication::sendEvent(w->GSAGrid, &ctrlX);
  EXPECT_EQ(s.shown.size(), 2);
  EXPECT_TRUE(w->grid().usedCells().isEmpty());
  w->UndoItemClick();
  EXPECT_EQ(w->grid().kind(1, 1), QStringLiteral("3"));
}

TEST_F(GsaWindow, MessagePaneLeadsToTheFaultyCell) {
  TGSAForm* w = newGsa();
  place(w, GsaTool::Start, {{0, 0}});
  place(w, GsaTool::End, {{9, 9}});
  tool(GsaTool::Condition);
  answerCondition(QStringLiteral("x1"), kNone, QStringLiteral("0"), QStringLiteral("1"));
  click(w, 5, 59);  // its lower exit cell lands in a row of its own, which an undo takes away
  w->GSAGrid->selectCell(0, 0);
  frame->ui().ToTblAction->trigger();
  EXPECT_EQ(frame->lastTableForm, nullptr);
  ASSERT_TRUE(w->MessageList->isVisibleTo(w));
  EXPECT_TRUE(frame->ui().showMessagesItem->isChecked());
  const int onOldRow = w->messageRows.indexOf(59), onNewRow = w->messageRows.indexOf(60);
  ASSERT_GE(onOldRow, 0);
  ASSERT_GE(onNewRow, 0);

  w->MessageListDblClick();  // nothing selected
  EXPECT_EQ(w->GSAGrid->currentRow(), 0);
  w->MessageList->setCurrentRow(onOldRow);
  w->MessageListDblClick();
  EXPECT_EQ(w->GSAGrid->currentRow(), 59);
  EXPECT_EQ(w->GSAGrid->currentCol(), w->messageCols[onOldRow]);

  w->UndoItemClick();
  w->GSAGrid->selectCell(0, 0);
  w->MessageList->setCurrentRow(onNewRow);
  w->MessageListDblClick();  // row 60 is gone
  EXPECT_EQ(w->GSAGrid->currentRow(), 0);

  frame->mShowMessageClick();
  EXPECT_FALSE(w->MessageList->isVisibleTo(w));
  EXPECT_FALSE(frame->ui().showMessagesItem->isChecked());
}

TEST_F(GsaWindow, OptionsAreReadBackOnlyOnOk) {
  TGSAForm* w = newGsa();
  w->editor.doc.y0 = QStringLiteral("q0");
  QTimer::singleShot(0, [] {
    EXPECT_EQ(OptionsForm->pages->tabText(OptionsForm->pages->currentIndex()), QStringLiteral("ГСА"));
    EXPECT_EQ(OptionsForm->BegyEdit->text(), QStringLiteral("q0"));
    OptionsForm->BegEdit->setText(QStringLiteral("a0"));
    OptionsForm->AutoNumBox->setChecked(false);
    OptionsForm->CancelBtn->click();
  });
  frame->mOptionsClick();
  EXPECT_EQ(w->editor.doc.s0, QStringLiteral("s0"));
  EXPECT_FALSE(w->editor.doc.userNaming);
  EXPECT_FALSE(w->isModified());

  QTimer::singleShot(0, [] {
    OptionsForm->BegEdit->setText(QStringLiteral("a0"));
    OptionsForm->TrackFigBox->setChecked(false);
    OptionsForm->InSob->clear();  // an emptied letter keeps the flowchart's
    OptionsForm->OKBtn->click();
  });
  frame->mOptionsClick();
  EXPECT_EQ(w->editor.doc.s0, QStringLiteral("a0"));
  EXPECT_FALSE(w->editor.doc.trackFigures);
  EXPECT_EQ(w->editor.doc.eventLetter, QStringLiteral("s"));
  EXPECT_EQ(w->settings.kind, 2);
  EXPECT_TRUE(w->isModified());
}

TEST_F(GsaWindow, SavedFlowchartOpensAgainAndABadFileOpensNothing) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("f.gsa"));
  TGSAForm* w = newGsa();
  place(w, GsaTool::Start, {{1, 1}});
  place(w, GsaTool::VertLine, {{1, 2}});
  dlg::Script s;
  s.files << path;
  frame->ui().saveFileAction->trigger();  // an untitled window always asks for a name
  ASSERT_EQ(s.fileFilters.size(), 1);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("f.gsa"));
  EXPECT_FALSE(w->isModified());
  ASSERT_NE(frame->openDocument(path), nullptr);
  TGSAForm* again = frame->lastGsaForm;
  EXPECT_NE(again, w);
  EXPECT_EQ(again->grid(), w->grid());
  EXPECT_EQ(again->windowTitle(), QStringLiteral("f.gsa"));
  EXPECT_EQ(again->fileName, path);

  const QString bad = dir.filePath(QStringLiteral("bad.gsa"));
  ASSERT_TRUE(edtest::writeAll(bad, "GSA1.1\r\nAUTO\r\n"));
  EXPECT_EQ(frame->openDocument(bad), nullptr);  // said why, opened nothing
  EXPECT_EQ(s.shown.size(), 1);
  EXPECT_EQ(children(), 2);
}

TEST_F(GsaWindow, CloseQuestionKeepsTheWindowUnlessSaved) {
  QTemporaryDir dir;
  TGSAForm* w = newGsa();
  place(w, GsaTool::Start, {{1, 1}});
  struct Case {
    QString file;  // empty: the save dialog is cancelled
    int answer;
    bool closes;
  } cases[] = {{QString(), dlg::Yes, false},
               {dir.filePath(QStringLiteral("no/such/dir/f.gsa")), dlg::Yes, false},
               {QString(), dlg::Cancel, false},
               {QString(), dlg::No, true}};
  for (const Case& c : cases) {
    if (children() == 0) break;
    // A failed save leaves a name behind; an untitled caption asks for one again.
    w->setWindowTitle(QStringLiteral("Untitled"));
    w->fileName = QStringLiteral("Untitled");
    dlg::Script s;
    s.answers << c.answer;
    s.files << c.file;
    subOf(w)->close();
    ASSERT_GE(s.shown.size(), 1);
    EXPECT_EQ(s.shown.first().text, QStringLiteral("Сохранить изменения в Untitled?"));
    EXPECT_EQ(children(), c.closes ? 0 : 1) << c.answer;
    if (!c.closes) {
      EXPECT_TRUE(w->isModified());
    }
  }
  EXPECT_EQ(ChildKind, ckNone);
}
