#include "common/gui/tablegridmodel.h"

#include <limits>

#include "common/tblfile.h"
#include "platform/cp1251.h"

TableGridModel::TableGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int TableGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}
int TableGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant TableGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
  return text(index.row(), index.column());
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Horizontal) return title(section);
  const int n = number(section);
  return n > 0 ? QString::number(n) : QString();
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QString TableGridModel::text(int row, int col) const {
  if (row < 0 || row >= rows_.size() || col < 0 || col > 3) return QString();
  const Cell c = rows_[row].cells[size_t(col)];
  return c.length ? QString(buffer_.constData() + c.start, c.length) : QString();
}

QStringView TableGridModel::view(int row, int col) const {
  if (row < 0 || row >= rows_.size() || col < 0 || col > 3) return QStringView();
  const Cell c = rows_[row].cells[size_t(col)];
  return QStringView(buffer_.constData() + c.start, c.length);
}

bool TableGridModel::cellEmpty(int row, int col) const {
  return row < 0 || row >= rows_.size() || col < 0 || col > 3 || rows_[row].cells[size_t(col)].length == 0;
}

TableGridModel::Cell TableGridModel::store(QStringView text) {
  if (text.isEmpty()) return Cell();
  if (buffer_.size() + text.size() > std::numeric_limits<quint32>::max()) packIfSparse();
  Cell c{quint32(buffer_.size()), quint32(text.size())};
  buffer_.append(text);
  used_ += text.size();
  return c;
}

void TableGridModel::packIfSparse() {
  if (buffer_.size() < (1 << 16) || used_ * 2 > buffer_.size()) return;
  QString packed;
  packed.reserve(used_);
  for (Row& r : rows_)
    for (Cell& c : r.cells) {
      if (!c.length) continue;
      const quint32 start = quint32(packed.size());
      packed.append(QStringView(buffer_).mid(c.start, c.length));
      c.start = start;
    }
  buffer_ = std::move(packed);
}

void TableGridModel::setText(int row, int col, const QString& text) {
  if (row < 0 || row >= rows_.size() || col < 0 || col > 3) return;
  Cell& c = rows_[row].cells[size_t(col)];
  if (QStringView(buffer_).mid(c.start, c.length) == QStringView(text)) return;
  filledCells_ += (text.isEmpty() ? 0 : 1) - (c.length ? 1 : 0);
  used_ -= c.length;
  const Cell stored = store(text);
  rows_[row].cells[size_t(col)] = stored;
  packIfSparse();
  const QModelIndex i = index(row, col);
  emit dataChanged(i, i);
}

void TableGridModel::setTitle(int col, const QString& text) {
  if (col < 0 || col > 3) return;
  titles_[size_t(col)] = text;
  emit headerDataChanged(Qt::Horizontal, col, col);
}

void TableGridModel::setNumber(int row, int number) {
  if (row < 0 || row >= rows_.size() || rows_[row].number == number) return;
  rows_[row].number = number;
  emit headerDataChanged(Qt::Vertical, row, row);
}

void TableGridModel::renumber() {
  int n = 1, first = -1, last = -1;
  for (int r = 0; r < rows_.size(); ++r) {
    const int want = rows_[r].cells[0].length ? n++ : 0;
    if (rows_[r].number == want) continue;
    rows_[r].number = want;
    if (first < 0) first = r;
    last = r;
  }
  if (first >= 0) emit headerDataChanged(Qt::Vertical, first, last);
}

void TableGridModel::count(const Row& r, int sign) {
  for (const Cell& c : r.cells) {
    if (c.length) filledCells_ += sign;
    used_ += sign * qint64(c.length);
  }
}

void TableGridModel::resizeRows(int count) {
  count = qMax(count, 0);
  const int n = int(rows_.size());
  if (count > n) {
    beginInsertRows(QModelIndex(), n, count - 1);
    rows_.resize(count);
    endInsertRows();
  } else if (count < n) {
    beginRemoveRows(QModelIndex(), count, n - 1);
    for (int r = count; r < n; ++r) this->count(rows_[r], -1);
    rows_.resize(count);
    endRemoveRows();
  }
}

