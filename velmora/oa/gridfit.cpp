#include "velmora/oa/gridfit.h"

#include <QEvent>
#include <QHash>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>
#include <QVector>
#include <QtMath>
#include <memory>

namespace gridfit {

namespace {

// One grid's measure of texts, kept with the grid: the advance of each character is asked of
// the font once, since a grid of many rows measures every text again at every step. It also
// fits the grid whenever its view changes size.
class Fitter : public QObject {
 public:
  explicit Fitter(QTableWidget* grid) : QObject(grid), grid_(grid) {
    grid->installEventFilter(this);
    all().insert(grid, this);
  }
  ~Fitter() override { all().remove(grid_); }

  static Fitter* of(QTableWidget* grid) {
    Fitter* f = all().value(grid);
    return f ? f : new Fitter(grid);
  }

  void watchView() {
    if (watching_) return;
    watching_ = true;
    grid_->viewport()->installEventFilter(this);
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
    const int columns = grid_->columnCount();
    const int rows = grid_->rowCount();
    int used = 0;
    for (int c = 0; c < columns; ++c) {
      int need = grid_->horizontalHeader()->isHidden() ? 0 : grid_->horizontalHeader()->sectionSizeHint(c);
      for (int r = 0; r < rows; ++r)
        if (const QTableWidgetItem* it = grid_->item(r, c)) need = qMax(need, cellWidth(it->text()));
      if (c == columns - 1) need = qMax(need, grid_->viewport()->width() - used);
      grid_->setColumnWidth(c, need);
      used += need;
    }
  }

 private:
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
  static QHash<const QTableWidget*, Fitter*>& all() {
    static QHash<const QTableWidget*, Fitter*> fitters;
    return fitters;
  }

  QTableWidget* grid_;
  QStyle* style_ = nullptr;
  std::unique_ptr<QFontMetricsF> metrics_;
  QVector<qreal> advances_;
  QHash<ushort, qreal> other_;
  int margin_ = 0;
  bool busy_ = false, watching_ = false;
};

}  // namespace

void fitAll(QTableWidget* grid) { Fitter::of(grid)->fitAll(); }

void widenFor(QTableWidget* grid, int column, const QString& text) {
  const int need = Fitter::of(grid)->cellWidth(text);
  if (need > grid->columnWidth(column)) grid->setColumnWidth(column, need);
}

void keepFitted(QTableWidget* grid) { Fitter::of(grid)->watchView(); }

}  // namespace gridfit
