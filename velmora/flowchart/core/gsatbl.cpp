#include "velmora/flowchart/core/gsatbl.h"

#include <QCollator>

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace velmora {

namespace {

const QString kOpenLink = QStringLiteral("Незавершенная связь или отсутствует соединение.");

}  // namespace

// ---------------------------------------------------------------------------------------------
// Check

void TGSATbl::addMessage(int col, int row, const QString& text) {
  messages_ << QStringLiteral("[%1, %2] ").arg(col).arg(row) + text;
  messageCols_ << col;
  messageRows_ << row;
}

int TGSATbl::Check(const GsaGridList& grid, const QString& outputLetter, const QString& eventLetter,
                   bool userNaming) {
  messages_.clear();
  messageCols_.clear();
  messageRows_.clear();
  int lastError = 0, lastWarning = 0;
  const QList<int> used = grid.usedCells();

  // Exactly one start and one end vertex.
  int starts = 0, ends = 0;
  for (int i : used) {
    starts += grid.hasKind(grid.colOf(i), grid.rowOf(i), GsaKind::Start);
    ends += grid.hasKind(grid.colOf(i), grid.rowOf(i), GsaKind::End);
  }
  const struct {
    int count;
    int none, many;
    const char *noneText, *manyText;
  } vertexCounts[] = {
      {starts, NoStart, ManyStarts, "Отсутствует начальная вершина.", "Начальных вершин более одной."},
      {ends, NoEnd, ManyEnds, "Отсутствует конечная вершина.", "Конечных вершин более одной."}};
  for (const auto& v : vertexCounts) {
    if (v.count == 1) continue;
    lastError = v.count == 0 ? v.none : v.many;
    addMessage(0, 0, QString::fromUtf8(v.count == 0 ? v.noneText : v.manyText));
  }

  // Links that end in nothing: on the grid's border or at an empty neighbour.
  static const struct {
    int code;
    int dc, dr;
    QList<int> kinds;
  } sides[] = {
      {OpenUp, 0, -1, {1, 2, 11, 14, 15, 16, 17}},
      {OpenDown, 0, 1, {1, 11, 12, 13, 16, 17}},
      {OpenLeft, -1, 0, {10, 13, 15, 16, 20}},
      {OpenRight, 1, 0, {10, 12, 14, 17, 20}},
  };
  for (int i : used) {
    const int col = grid.colOf(i), row = grid.rowOf(i);
    const int kind = grid.kindNumber(col, row);
    for (const auto& side : sides) {
      const bool tested = std::find(side.kinds.begin(), side.kinds.end(), kind) != side.kinds.end();
      if (!tested) continue;
      const int nc = col + side.dc, nr = row + side.dr;
      if (grid.contains(nc, nr) && !grid.isEmptyCell(nc, nr)) continue;
      lastError = side.code;
      addMessage(col, row, kOpenLink);
    }
  }

  // The naming mode against the first character of the operator texts.
  for (int i : used) {
    const int col = grid.colOf(i), row = grid.rowOf(i);
    if (!grid.hasKind(col, row, GsaKind::Operator)) continue;
    const QString first = grid.text(col, row).left(1);
    if (!userNaming && first == eventLetter) {
      lastWarning = EventNameFound;
      addMessage(col, row,
                 QStringLiteral("В операторной вершине найдено имя события. Возможно, "
                                "неверно выбран режим 'Автоматическое присвоение имен'."));
    } else if (userNaming && first == outputLetter) {
      lastWarning = EventNameMissing;
      addMessage(col, row,
                 QStringLiteral("В операторной вершине не найдено имя события. Возможно, "
                                "нужно выбрать режим 'Автоматическое присвоение имен'."));
    }
  }
  return lastError ? lastError : lastWarning;
}

// ---------------------------------------------------------------------------------------------
// Conversion

QString TGSATbl::StateNameOf(const QString& text) {
  const int open = text.indexOf(QLatin1Char('('));
  return open < 0 ? text : text.left(open);
}

QString TGSATbl::OutputsOf(const QString& text) {
  const int open = text.indexOf(QLatin1Char('('));
  const int close = open < 0 ? -1 : text.indexOf(QLatin1Char(')'), open + 1);
  return close < 0 ? text : text.mid(open + 1, close - open - 1);
}

QString TGSATbl::SortConjunction(const QString& s) {
  if (!s.contains(QLatin1Char('&'))) return s;
  QStringList parts = s.split(QLatin1Char('&'));
  // The default locale's order, as QString::localeAwareCompare has it, from a collator of our own:
  // the one Qt keeps for each thread is never freed.
  thread_local const QCollator collator;
  std::stable_sort(parts.begin(), parts.end(), [](const QString& a, const QString& b) {
    return collator.compare(a.toLower(), b.toLower()) < 0;
  });
  return parts.join(QLatin1Char('&'));
}

QString TGSATbl::nameOfCell(int col, int row) const {
  const int id = grid_->usedId(col, row);
  const int v = id < 0 ? -1 : vertexOfId_[size_t(id)];
  return v < 0 ? QString() : vertexNames_[v];
}

TableData TGSATbl::MakeTable(const GsaGridList& grid, const QString& sk, const QString& s0, const QString& yk,
                             const QString& y0, bool moveEvents, bool userNaming) {
  grid_ = &grid;
  moveEvents_ = moveEvents;
  inConjunctive_ = conjunctiveDone_ = false;
  vertexNames_.clear();
  vertexCells_.clear();
  vertexOutputs_.clear();
  vertexOfId_.assign(size_t(grid.usedCount()), -1);
  pathMarks_.assign(size_t(grid.usedCount()), 0);
  pathSteps_.clear();
  depth_ = 0;
  cutShort_ = false;
  // The vertices in row-major order, each read from the grid once.
  struct Vertex {
    int cell, col, row, id, kind;
  };
  std::vector<Vertex> vertices;
  for (int i : grid.usedCells()) {
    const int col = grid.colOf(i), row = grid.rowOf(i);
    const int kind = grid.kindNumber(col, row);
    if (kind == GsaKind::Operator || kind == GsaKind::Start || kind == GsaKind::End)
      vertices.push_back({i, col, row, grid.usedId(col, row), kind});
  }

  // Operators first, then the start and the end vertices, each group in row-major order.
  int counter = 0;
  auto enter = [&](const Vertex& v, const QString& name, const QString& outputs) {
    vertexOfId_[size_t(v.id)] = int(vertexNames_.size());
    vertexNames_ << name;
    vertexCells_ << v.cell;
    vertexOutputs_ << outputs;
  };
  for (const Vertex& v : vertices) {
    if (v.kind != GsaKind::Operator) continue;
    ++counter;
    const QString& text = grid.text(v.col, v.row);
    if (userNaming)
      enter(v, StateNameOf(text), OutputsOf(text));
    else
      enter(v, QLatin1Char('s') + QString::number(counter), text);
  }
  for (const Vertex& v : vertices)
    if (v.kind == GsaKind::Start) enter(v, s0, y0);
  for (const Vertex& v : vertices)
    if (v.kind == GsaKind::End) enter(v, sk, yk);

  TableData table;
  rows_ = &table.rows;
  // A new table window starts with one empty data row, deleted once the rows are in.
  rows_->append(TableRow());
  for (const Vertex& v : vertices)
    if (v.kind == GsaKind::Operator || v.kind == GsaKind::Start) openRow(v.col, v.row);
  if (rows_->size() >= 2) rows_->removeFirst();
  if (moveEvents) {
    for (TableRow& r : *rows_) r.si = SortConjunction(r.si);
    mergeDuplicateRows();
  }
  fillOutputs();
  rows_ = nullptr;
  grid_ = nullptr;
  return table;
}

void TGSATbl::openRow(int col, int row) {
  if (conjunctiveDone_) inConjunctive_ = false;
  TableRow r;
  r.si = nameOfCell(col, row);
  rows_->append(r);
  follow(col, row, Down);
}

void TGSATbl::closeRow(int col, int row) {
  if (conjunctiveDone_) inConjunctive_ = false;
  TableRow& last = rows_->last();
  if (last.x.isEmpty()) last.x = QStringLiteral("1");
  last.sj = nameOfCell(col, row);
}

void TGSATbl::follow(int col, int row, Dir dir) {
  // A walk along plain links goes on in this loop; conditions, splitters and connectors
  // branch by recursion. The (cell, direction) pairs of the path in progress end a walk
  // that comes round to where it was (a loop of links, or a loop through a condition).
  if (cutShort_ || depth_ >= kMaxDepth || rows_->size() >= kMaxTableRows) {
    cutShort_ = true;
    return;
  }
  ++depth_;
  const size_t firstStep = pathSteps_.size();
  while (true) {
    switch (dir) {
      case Left: --col; break;
      case Right: ++col; break;
      case Up: --row; break;
      case Down: ++row; break;
    }
    // Off the grid or at an empty cell every link ends.
    const int id = grid_->usedId(col, row);
    if (id < 0) break;
    const unsigned char bit = static_cast<unsigned char>(1u << dir);
    if (pathMarks_[size_t(id)] & bit) break;
    pathMarks_[size_t(id)] |= bit;
    pathSteps_.push_back(id * 4 + dir);

    const int kind = grid_->kindNumber(col, row);  // "01" is no code: kinds compare as text
    // Where a link sends the walk: the new direction, or -1 to stop.
    int next = -1;
    switch (kind) {
      case GsaKind::Operator:
      case GsaKind::End: closeRow(col, row); break;
      case GsaKind::Condition: expandCondition(col, row); break;
      case GsaKind::HorLine:
        if (dir == Left || dir == Right) next = dir;
        break;
      case GsaKind::VertLine:
        if (dir == Up || dir == Down) next = dir;
        break;
      case GsaKind::CornerRightDown: next = dir == Left ? Down : dir == Up ? Right : -1; break;
      case GsaKind::CornerLeftDown: next = dir == Right ? Down : dir == Up ? Left : -1; break;
      case GsaKind::CornerUpRight: next = dir == Left ? Up : dir == Down ? Right : -1; break;
      case GsaKind::CornerUpLeft: next = dir == Right ? Up : dir == Down ? Left : -1; break;
      case GsaKind::MergeLeft: next = dir == Right ? Down : dir == Left ? -1 : dir; break;
      case GsaKind::MergeRight: next = dir == Left ? Down : dir == Right ? -1 : dir; break;
      case GsaKind::MergeBoth: next = dir == Left || dir == Right ? Down : -1; break;
      case GsaKind::Crossing: next = dir; break;
      case GsaKind::Splitter:
        if (dir == Down) followSplitter(col, row);
        break;
      case GsaKind::ConnectorInputs:
        if (dir != Up) followConnector(col, row);
        break;
      default: break;
    }
    if (next < 0) break;
    dir = static_cast<Dir>(next);
  }
  for (size_t k = firstStep; k < pathSteps_.size(); ++k) {
    const int s = pathSteps_[k];
    pathMarks_[size_t(s / 4)] &= static_cast<unsigned char>(~(1u << (s % 4)));
  }
  pathSteps_.resize(firstStep);
  --depth_;
}

void TGSATbl::expandCondition(int col, int row) {
  const QString x = grid_->text(col, row);
  const QString entry = rows_->last().x;
  const QString prefix = entry.isEmpty() ? QString() : entry + QLatin1Char('&');
  rows_->last().x = prefix + x;

  const struct {
    int dc, dr;
    Dir dir;
  } exits[] = {{-1, 0, Left}, {1, 0, Right}, {0, 1, Down}};
  auto followExits = [&](const QString& label) {
    for (const auto& e : exits) {
      const int nc = col + e.dc, nr = row + e.dr;
      if (!grid_->isEmptyCell(nc, nr) && grid_->text(nc, nr) == label) follow(col, row, e.dir);
    }
  };
  followExits(GsaLabel::one());
  TableRow inverted;
  inverted.x = prefix + x.toUpper();
  rows_->append(inverted);
  if (inConjunctive_ && moveEvents_) moveEventsStep();
  followExits(GsaLabel::zero());
  const int n = rows_->size();
  if (moveEvents_ && n >= 2 && (*rows_)[n - 2].sj.isEmpty()) (*rows_)[n - 2].sj = (*rows_)[n - 1].sj;
}

void TGSATbl::moveEventsStep() {
  // The condition of the row just appended becomes the event part of its source.
  const int n = rows_->size() - 1;
  const QString& above = (*rows_)[n - 1].si;
  const int amp = above.indexOf(QLatin1Char('&'));
  const QString prefix = amp < 0 ? QString() : above.left(amp + 1);
  const QString q = (*rows_)[n].x;
  const int qAmp = q.indexOf(QLatin1Char('&'));
  if (qAmp >= 0) {
    TableRow copy = (*rows_)[n];
    copy.si = prefix + q.mid(qAmp + 1);
    copy.x = QStringLiteral("1");
    (*rows_)[n].si = prefix + q.left(qAmp);
    (*rows_)[n].x = QStringLiteral("1");
    rows_->append(copy);
  } else {
    (*rows_)[n].si = prefix + q;
    (*rows_)[n].x = QStringLiteral("1");
  }
  inConjunctive_ = false;
}

void TGSATbl::followSplitter(int col, int row) {
  const struct {
    int dc, dr;
    Dir dir;
  } legs[] = {{-1, 1, Left}, {0, 2, Down}, {1, 1, Right}};
  bool first = true;
  for (const auto& leg : legs) {
    if (grid_->isEmptyCell(col + leg.dc, row + leg.dr)) continue;
    if (!first) {
      TableRow parallel;
      parallel.x = rows_->last().x;
      rows_->append(parallel);
    }
    first = false;
    follow(col, row + 1, leg.dir);
  }
}

void TGSATbl::followConnector(int col, int row) {
  if (grid_->text(col, row + 1) != QLatin1String("C")) {
    follow(col, row + 1, Down);
    return;
  }
  inConjunctive_ = true;
  conjunctiveDone_ = false;
  follow(col, row + 1, Down);
  conjunctiveDone_ = true;
  TableRow& last = rows_->last();
  if (moveEvents_ && last.x != QLatin1String("1")) {
    last.si = last.si + QLatin1Char('&') + last.x;
    last.x = QStringLiteral("1");
  }
}

void TGSATbl::mergeDuplicateRows() {
  // Deleting the first later duplicate and starting again from the top until none is left
  // keeps the first row of every (si, sj) pair; one pass gives the same rows.
  QSet<QPair<QString, QString>> seen;
  QList<TableRow> kept;
  kept.reserve(rows_->size());
  for (const TableRow& r : *rows_) {
    if (!r.si.isEmpty()) {
      const QPair<QString, QString> key(r.si, r.sj);
      if (seen.contains(key)) continue;
      seen.insert(key);
    }
    kept << r;
  }
  *rows_ = kept;
}

void TGSATbl::fillOutputs() {
  // Keys are views into vertexNames_, which stays put meanwhile: no string is built.
  struct ViewHash {
    size_t operator()(QStringView v) const {
      return std::hash<std::u16string_view>()(std::u16string_view(v.utf16(), size_t(v.size())));
    }
  };
  std::unordered_map<QStringView, int, ViewHash> byName;  // the first vertex of each state name
  byName.reserve(size_t(vertexNames_.size()));
  for (int v = 0; v < vertexNames_.size(); ++v) {
    const QString& name = vertexNames_[v];
    const qsizetype open = name.indexOf(QLatin1Char('('));
    byName.emplace(open < 0 ? QStringView(name) : QStringView(name).left(open), v);
  }
  auto outputsOf = [&](QStringView name) -> const QString* {
    const auto it = byName.find(name);
    return it == byName.end() ? nullptr : &vertexOutputs_[it->second];
  };
  for (TableRow& r : *rows_) {
    r.y.clear();
    if (r.si.isEmpty()) continue;
    const QStringView si(r.si);
    if (!si.contains(QLatin1Char('&'))) {
      if (const QString* outputs = outputsOf(si)) r.y = *outputs;
      continue;
    }
    QString y;
    for (qsizetype from = 0;;) {
      const qsizetype amp = si.indexOf(QLatin1Char('&'), from);
      const QStringView part = si.mid(from, amp < 0 ? si.size() - from : amp - from);
      if (const QString* outputs = outputsOf(part)) y += *outputs + QLatin1Char('&');
      if (amp < 0) break;
      from = amp + 1;
    }
    if (!y.isEmpty()) y.chop(1);
    r.y = y;
  }
}

}  // namespace velmora
