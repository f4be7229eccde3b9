#include <memory>

#include "common/icons/glyphs.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/heap.h"
#include "tiravo/forms/mainform.h"

int main(int argc, char** argv) {
  heap::keepFreed();
  GuardedApplication app(argc, argv);
  tiravo::TMainForm::setUpApplication();
  app.setWindowIcon(glyphs::programIcon(glyphs::Program::Tiravo));
  try {
    auto frame = std::make_unique<tiravo::TMainForm>();
    frame->createStartupWindows();
    frame->show();
    return app.exec();
  } catch (...) {
    dlg::message(nullptr, guard::currentMessage(), QStringLiteral("Ошибка"), dlg::Ok, dlg::Critical);
  }
  return 0;
}
