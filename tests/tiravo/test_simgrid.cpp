#include <QSignalSpy>
#include <gtest/gtest.h>
#include <random>

#include "tablehelp.h"
#include "tiravo/sim/simgrid.h"

using tiravo::AutoSimGrid;
using tiravo::AutoSimulation;

namespace {

using tablehelp::Worked;

// A grid over `sim` in the given layout.
void Show(AutoSimGrid& grid, AutoSimulation& sim, bool horizontal) {
  grid.SetSimulation(&sim);
  grid.SetHorizontal(horizontal);
}

using Table = std::vector<std::vector<QString>>;

Table Cells(const QAbstractItemModel& g) {
  Table out(size_t(g.rowCount()), std::vector<QString>(size_t(g.columnCount())));
  for (int r = 0; r < g.rowCount(); ++r)
    for (int c = 0; c < g.columnCount(); ++c) out[size_t(r)][size_t(c)] = g.index(r, c).data().toString();
  return out;
}

// What a view shows when it reads a cell only when the notifications say so.
struct Mirror {
  explicit Mirror(const QAbstractItemModel& g) : cells(Cells(g)) {
    auto read = [&g](int r, int c) { return g.index(r, c).data().toString(); };
    QObject::connect(&g, &QAbstractItemModel::modelReset, [this, &g] { cells = Cells(g); });
    QObject::connect(&g, &QAbstractItemModel::rowsInserted,
                     [this, read, &g](const QModelIndex&, int a, int b) {
                       for (int r = a; r <= b; ++r) {
                         std::vector<QString> row;
                         for (int c = 0; c < g.columnCount(); ++c) row.push_back(read(r, c));
                         cells.insert(cells.begin() + r, row);
                       }
                     });
    QObject::connect(&g, &QAbstractItemModel::rowsRemoved, [this](const QModelIndex&, int a, int b) {
      cells.erase(cells.begin() + a, cells.begin() + b + 1);
    });
    QObject::connect(&g, &QAbstractItemModel::columnsInserted,
                     [this, read](const QModelIndex&, int a, int b) {
                       for (size_t r = 0; r < cells.size(); ++r)
                         for (int c = a; c <= b; ++c) cells[r].insert(cells[r].begin() + c, read(int(r), c));
                     });
    QObject::connect(&g, &QAbstractItemModel::columnsRemoved, [this](const QModelIndex&, int a, int b) {
      for (std::vector<QString>& row : cells) row.erase(row.begin() + a, row.begin() + b + 1);
    });
    QObject::connect(&g, &QAbstractItemModel::dataChanged,
                     [this, read](const QModelIndex& from, const QModelIndex& to) {
                       for (int r = from.row(); r <= to.row(); ++r)
                         for (int c = from.column(); c <= to.column(); ++c)
                           cells[size_t(r)][size_t(c)] = read(r, c);
                     });
  }
  Table cells;
};

const SSignalSet kInputs[] = {SSignalSet{1, 2}, SSignalSet{1, -2}, SSignalSet{-1, 2}, SSignalSet{-1, -2}};
const USignalSet kStarts[] = {USignalSet{1}, USignalSet{2, 3}, USignalSet{}, USignalSet{3}};

}  // namespace

// A grid told only about what each command touched shows what a grid drawn
// anew shows, and its notifications keep every view consistent.
TEST(AutoSimGrid, CommandByCommandItShowsWhatAGridDrawnAnewShows) {
  for (const bool horizontal : {false, true}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    AutoSimulation sim(Worked());
    AutoSimGrid grid;
    Show(grid, sim, horizontal);
    Mirror view(grid);
    std::mt19937 random(horizontal ? 7 : 11);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    for (int i = 0; i < 300; ++i) {
      const int steps = sim.StepCount;
      const SSignalSet& input = kInputs[pick(4)];
      switch (steps == 0 ? pick(2) : pick(6)) {
        case 0: grid.Append(input); break;
        case 1: grid.SetInitial(kStarts[pick(4)], horizontal); break;
        case 2: grid.Insert(1 + pick(steps), input); break;
        case 3: grid.Edit(1 + pick(steps), input, horizontal); break;
        case 4: grid.Delete(1 + pick(steps)); break;
        default: grid.RemoveLast(); break;
      }
      AutoSimGrid drawn;
      Show(drawn, sim, horizontal);
      ASSERT_EQ(view.cells, Cells(drawn)) << "step " << i;
    }
  }
}

// Appending a step announces one line and repaints only the lines around it,
// however long the sequence already is.
TEST(AutoSimGrid, AnAppendedStepTouchesOnlyTheLinesNextToIt) {
  for (const bool horizontal : {false, true}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    AutoSimulation sim(Worked());
    AutoSimGrid grid;
    Show(grid, sim, horizontal);
    grid.SetInitial(USignalSet{1}, false);
    for (int i = 0; i < 1000; ++i) grid.Append(kInputs[i % 4]);
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
    QSignalSpy rows(&grid, &QAbstractItemModel::rowsInserted);
    QSignalSpy columns(&grid, &QAbstractItemModel::columnsInserted);
    grid.Append(kInputs[0]);
    EXPECT_EQ((horizontal ? columns : rows).count(), 1);
    for (const QList<QVariant>& signal : changed) {
      const QModelIndex from = signal[0].toModelIndex(), to = signal[1].toModelIndex();
      const int first = horizontal ? from.column() : from.row();
      const int last = horizontal ? to.column() : to.row();
      if (last == 0) continue;  // the head cell "шаг (1-N)"
      EXPECT_GE(first, 1001);
      EXPECT_LE(last - first, 1);
    }
  }
}
