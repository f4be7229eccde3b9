// Feeds arbitrary bytes to the rich-text reader, then writes what it read and reads that
// again: the second reading must give the same text. Also loads the result into a
// QTextDocument the way the text window does.
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

#include "platform/rtf.h"

namespace {
QGuiApplication* g_app = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  g_app = new QGuiApplication(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const rtf::Document doc = rtf::read(bytes);
  const rtf::Document again = rtf::read(rtf::write(doc));
  if (again.plainText() != doc.plainText()) std::abort();
  QTextDocument td;
  rtf::toTextDocument(doc, &td);
  (void)rtf::fromTextDocument(td);
  return 0;
}
