#include "velmora/oa/gridfit.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVector>
#include <QtMath>
#include <memory>

namespace velmora {

namespace gridfit {

namespace {

// Rows measured one by one when they change or come; a larger span is measured where it is
// seen, so a grid of millions of rows is never read whole.
constexpr int kWholeRows = 2000;

// One grid's measure of texts, kept with the grid: the advance of each character is asked of
// the font once, since a grid of many rows measures every text again at every step. It also
// fits the grid whenever its view changes size.
class Fitter : public QObject {
 public:
  explicit Fitter(QTableView* grid)
      : QObject(grid), grid_(grid), heads_{grid->horizontalHeader(), grid->verticalHeader()} {
    grid->installEventFilter(this);
    all().insert(grid, this);
  }
  ~Fitter() override { all().remove(grid_); }

  static Fitter* of(QTableView* grid) {
    Fitter* f = all().value(grid);
    return f ? f : new Fitter(grid);
  }

  void watch() {
    if (!watching_) {
      watching_ = true;
      grid_->viewport()->installEventFilter(this);
      connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { widenForSeen(); });
    }
    watchModel();
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == grid_) {
      if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) metrics_.reset();
      return false;
    }
    // Fitting may show or hide a scroll bar, which resizes the view once more.
    if (event->type() == QEvent::Resize && !busy_) {
      busy_ = true;
      fitAll();
      busy_ = false;
    }
    return false;
  }

  // The width a cell needs to show `text` whole: the text, the item's text margins on both sides
  // and the grid line, as the item view draws a cell, and a pixel each side against rounding.
  int cellWidth(const QString& text) {
    refresh();
    qreal width = 0;
    for (const QChar ch : text) {
      const ushort u = ch.unicode();
      if (ch.isSurrogate()) return qCeil(metrics_->horizontalAdvance(text)) + margin_;
      if (u < advances_.size()) {
        qreal& a = advances_[u];
        if (a < 0) a = metrics_->horizontalAdvance(ch);
        width += a;
      } else {
        auto it = other_.find(u);
        if (it == other_.end()) it = other_.insert(u, metrics_->horizontalAdvance(ch));
        width += *it;
      }
    }
    return qCeil(width) + margin_;
  }

  void fitAll() {
    if (!whole()) return;
    watchModel();
    const QAbstractItemModel* m = grid_->model();
    if (!m) return;
    const int columns = m->columnCount();
    const QHeaderView* head = grid_->horizontalHeader();
    int used = 0;
    for (int c = 0; c < columns; ++c) {
      int need = head->isHidden() ? 0 : head->sectionSizeHint(c);
      need = qMax(need, widest(c, 0, m->rowCount() - 1));
      if (c == columns - 1) need = qMax(need, grid_->viewport()->width() - used);
      grid_->setColumnWidth(c, need);
      used += need;
    }
  }

  int natural() {
    const QAbstractItemModel* m = grid_->model();
    if (!m) return 0;
    const QHeaderView* head = grid_->horizontalHeader();
    int sum = 0;
    const int columns = m->columnCount();
    for (int c = 0; c < columns; ++c) {
      int need = qMax(head->isHidden() ? 0 : head->sectionSizeHint(c), widest(c, 0, m->rowCount() - 1));
      // A width given to a column stays; only the last column of a fitted grid takes up the
      // room left, which is not a need.
      if (!(watching_ && c == columns - 1)) need = qMax(need, grid_->columnWidth(c));
      sum += need;
    }
    return sum;
  }

  void widen(int column, int need) {
    if (need > grid_->columnWidth(column)) grid_->setColumnWidth(column, need);
  }

 private:
  // The widest text of `column` in rows first .. last; of a long span only the rows in view.
  int widest(int column, int first, int last) {
    if (last - first + 1 > kWholeRows) {
      first = qMax(first, grid_->rowAt(0));
      const int bottom = grid_->rowAt(grid_->viewport()->height() - 1);
      last = qMin(last, bottom < 0 ? first + kWholeRows - 1 : bottom);
      if (first < 0) return 0;
    }
    const QAbstractItemModel* m = grid_->model();
    int need = 0;
    for (int r = first; r <= last; ++r) need = qMax(need, cellWidth(m->index(r, column).data().toString()));
    return need;
  }

  void widenFor(int firstRow, int lastRow, int firstColumn, int lastColumn) {
    if (!whole()) return;
    for (int c = firstColumn; c <= lastColumn; ++c) widen(c, widest(c, firstRow, lastRow));
  }

  // The rows just scrolled into view.
  void widenForSeen() {
    const QAbstractItemModel* m = grid_->model();
    if (m && m->rowCount() > kWholeRows) widenFor(0, m->rowCount() - 1, 0, m->columnCount() - 1);
  }

  // Texts the model takes in widen their columns; a model laid out anew is fitted anew.
  void watchModel() {
    QAbstractItemModel* m = watching_ ? grid_->model() : nullptr;
    if (m == model_) return;
    if (model_) disconnect(model_, nullptr, this, nullptr);
    model_ = m;
    if (!m) return;
    connect(m, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& tl, const QModelIndex& br) {
      if (tl.isValid() && br.isValid()) widenFor(tl.row(), br.row(), tl.column(), br.column());
    });
    connect(m, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
              if (!parent.isValid()) widenFor(first, last, 0, model_->columnCount() - 1);
            });
    connect(m, &QAbstractItemModel::modelReset, this, [this] { fitAll(); });
    connect(m, &QAbstractItemModel::layoutChanged, this, [this] { fitAll(); });
  }

  // A grid being destroyed loses its headers before its model, which still tells of a reset.
  bool whole() const { return heads_[0] && heads_[1]; }

  // Measures anew when the grid's font or style changed.
  void refresh() {
    if (metrics_) return;
    style_ = grid_->style();
    metrics_.reset(new QFontMetricsF(grid_->font(), grid_));
    advances_.fill(-1, 0x500);  // Latin and Cyrillic
    other_.clear();
    margin_ = 2 * (style_->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 1) +
              (grid_->showGrid() ? 1 : 0) + 2;
  }

  // The fitter of each grid (the grids live on the main thread).
  static QHash<const QTableView*, Fitter*>& all() {
    static QHash<const QTableView*, Fitter*> fitters;
    return fitters;
  }

  QTableView* grid_;
  const QPointer<QHeaderView> heads_[2];
  QPointer<QAbstractItemModel> model_;
  QStyle* style_ = nullptr;
  std::unique_ptr<QFontMetricsF> metrics_;
  QVector<qreal> advances_;
  QHash<ushort, qreal> other_;
  int margin_ = 0;
  bool busy_ = false, watching_ = false;
};

}  // namespace

void fitAll(QTableView* grid) { Fitter::of(grid)->fitAll(); }

void widenFor(QTableView* grid, int column, const QString& text) {
  Fitter* f = Fitter::of(grid);
  f->widen(column, f->cellWidth(text));
}

void keepFitted(QTableView* grid) { Fitter::of(grid)->watch(); }

int neededWidth(QTableView* grid) {
  const QHeaderView* rows = grid->verticalHeader();
  const int titles = rows->isHidden() ? 0 : qMax(rows->width(), rows->sizeHint().width());
  return Fitter::of(grid)->natural() + titles + 2 * grid->frameWidth() +
         grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
}

}  // namespace gridfit

}  // namespace velmora
