#include <memory>

#include "common/icons/glyphs.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/heap.h"
#include "velmora/app/mainform.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/app/splash.h"
#include "velmora/oa/yselectform.h"

int main(int argc, char** argv) {
  heap::keepFreed();
  GuardedApplication app(argc, argv);
  app.setWindowIcon(glyphs::programIcon(glyphs::Program::Velmora));
  try {
    auto splash = std::make_unique<velmora::TSplash>();
    splash->showAndWait();
    // The frame reads the settings, then the options dialog splits the option string it read.
    auto frame = std::make_unique<velmora::TMainForm>();
    velmora::OptionsForm = new velmora::TOptionsForm(frame.get());
    velmora::YSelectForm = new velmora::TYSelectForm(frame.get());
    splash.reset();
    frame->greetFirstStart();
    frame->show();
    return app.exec();
  } catch (...) {
    dlg::message(nullptr, guard::currentMessage(), QStringLiteral("Ошибка"), dlg::Ok, dlg::Critical);
  }
  return 0;
}
