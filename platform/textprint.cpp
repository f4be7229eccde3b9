#include "platform/textprint.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <QTextDocument>
#include <memory>

namespace textprint {

namespace {

// The resolution a document without a paint device is laid out at, as Qt takes it.
QSizeF screenDpi() {
  if (const QScreen* s = QGuiApplication::primaryScreen())
    return {qreal(qRound(s->logicalDotsPerInchX())), qreal(qRound(s->logicalDotsPerInchY()))};
  return {100, 100};
}

}  // namespace

void printAsShown(const QTextDocument& doc, QPrinter* printer) {
  // A document given a page size is printed as laid out on the screen and scaled to the
  // printer's resolution; without one, Qt lays it out anew on the printer, where a font
  // size in pixels or a tab stop turns into printer dots (a 12-pixel font at 1200 dpi is
  // under 1 point high).
  std::unique_ptr<QTextDocument> copy(doc.clone());
  const QSizeF points = printer->pageLayout().paintRect(QPageLayout::Point).size();
  const QSizeF dpi = screenDpi();
  copy->setPageSize(QSizeF(points.width() * dpi.width() / 72.0, points.height() * dpi.height() / 72.0));
  copy->print(printer);
}

}  // namespace textprint
