#include "velmora/flowchart/paint/gsapaint.h"

#include <QPainter>

QSize gsaCellSize(int fontSize) { return QSize(10 * fontSize, 6 * fontSize); }

void paintGsaCell(QPainter& painter, const QRect& rect, const GsaGridList&, int, int) {
  painter.fillRect(rect, Qt::white);
}

void paintGsaPreview(QPainter&, const QRect&, GsaTool) {}