void TableGridModel::insertEmptyRow(int at) {
  at = qBound(0, at, int(rows_.size()));
  beginInsertRows(QModelIndex(), at, at);
  rows_.insert(at, Row());
  endInsertRows();
}

void TableGridModel::removeRowAt(int at) {
  if (at < 0 || at >= rows_.size()) return;
  beginRemoveRows(QModelIndex(), at, at);
  count(rows_[at], -1);
  rows_.removeAt(at);
  endRemoveRows();
}

void TableGridModel::clearTexts() {
  beginResetModel();
  for (Row& r : rows_) r = Row();
  filledCells_ = 0;
  buffer_.clear();
  used_ = 0;
  endResetModel();
}

void TableGridModel::assign(const QVector<TableRow>& rows) {
  beginResetModel();
  rows_.clear();
  rows_.resize(qMax(1, int(rows.size())));
  filledCells_ = 0;
  buffer_.clear();
  used_ = 0;
  qint64 total = 0;
  for (const TableRow& r : rows) total += r.si.size() + r.y.size() + r.x.size() + r.sj.size();
  buffer_.reserve(total);
  for (int r = 0; r < rows.size(); ++r) {
    Row& d = rows_[r];
    const QString* texts[] = {&rows[r].si, &rows[r].y, &rows[r].x, &rows[r].sj};
    for (int c = 0; c < 4; ++c) d.cells[size_t(c)] = store(TblFile::cellText(*texts[c]));
    used_ -= d.cells[0].length + d.cells[1].length + d.cells[2].length + d.cells[3].length;
    count(d, 1);
  }
  endResetModel();
}

bool TableGridModel::assignFileBytes(const QByteArray& bytes, QString* coding, int* ignoredLines) {
  // The lines as the line reader finds them: CR LF, CR or LF end one; a last line without a
  // break counts when it is not empty. First pass: count them and their characters.
  const char* p = bytes.constData();
  const qsizetype n = bytes.size();
  auto lineEnd = [&](qsizetype i) {
    while (i < n && p[i] != '\r' && p[i] != '\n') ++i;
    return i;
  };
  auto nextLine = [&](qsizetype end) {
    return end + (end + 1 < n && p[end] == '\r' && p[end + 1] == '\n' ? 2 : 1);
  };
  qint64 lines = 0, chars = 0;
  qsizetype firstEnd = -1;
  for (qsizetype i = 0; i < n;) {
    const qsizetype e = lineEnd(i);
    if (firstEnd < 0)
      firstEnd = e;
    else
      chars += e - i;
    ++lines;
    i = nextLine(e);
  }
  const QByteArray tag = firstEnd < 0 ? QByteArray() : bytes.left(firstEnd);
  if (lines == 0 || (tag != TblFile::abstractTag().toLatin1() && tag != TblFile::binaryTag().toLatin1()))
    return false;
  const qint64 groups = (lines - 1) / 4;
  if (groups > std::numeric_limits<int>::max() - 1 || chars > qint64(std::numeric_limits<quint32>::max()))
    return false;
  *coding = QString::fromLatin1(tag);
  *ignoredLines = int((lines - 1) % 4);

  beginResetModel();
  rows_.clear();
  rows_.resize(qMax<qsizetype>(1, groups));
  filledCells_ = 0;
  buffer_.clear();
  used_ = 0;
  char16_t table[256];
  for (int b = 0; b < 256; ++b) table[b] = cp1251::decodeByte(static_cast<unsigned char>(b)).unicode();
  buffer_.resize(chars);
  char16_t* out = reinterpret_cast<char16_t*>(buffer_.data());
  // Second pass: each line of a complete row decoded straight into the buffer.
  quint32 at = 0;
  qsizetype i = nextLine(firstEnd);
  for (qint64 k = 0; k < groups * 4; ++k) {
    const qsizetype e = lineEnd(i);
    Cell& c = rows_[qsizetype(k / 4)].cells[size_t(k % 4)];
    c.start = at;
    c.length = quint32(e - i);
    for (qsizetype j = i; j < e; ++j) out[at++] = table[static_cast<unsigned char>(p[j])];
    i = nextLine(e);
  }
  buffer_.truncate(at);
  for (const Row& r : rows_) count(r, 1);
  endResetModel();
  return true;
}
