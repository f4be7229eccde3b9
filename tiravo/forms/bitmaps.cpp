#include "tiravo/forms/bitmaps.h"

static void InitBitmaps() { Q_INIT_RESOURCE(bitmaps); }

namespace tiravo {

QPixmap Bitmap(const QString& name) {
  static const bool ready = (InitBitmaps(), true);
  Q_UNUSED(ready);
  return QPixmap(QStringLiteral(":/tiravo/") + name);
}

}  // namespace tiravo
