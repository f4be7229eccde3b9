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
    auto* splash = new velmora::TSplash;
    splash->showAndWait();
    // The frame reads the settings, then the options dialog splits the option string it read.
    auto* frame = new velmora::TMainForm;
    velmora::OptionsForm = new velmora::TOptionsForm(frame);
    velmora::YSelectForm = new velmora::TYSelectForm(frame);
    delete splash;
    frame->greetFirstStart();
    frame->show();
    app.exec();
    delete frame;
  } catch (...) {
    dlg::message(nullptr, guard::currentMessage(), QStringLiteral("Ошибка"), dlg::Ok, dlg::Critical);
  }
  return 0;
}
