#include "tiravo/forms/errorview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/gui/tablegrid.h"
#include "platform/longlines.h"

namespace tiravo {

TErrorView::TErrorView(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Синтаксическая ошибка"));
  resize(491, 148);
  auto* layout = new QVBoxLayout(this);
  error_ = new QLabel(this);
  error_->setObjectName(QStringLiteral("error"));
  QFont bold = error_->font();
  bold.setBold(true);
  bold.setPixelSize(13);
  error_->setFont(bold);
  error_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  line_ = new QLabel(this);
  line_->setObjectName(QStringLiteral("line"));
  line_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* top = new QHBoxLayout;
  top->addWidget(error_, 1);
  top->addWidget(line_);
  layout->addLayout(top);

  auto* cells = new QGridLayout;
  const char* titles[] = {"Si", "Yi", "Xij", "Sj"};
  const char* names[] = {"si", "yi", "xij", "sj"};
  QFont editFont(QStringLiteral("Vexo font"));
  editFont.setPixelSize(13);
  for (int i = 0; i < 4; ++i) {
    headers_[i] = new QLabel(QString::fromLatin1(titles[i]), this);
    headers_[i]->setObjectName(QString::fromLatin1(names[i]));
    headers_[i]->setAlignment(Qt::AlignCenter);
    // A long cell shows as a part of it around the fault; corrections go into the whole cell.
    edits_[i] = new longlines::LineEdit(this);
    edits_[i]->setObjectName(QStringLiteral("edit_") + QString::fromLatin1(names[i]));
    QFont f = editFont;
    f.setBold(i == 1 || i == 3);  // the y and sj edits
    edits_[i]->setFont(f);
    connect(edits_[i], &QLineEdit::textChanged, this, [this] { edit_siChange(); });
    cells->addWidget(headers_[i], 0, i);
    cells->addWidget(edits_[i], 1, i);
  }
  layout->addLayout(cells);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
}

void TErrorView::setError(TableGrid* table, int row, int column, const QString& text, int start, int length) {
  grid = table;
  errorRow = row;
  errorColumn = column;
  setMessage(text);
  selStart = start;
  selLength = length;
}

void TErrorView::setMessage(const QString& text) { error_->setText(text); }
QString TErrorView::message() const { return error_->text(); }
QString TErrorView::lineText() const { return line_->text(); }

bool TErrorView::headerRaised(int column) const {
  return headers_[column - 1]->frameShadow() == QFrame::Raised;
}

void TErrorView::FormActivate() {
  editing = false;
  line_->setText(QStringLiteral("Строка ") + QString::number(errorRow));
  for (QLabel* h : headers_) h->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  for (int c = 1; c <= 4; ++c) edits_[c - 1]->setWholeText(grid ? grid->cell(c, errorRow) : QString());
  const int col = qBound(1, errorColumn, 4);
  headers_[col - 1]->setFrameStyle(QFrame::Panel | QFrame::Raised);
  longlines::LineEdit* e = edits_[col - 1];
  e->setFocus();
  e->selectWhole(selStart, selLength);
  editing = true;
}

void TErrorView::edit_siChange() {
  if (!editing || !grid) return;
  for (int c = 1; c <= 4; ++c) grid->setCell(c, errorRow, edits_[c - 1]->wholeText());
}

void TErrorView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TErrorView::hideEvent(QHideEvent* event) {
  editing = false;
  QDialog::hideEvent(event);
}

}  // namespace tiravo
