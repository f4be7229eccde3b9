// Writes the programs' icons as PNG files for the desktop: icongen <dir> writes
// <dir>/<size>x<size>/apps/{velmora,tiravo}.png in the hicolor layout.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "common/icons/glyphs.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icongen <directory>\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
    if (!QDir().mkpath(dir)) return 1;
    if (!glyphs::programImage(glyphs::Program::Velmora, size).save(dir + QStringLiteral("/velmora.png")) ||
        !glyphs::programImage(glyphs::Program::Tiravo, size).save(dir + QStringLiteral("/tiravo.png")))
      return 1;
  }
  return 0;
}
